// An in-memory network: scripted servers at addresses, the program's own listeners, and a
// virtual clock. Nothing waits for real: a wait with nothing to deliver ends at once as a
// timeout and moves the clock on by its length.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/sockets.h"

namespace morvanta::platform::fake {

struct FakeLink;
struct FakeListenerState;

// One end of a connection as a scripted server holds it: a handle to share, copy and keep.
class FakePeer {
 public:
  FakePeer(std::shared_ptr<FakeLink> link, int side) : link_(std::move(link)), side_(side) {}
  // Queues bytes for the other end to receive.
  void Send(const std::string& bytes);
  // Closes this end: the other end reads what was queued, then sees the connection closed.
  void Close();
  // Everything the other end has sent to this one.
  const std::string& Received() const;
  // Whether the other end has closed.
  bool OtherClosed() const;
  SocketAddress LocalAddress() const;
  SocketAddress PeerAddress() const;

 private:
  std::shared_ptr<FakeLink> link_;
  int side_;
};

// A scripted server, called as the program acts on a connection to it (inside the program's
// own call, so an answer it queues is there for the program's next Receive).
class FakeServer {
 public:
  virtual ~FakeServer() = default;
  virtual void OnConnect(FakePeer /*peer*/) {}
  virtual void OnReceive(FakePeer /*peer*/, const std::string& /*bytes*/) {}
  // The program closed its end.
  virtual void OnClose(FakePeer /*peer*/) {}
};

class FakeSockets : public Sockets {
 public:
  FakeSockets();
  ~FakeSockets() override;

  ConnectResult Connect(const std::string& host, uint16_t port, uint32_t timeoutMs,
                        const WaitHook& between = {}) override;
  ListenResult Listen(const std::string& localIp) override;
  uint64_t NowMs() override { return *clock_; }

  // Test set-up. Dotted addresses and "localhost" resolve by themselves; other names only
  // once added. The machine's own address (for connections off the loopback) is
  // 192.168.1.10 unless set.
  void AddHost(const std::string& name, const std::string& ip) { hosts_[name] = ip; }
  void SetLocalIp(std::string ip) { localIp_ = std::move(ip); }
  const std::string& LocalIp() const { return localIp_; }
  // A server (kept by the caller, living as long as this network) accepts at `at`.
  void Serve(const SocketAddress& at, FakeServer& server);
  // Connections to `at` are never answered: Connect times out.
  void Drop(const SocketAddress& at);
  // A server connects from `fromIp` to a listener of the program; `server`, when given, is
  // told what the program does on the connection. Nothing when no listener is at `to`.
  std::optional<FakePeer> ConnectTo(const SocketAddress& to, const std::string& fromIp,
                                    FakeServer* server = nullptr);
  // Moves the virtual clock on.
  void Advance(uint64_t ms) { *clock_ += ms; }

 private:
  using Endpoint = std::pair<std::string, uint16_t>;
  std::optional<std::string> Resolve(const std::string& host) const;
  std::shared_ptr<FakeListenerState> ListenerAt(const SocketAddress& to);
  std::string LocalIpFor(const std::string& peerIp) const;

  // Shared with the connections and listeners, which may outlive this object.
  std::shared_ptr<uint64_t> clock_;
  std::string localIp_ = "192.168.1.10";
  std::map<std::string, std::string> hosts_;
  std::map<Endpoint, FakeServer*> servers_;
  std::set<Endpoint> dropped_;
  std::map<uint16_t, std::weak_ptr<FakeListenerState>> listeners_;
  uint16_t nextPort_ = 49152;
};

}  // namespace morvanta::platform::fake
