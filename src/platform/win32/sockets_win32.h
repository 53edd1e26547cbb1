// TCP over IPv4 through Winsock 2, with select() for every wait.
#pragma once

#include "platform/sockets.h"

namespace morvanta::platform::win32 {

class Win32Sockets : public Sockets {
 public:
  // Starts Winsock for this object's lifetime (the system counts the starts).
  Win32Sockets();
  ~Win32Sockets() override;
  Win32Sockets(const Win32Sockets&) = delete;
  Win32Sockets& operator=(const Win32Sockets&) = delete;

  ConnectResult Connect(const std::string& host, uint16_t port, uint32_t timeoutMs,
                        const WaitHook& between = {}) override;
  ListenResult Listen(const std::string& localIp) override;
  uint64_t NowMs() override;

 private:
  bool started_ = false;
};

}  // namespace morvanta::platform::win32
