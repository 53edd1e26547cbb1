#include "platform/fake/fake_sockets.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace morvanta::platform::fake {

// Both directions of one connection. Side 0 is the end that connected, side 1 the end that
// accepted; `toSide[i]` holds what the other end sent to side i.
struct FakeLink {
  struct Direction {
    std::string bytes;
    size_t read = 0;
  };
  Direction toSide[2];
  bool open[2] = {true, true};
  SocketAddress address[2];
  FakeServer* server[2] = {nullptr, nullptr};
  std::shared_ptr<uint64_t> clock;

  // Side `from` sends; the other end's server, if any, hears of it.
  bool Send(int from, const std::string& bytes) {
    const int to = 1 - from;
    if (!open[from] || !open[to]) return false;
    toSide[to].bytes += bytes;
    if (server[to]) server[to]->OnReceive(FakePeer(Self(), to), bytes);
    return true;
  }
  void Close(int side) {
    if (!open[side]) return;
    open[side] = false;
    const int other = 1 - side;
    if (server[other] && open[other]) server[other]->OnClose(FakePeer(Self(), other));
  }
  std::shared_ptr<FakeLink> Self() { return self.lock(); }
  std::weak_ptr<FakeLink> self;
};

struct FakeListenerState {
  SocketAddress address;
  std::deque<std::shared_ptr<FakeLink>> pending;
  bool open = true;
};

namespace {

std::shared_ptr<FakeLink> MakeLink(const std::shared_ptr<uint64_t>& clock, SocketAddress from,
                                   SocketAddress to) {
  auto link = std::make_shared<FakeLink>();
  link->self = link;
  link->clock = clock;
  link->address[0] = std::move(from);
  link->address[1] = std::move(to);
  return link;
}

class FakeConnection : public Connection {
 public:
  FakeConnection(std::shared_ptr<FakeLink> link, int side) : link_(std::move(link)), side_(side) {}
  ~FakeConnection() override { link_->Close(side_); }

  IoResult Send(const char* data, size_t size, uint32_t) override {
    if (size == 0) return {IoStatus::Done, 0};
    if (!link_->Send(side_, std::string(data, size))) return {IoStatus::Error, 0};
    return {IoStatus::Done, size};
  }

  IoResult Receive(char* buffer, size_t capacity, uint32_t timeoutMs) override {
    auto& in = link_->toSide[side_];
    if (in.read < in.bytes.size()) {
      const size_t n = std::min(capacity, in.bytes.size() - in.read);
      std::memcpy(buffer, in.bytes.data() + in.read, n);
      in.read += n;
      return {IoStatus::Done, n};
    }
    if (!link_->open[side_]) return {IoStatus::Error, 0};
    if (!link_->open[1 - side_]) return {IoStatus::Closed, 0};
    *link_->clock += timeoutMs;
    return {IoStatus::Timeout, 0};
  }

  SocketAddress LocalAddress() const override { return link_->address[side_]; }
  SocketAddress PeerAddress() const override { return link_->address[1 - side_]; }

 private:
  std::shared_ptr<FakeLink> link_;
  int side_;
};

class FakeListener : public Listener {
 public:
  FakeListener(std::shared_ptr<FakeListenerState> state, std::shared_ptr<uint64_t> clock)
      : state_(std::move(state)), clock_(std::move(clock)) {}
  ~FakeListener() override {
    state_->open = false;
    for (auto& link : state_->pending) link->Close(1);
    state_->pending.clear();
  }

  SocketAddress LocalAddress() const override { return state_->address; }

  ConnectResult Accept(uint32_t timeoutMs, const std::string& requiredPeerIp) override {
    while (!state_->pending.empty()) {
      auto link = state_->pending.front();
      state_->pending.pop_front();
      if (link->address[0].ip == requiredPeerIp)
        return {std::make_unique<FakeConnection>(link, 1), SocketError::None};
      link->Close(1);
    }
    *clock_ += timeoutMs;
    return {nullptr, SocketError::Timeout};
  }

 private:
  std::shared_ptr<FakeListenerState> state_;
  std::shared_ptr<uint64_t> clock_;
};

bool IsDottedAddress(const std::string& text) {
  int parts = 0;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t end = std::min(text.find('.', at), text.size());
    const std::string part = text.substr(at, end - at);
    if (part.empty() || part.size() > 3 ||
        part.find_first_not_of("0123456789") != std::string::npos || std::stoi(part) > 255)
      return false;
    ++parts;
    at = end + 1;
  }
  return parts == 4;
}

}  // namespace

void FakePeer::Send(const std::string& bytes) { link_->Send(side_, bytes); }
void FakePeer::Close() { link_->Close(side_); }
const std::string& FakePeer::Received() const { return link_->toSide[side_].bytes; }
bool FakePeer::OtherClosed() const { return !link_->open[1 - side_]; }
SocketAddress FakePeer::LocalAddress() const { return link_->address[side_]; }
SocketAddress FakePeer::PeerAddress() const { return link_->address[1 - side_]; }

FakeSockets::FakeSockets() : clock_(std::make_shared<uint64_t>(1000)) {}
FakeSockets::~FakeSockets() = default;

std::optional<std::string> FakeSockets::Resolve(const std::string& host) const {
  if (IsDottedAddress(host)) return host;
  if (host == "localhost") return std::string("127.0.0.1");
  const auto known = hosts_.find(host);
  if (known != hosts_.end()) return known->second;
  return std::nullopt;
}

std::string FakeSockets::LocalIpFor(const std::string& peerIp) const {
  return peerIp.rfind("127.", 0) == 0 ? "127.0.0.1" : localIp_;
}

std::shared_ptr<FakeListenerState> FakeSockets::ListenerAt(const SocketAddress& to) {
  const auto found = listeners_.find(to.port);
  if (found == listeners_.end()) return nullptr;
  auto state = found->second.lock();
  if (!state || !state->open) return nullptr;
  const std::string& ip = state->address.ip;
  if (ip != to.ip && ip != "0.0.0.0") return nullptr;
  return state;
}

ConnectResult FakeSockets::Connect(const std::string& host, uint16_t port, uint32_t timeoutMs,
                                   const WaitHook& between) {
  const auto ip = Resolve(host);
  if (!ip) return {nullptr, SocketError::InvalidHost};
  const Endpoint at{*ip, port};
  const SocketAddress local{LocalIpFor(*ip), nextPort_++};
  if (dropped_.count(at)) {
    if (between) between();
    *clock_ += timeoutMs;
    return {nullptr, SocketError::Timeout};
  }
  const auto served = servers_.find(at);
  if (served != servers_.end()) {
    auto link = MakeLink(clock_, local, {*ip, port});
    link->server[1] = served->second;
    served->second->OnConnect(FakePeer(link, 1));
    return {std::make_unique<FakeConnection>(link, 0), SocketError::None};
  }
  if (auto listener = ListenerAt({*ip, port})) {
    auto link = MakeLink(clock_, local, {*ip, port});
    listener->pending.push_back(link);
    return {std::make_unique<FakeConnection>(link, 0), SocketError::None};
  }
  return {nullptr, SocketError::ConnectionFailed};
}

ListenResult FakeSockets::Listen(const std::string& localIp) {
  const bool local = localIp == localIp_ || localIp == "0.0.0.0" ||
                     (localIp.rfind("127.", 0) == 0 && IsDottedAddress(localIp));
  if (!local) return {nullptr, SocketError::Error};
  auto state = std::make_shared<FakeListenerState>();
  state->address = {localIp, nextPort_++};
  listeners_[state->address.port] = state;
  return {std::make_unique<FakeListener>(state, clock_), SocketError::None};
}

void FakeSockets::Serve(const SocketAddress& at, FakeServer& server) {
  servers_[{at.ip, at.port}] = &server;
}

void FakeSockets::Drop(const SocketAddress& at) { dropped_.insert({at.ip, at.port}); }

std::optional<FakePeer> FakeSockets::ConnectTo(const SocketAddress& to, const std::string& fromIp,
                                               FakeServer* server) {
  auto listener = ListenerAt(to);
  if (!listener) return std::nullopt;
  auto link = MakeLink(clock_, {fromIp, nextPort_++}, to);
  link->server[0] = server;
  listener->pending.push_back(link);
  return FakePeer(link, 0);
}

}  // namespace morvanta::platform::fake
