#include "SimClient.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace sim {

namespace {
#ifdef _WIN32
struct WinsockUp {
  WinsockUp() {
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
  }
  ~WinsockUp() { WSACleanup(); }
};
void CloseSocket(uintptr_t s) { closesocket(static_cast<SOCKET>(s)); }
#else
void CloseSocket(int s) { close(s); }
#endif
}  // namespace

SimClient::~SimClient() {
  if (fd_ != kNoSocket) CloseSocket(fd_);
}

bool SimClient::Connect(uint16_t port, const char* variable) {
#ifdef _WIN32
  static WinsockUp winsock;
#endif
  if (port == 0) {
    const char* v = std::getenv(variable);
    if (!v) return false;
    port = static_cast<uint16_t>(std::atoi(v));
  }
  const Socket s = static_cast<Socket>(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (s == kNoSocket) return false;
  sockaddr_in a;
  std::memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    CloseSocket(s);
    return false;
  }
  int one = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  fd_ = s;
  return true;
}

bool SimClient::ReadLine(std::string* line) {
  for (;;) {
    const size_t eol = pending_.find('\n');
    if (eol != std::string::npos) {
      *line = pending_.substr(0, eol);
      pending_.erase(0, eol + 1);
      return true;
    }
    char buf[4096];
    const int n = static_cast<int>(recv(fd_, buf, sizeof buf, 0));
    if (n <= 0) return false;
    pending_.append(buf, static_cast<size_t>(n));
  }
}

std::vector<std::string> SimClient::Command(const std::string& line) {
  std::vector<std::string> lines;
  const std::string msg = line + "\n";
  if (fd_ == kNoSocket ||
      send(fd_, msg.data(), static_cast<int>(msg.size()), 0) != static_cast<int>(msg.size())) {
    lines.push_back("err no connection");
    return lines;
  }
  std::string l;
  while (ReadLine(&l)) {
    lines.push_back(l);
    if (l == "ok" || l.compare(0, 3, "ok ") == 0 || l.compare(0, 4, "err ") == 0) return lines;
  }
  lines.push_back("err no connection");
  return lines;
}

bool SimClient::Ok(const std::string& line) {
  const std::string last = Command(line).back();
  return last == "ok" || last.compare(0, 3, "ok ") == 0;
}

std::string SimClient::Value(const std::string& line) {
  const std::string last = Command(line).back();
  return last.compare(0, 3, "ok ") == 0 ? last.substr(3) : std::string();
}

std::vector<std::string> SimClient::Log() {
  std::vector<std::string> lines = Command("log");
  lines.pop_back();
  return lines;
}

int SimComFromEnvironment(const char* variable) {
  const char* v = std::getenv(variable);
  return v ? std::atoi(v) : 0;
}

}  // namespace sim
