// The TCP connection over WinSock 1.1.
#pragma once
#include <winsock.h>

#include "NetSocket.h"

namespace halvin {

class WinSockSocket : public NetSocket {
 public:
  bool Startup() override;
  void Cleanup() override;
  bool Connect(uint32_t address, uint16_t port, uint32_t connectMs, uint32_t receiveMs) override;
  void Close() override;
  long Send(const uint8_t* bytes, size_t n) override;
  long Receive(uint8_t* buffer, size_t n) override;
  size_t Waiting() override;

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace halvin
