// TCP over IPv4: outgoing connections, and a listener for connections back to us (the FTP
// data connection in active mode). Every wait takes a timeout, so a caller can wait in short
// slices and let its window handle messages between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace morvanta::platform {

// An IPv4 endpoint: a dotted address ("127.0.0.1") and a port.
struct SocketAddress {
  std::string ip;
  uint16_t port = 0;
};

enum class SocketError {
  None,
  InvalidHost,       // the host name cannot be resolved
  ConnectionFailed,  // nobody accepts at the address, or the network refuses the way there
  Timeout,           // the wait ended before anything happened
  Error,             // any other failure of the system's sockets
};

enum class IoStatus {
  Done,     // `size` bytes were received or sent (at least one)
  Closed,   // receive: the peer closed its side and everything it sent has been read
  Timeout,  // nothing could be received or sent within the timeout
  Error,    // the connection failed (reset, or it is gone)
};

struct IoResult {
  IoStatus status = IoStatus::Error;
  size_t size = 0;
};

// One TCP connection; closed when destroyed.
class Connection {
 public:
  virtual ~Connection() = default;
  // Sends what the system takes of `data` within the timeout (maybe less than all of it).
  virtual IoResult Send(const char* data, size_t size, uint32_t timeoutMs) = 0;
  // Receives up to `capacity` bytes, waiting at most `timeoutMs` for the first.
  virtual IoResult Receive(char* buffer, size_t capacity, uint32_t timeoutMs) = 0;
  virtual SocketAddress LocalAddress() const = 0;
  virtual SocketAddress PeerAddress() const = 0;
};

struct ConnectResult {
  std::unique_ptr<Connection> connection;  // set exactly when `error` is None
  SocketError error = SocketError::Error;
};

// A socket listening on a free port; closed when destroyed.
class Listener {
 public:
  virtual ~Listener() = default;
  virtual SocketAddress LocalAddress() const = 0;
  // Waits at most `timeoutMs` for a connection from `requiredPeerIp`. Connections from other
  // addresses are closed at once and the wait goes on. Errors: Timeout, Error.
  virtual ConnectResult Accept(uint32_t timeoutMs, const std::string& requiredPeerIp) = 0;
};

struct ListenResult {
  std::unique_ptr<Listener> listener;  // set exactly when `error` is None
  SocketError error = SocketError::Error;
};

class Sockets {
 public:
  // Called between the short slices of a long wait.
  using WaitHook = std::function<void()>;

  virtual ~Sockets() = default;
  // Resolves `host` (a name or a dotted address) and connects, waiting at most `timeoutMs`
  // for the peer to accept, and calling `between` between slices of that wait. Name
  // resolution itself is one blocking call of the system. Errors: InvalidHost,
  // ConnectionFailed, Timeout, Error.
  virtual ConnectResult Connect(const std::string& host, uint16_t port, uint32_t timeoutMs,
                                const WaitHook& between = {}) = 0;
  // Listens on a free port of the local address `localIp`. Errors: Error.
  virtual ListenResult Listen(const std::string& localIp) = 0;
  // A monotonic clock in milliseconds that the waits above are measured by (the fake's
  // advances by the timeout of every wait that expires).
  virtual uint64_t NowMs() = 0;
};

}  // namespace morvanta::platform
