// The TCP connection as the terminal link needs it. The DLL implements it
// over WinSock 1.1; the tests use a scripted fake.
#pragma once
#include <cstddef>
#include <cstdint>

namespace halvin {

class NetSocket {
 public:
  virtual ~NetSocket() = default;
  // Starts the socket library asking for version 1.1; false when that fails
  // or another version is reported (the library use is then ended already).
  virtual bool Startup() = 0;
  // Ends one library use begun by a successful Startup.
  virtual void Cleanup() = 0;
  // Creates an IPv4 stream socket and connects it to `address` (host byte
  // order) and `port` without blocking, waiting at most `connectMs` for the
  // connection. It counts only when the socket reports no error. Then the
  // socket is made blocking with a receive time-out of `receiveMs`. On any
  // failure the socket is closed and the result is false.
  virtual bool Connect(uint32_t address, uint16_t port, uint32_t connectMs,
                       uint32_t receiveMs) = 0;
  virtual void Close() = 0;
  // One send; the number of bytes sent, negative on failure.
  virtual long Send(const uint8_t* bytes, size_t n) = 0;
  // One receive (waits at most the receive time-out); the number of bytes
  // received, 0 when the peer closed, negative on failure or time-out.
  virtual long Receive(uint8_t* buffer, size_t n) = 0;
  // The number of received bytes waiting to be read now, without blocking
  // (0 when none, or when the socket cannot tell).
  virtual size_t Waiting() = 0;
};

}  // namespace halvin
