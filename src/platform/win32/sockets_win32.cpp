// Winsock 2 must come before windows.h, which would otherwise bring in the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/win32/sockets_win32.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/win32/handle.h"

namespace morvanta::platform::win32 {
namespace {

struct SocketDeleter {
  static SOCKET Invalid() noexcept { return INVALID_SOCKET; }
  static void Close(SOCKET s) noexcept { ::closesocket(s); }
};
using SocketHandle = UniqueHandle<SOCKET, SocketDeleter>;

struct AddressInfoDeleter {
  void operator()(addrinfo* info) const noexcept { ::freeaddrinfo(info); }
};

// The longest single select(): waits longer than this run in slices, with the caller's hook
// between them.
constexpr uint32_t kSliceMs = 100;

enum class Ready { Yes, Timeout, Failed };

// Waits until `s` is readable (or writable), at most `timeoutMs`.
Ready WaitFor(SOCKET s, bool write, uint32_t timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set failed;
  FD_ZERO(&failed);
  FD_SET(s, &failed);
  timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
  // The first argument is ignored by Winsock.
  const int n = ::select(0, write ? nullptr : &set, write ? &set : nullptr, &failed, &wait);
  if (n == SOCKET_ERROR) return Ready::Failed;
  if (n == 0) return Ready::Timeout;
  return FD_ISSET(s, &failed) ? Ready::Failed : Ready::Yes;
}

bool SetNonBlocking(SOCKET s) {
  u_long on = 1;
  return ::ioctlsocket(s, FIONBIO, &on) == 0;
}

SocketAddress AddressOf(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  in_addr ip = address.sin_addr;
  if (!::inet_ntop(AF_INET, &ip, text, sizeof text)) text[0] = '\0';
  return {text, ntohs(address.sin_port)};
}

SocketAddress NameOf(SOCKET s, bool peer) {
  sockaddr_in address{};
  int size = sizeof address;
  auto* name = reinterpret_cast<sockaddr*>(&address);
  const int r = peer ? ::getpeername(s, name, &size) : ::getsockname(s, name, &size);
  if (r != 0 || address.sin_family != AF_INET) return {};
  return AddressOf(address);
}

class Win32Connection : public Connection {
 public:
  explicit Win32Connection(SocketHandle s)
      : socket_(std::move(s)), local_(NameOf(socket_.Get(), false)),
        peer_(NameOf(socket_.Get(), true)) {}
  // Ends our direction with a FIN first, so the peer reads everything sent before the close.
  ~Win32Connection() override { ::shutdown(socket_.Get(), SD_SEND); }

  IoResult Send(const char* data, size_t size, uint32_t timeoutMs) override {
    if (size == 0) return {IoStatus::Done, 0};
    switch (WaitFor(socket_.Get(), true, timeoutMs)) {
      case Ready::Timeout: return {IoStatus::Timeout, 0};
      case Ready::Failed: return {IoStatus::Error, 0};
      case Ready::Yes: break;
    }
    const int n = ::send(socket_.Get(), data, static_cast<int>(std::min<size_t>(size, INT_MAX)), 0);
    if (n == SOCKET_ERROR) {
      return {::WSAGetLastError() == WSAEWOULDBLOCK ? IoStatus::Timeout : IoStatus::Error, 0};
    }
    return {IoStatus::Done, static_cast<size_t>(n)};
  }

  IoResult Receive(char* buffer, size_t capacity, uint32_t timeoutMs) override {
    if (capacity == 0) return {IoStatus::Done, 0};
    switch (WaitFor(socket_.Get(), false, timeoutMs)) {
      case Ready::Timeout: return {IoStatus::Timeout, 0};
      case Ready::Failed: return {IoStatus::Error, 0};
      case Ready::Yes: break;
    }
    const int n = ::recv(socket_.Get(), buffer, static_cast<int>(std::min<size_t>(capacity, INT_MAX)), 0);
    if (n == SOCKET_ERROR) {
      return {::WSAGetLastError() == WSAEWOULDBLOCK ? IoStatus::Timeout : IoStatus::Error, 0};
    }
    if (n == 0) return {IoStatus::Closed, 0};
    return {IoStatus::Done, static_cast<size_t>(n)};
  }

  SocketAddress LocalAddress() const override { return local_; }
  SocketAddress PeerAddress() const override { return peer_; }

 private:
  SocketHandle socket_;
  SocketAddress local_, peer_;
};

class Win32Listener : public Listener {
 public:
  explicit Win32Listener(SocketHandle s) : socket_(std::move(s)), local_(NameOf(socket_.Get(), false)) {}

  SocketAddress LocalAddress() const override { return local_; }

  ConnectResult Accept(uint32_t timeoutMs, const std::string& requiredPeerIp) override {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
      const ULONGLONG now = ::GetTickCount64();
      const uint32_t left = now >= deadline ? 0 : static_cast<uint32_t>(deadline - now);
      switch (WaitFor(socket_.Get(), false, left)) {
        case Ready::Timeout: return {nullptr, SocketError::Timeout};
        case Ready::Failed: return {nullptr, SocketError::Error};
        case Ready::Yes: break;
      }
      sockaddr_in address{};
      int size = sizeof address;
      SocketHandle accepted(::accept(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &size));
      if (!accepted) {
        const int error = ::WSAGetLastError();
        // The peer may have given up between select() and accept().
        if (error == WSAEWOULDBLOCK || error == WSAECONNRESET) continue;
        return {nullptr, SocketError::Error};
      }
      // Any other host could connect to the port first: only the expected one is served.
      if (AddressOf(address).ip != requiredPeerIp) continue;
      if (!SetNonBlocking(accepted.Get())) return {nullptr, SocketError::Error};
      return {std::make_unique<Win32Connection>(std::move(accepted)), SocketError::None};
    }
  }

 private:
  SocketHandle socket_;
  SocketAddress local_;
};

}  // namespace

Win32Sockets::Win32Sockets() {
  WSADATA data;
  started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Sockets::~Win32Sockets() {
  if (started_) ::WSACleanup();
}

uint64_t Win32Sockets::NowMs() { return ::GetTickCount64(); }

ConnectResult Win32Sockets::Connect(const std::string& host, uint16_t port, uint32_t timeoutMs,
                                    const WaitHook& between) {
  if (!started_) return {nullptr, SocketError::Error};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
    return {nullptr, SocketError::InvalidHost};
  const std::unique_ptr<addrinfo, AddressInfoDeleter> owned(found);
  sockaddr_in address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  address.sin_port = htons(port);

  SocketHandle s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!s || !SetNonBlocking(s.Get())) return {nullptr, SocketError::Error};
  if (::connect(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      return {nullptr, error == WSAENOBUFS || error == WSAEMFILE ? SocketError::Error
                                                                  : SocketError::ConnectionFailed};
    }
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
      const ULONGLONG now = ::GetTickCount64();
      const uint32_t left = now >= deadline ? 0 : static_cast<uint32_t>(deadline - now);
      const Ready ready = WaitFor(s.Get(), true, std::min(left, kSliceMs));
      if (ready == Ready::Yes) break;
      if (ready == Ready::Failed) return {nullptr, SocketError::ConnectionFailed};
      if (left <= kSliceMs) return {nullptr, SocketError::Timeout};
      if (between) between();
    }
    int pending = 0;
    int size = sizeof pending;
    if (::getsockopt(s.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &size) != 0 ||
        pending != 0)
      return {nullptr, SocketError::ConnectionFailed};
  }
  return {std::make_unique<Win32Connection>(std::move(s)), SocketError::None};
}

ListenResult Win32Sockets::Listen(const std::string& localIp) {
  if (!started_) return {nullptr, SocketError::Error};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  if (::inet_pton(AF_INET, localIp.c_str(), &address.sin_addr) != 1) return {nullptr, SocketError::Error};
  SocketHandle s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!s) return {nullptr, SocketError::Error};
  // No other program may bind the same port beside us and take our connections.
  BOOL exclusive = TRUE;
  ::setsockopt(s.Get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
  if (::bind(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(s.Get(), 4) != 0 || !SetNonBlocking(s.Get()))
    return {nullptr, SocketError::Error};
  return {std::make_unique<Win32Listener>(std::move(s)), SocketError::None};
}

}  // namespace morvanta::platform::win32
