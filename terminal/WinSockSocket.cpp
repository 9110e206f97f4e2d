#include "WinSockSocket.h"

namespace halvin {

bool WinSockSocket::Startup() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
  if (data.wVersion != MAKEWORD(1, 1)) {
    WSACleanup();
    return false;
  }
  return true;
}

void WinSockSocket::Cleanup() { WSACleanup(); }

bool WinSockSocket::Connect(uint32_t address, uint16_t port, uint32_t connectMs,
                            uint32_t receiveMs) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return false;
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(address);
  connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to);

  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_SET(s, &writable);
  FD_ZERO(&failed);
  FD_SET(s, &failed);
  timeval wait = {static_cast<long>(connectMs / 1000), static_cast<long>(connectMs % 1000) * 1000};
  bool connected = select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(s, &writable) &&
                   !FD_ISSET(s, &failed);
  if (connected) {
    // Writable is not enough: a refused connection can show as writable too.
    int error = 0;
    int size = sizeof error;
    connected = getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 &&
                error == 0;
  }
  if (connected) {
    u_long blocking = 0;
    const int timeout = static_cast<int>(receiveMs);
    connected = ioctlsocket(s, FIONBIO, &blocking) == 0 &&
                setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                           sizeof timeout) == 0;
  }
  if (!connected) {
    closesocket(s);
    return false;
  }
  socket_ = s;
  return true;
}

void WinSockSocket::Close() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

long WinSockSocket::Send(const uint8_t* bytes, size_t n) {
  return send(socket_, reinterpret_cast<const char*>(bytes), static_cast<int>(n), 0);
}

long WinSockSocket::Receive(uint8_t* buffer, size_t n) {
  return recv(socket_, reinterpret_cast<char*>(buffer), static_cast<int>(n), 0);
}

size_t WinSockSocket::Waiting() {
  u_long waiting = 0;
  if (ioctlsocket(socket_, FIONREAD, &waiting) != 0) return 0;
  return waiting;
}

}  // namespace halvin
