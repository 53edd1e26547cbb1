#include "report/ftp_client.h"

#include <algorithm>

namespace morvanta::report {
namespace {

using platform::IoStatus;
using platform::SocketError;

// Servers may announce a delay (120) or the start of a transfer (1xx) before the reply
// that ends a command; more of them than this is a server talking forever.
constexpr int kMaxPreliminaryReplies = 8;

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// The PORT argument: the address and port as six decimal bytes, "h1,h2,h3,h4,p1,p2".
std::string PortArgument(const platform::SocketAddress& at) {
  std::string text = at.ip;
  std::replace(text.begin(), text.end(), '.', ',');
  return text + "," + std::to_string(at.port >> 8) + "," + std::to_string(at.port & 0xFF);
}

// Marks a call as running for as long as it lives, so the message pump cannot start
// another operation on the same connection in the middle of it.
class BusyGuard {
 public:
  explicit BusyGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
  ~BusyGuard() {
    if (entered_) busy_ = false;
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool& busy_;
  bool entered_;
};

}  // namespace

FtpClient::FtpClient(platform::Sockets& sockets, common::MessagePump& pump, FtpObserver* observer,
                     FtpClientOptions options)
    : sockets_(sockets), pump_(pump), observer_(observer), options_(options) {
  options_.sliceMs = std::max<uint32_t>(1, options_.sliceMs);
}

FtpClient::~FtpClient() = default;

void FtpClient::Close() {
  control_.reset();
  reader_ = FtpReplyReader();
}

FtpResult FtpClient::Raise(FtpResult result, FtpEvent event) {
  if (observer_) observer_->OnFtpEvent(event);
  return result;
}

FtpStatus FtpClient::SendAll(platform::Connection& c, const std::string& bytes) {
  uint64_t deadline = sockets_.NowMs() + options_.timeoutMs;
  for (size_t sent = 0; sent < bytes.size();) {
    const uint64_t now = sockets_.NowMs();
    if (now >= deadline) return FtpStatus::Timeout;
    const auto slice = static_cast<uint32_t>(std::min<uint64_t>(options_.sliceMs, deadline - now));
    const auto r = c.Send(bytes.data() + sent, bytes.size() - sent, slice);
    if (r.status == IoStatus::Done) {
      sent += r.size;
      // The timeout is for a transfer that stands still, not for a long one.
      deadline = sockets_.NowMs() + options_.timeoutMs;
    } else if (r.status != IoStatus::Timeout) {
      return FtpStatus::NetworkError;
    }
    pump_.ProcessPendingMessages();
  }
  return FtpStatus::Ok;
}

FtpStatus FtpClient::ReadReply(FtpReply& reply) {
  const uint64_t deadline = sockets_.NowMs() + options_.timeoutMs;
  char buffer[4096];
  for (;;) {
    switch (reader_.Next(reply)) {
      case ReplyStatus::Reply: return FtpStatus::Ok;
      case ReplyStatus::Malformed: return FtpStatus::BadReply;
      case ReplyStatus::NeedMore: break;
    }
    const uint64_t now = sockets_.NowMs();
    if (now >= deadline) return FtpStatus::Timeout;
    const auto slice = static_cast<uint32_t>(std::min<uint64_t>(options_.sliceMs, deadline - now));
    const auto r = control_->Receive(buffer, sizeof buffer, slice);
    switch (r.status) {
      case IoStatus::Done: reader_.Feed(buffer, r.size); break;
      case IoStatus::Closed: return FtpStatus::Closed;
      case IoStatus::Error: return FtpStatus::NetworkError;
      case IoStatus::Timeout: break;
    }
    pump_.ProcessPendingMessages();
  }
}

FtpResult FtpClient::BrokenExchange(FtpStatus status) {
  // Whatever the server sends next on this connection can no longer be matched to a
  // command: the connection goes.
  Close();
  return {status, last_.code, last_.lines.empty() ? std::string() : last_.lines.back()};
}

FtpResult FtpClient::Command(const std::string& line, bool final) {
  if (!control_) return {FtpStatus::NotConnected};
  last_ = FtpReply();
  if (!line.empty()) {
    const FtpStatus sent = SendAll(*control_, line + "\r\n");
    if (sent != FtpStatus::Ok) return BrokenExchange(sent);
  }
  for (int i = 0;; ++i) {
    const FtpStatus read = ReadReply(last_);
    if (read != FtpStatus::Ok) return BrokenExchange(read);
    if (!final || last_.code >= 200) break;
    if (i == kMaxPreliminaryReplies) return BrokenExchange(FtpStatus::BadReply);
  }
  return {FtpStatus::Ok, last_.code, last_.lines.back()};
}

FtpResult FtpClient::Connect(const std::string& host, uint16_t port) {
  BusyGuard guard(busy_);
  if (!guard.Entered()) return {FtpStatus::Busy};
  Close();
  auto connected = sockets_.Connect(host, port, options_.timeoutMs,
                                    [this] { pump_.ProcessPendingMessages(); });
  switch (connected.error) {
    case SocketError::None: break;
    case SocketError::InvalidHost:
      return Raise({FtpStatus::InvalidHost}, FtpEvent::InvalidHost);
    case SocketError::ConnectionFailed:
      return Raise({FtpStatus::ConnectionFailed}, FtpEvent::ConnectionFailed);
    case SocketError::Timeout:
      return Raise({FtpStatus::Timeout}, FtpEvent::ConnectionFailed);
    case SocketError::Error:
      return Raise({FtpStatus::NetworkError}, FtpEvent::ConnectionFailed);
  }
  control_ = std::move(connected.connection);
  FtpResult greeting = Command("");
  if (!greeting.Ok()) return Raise(greeting, FtpEvent::Error);
  if (greeting.code > 400) {
    Close();
    greeting.status = FtpStatus::Refused;
    return Raise(greeting, FtpEvent::ConnectionFailed);
  }
  return greeting;
}

FtpResult FtpClient::Login(const std::string& user, const std::string& password) {
  BusyGuard guard(busy_);
  if (!guard.Entered()) return {FtpStatus::Busy};
  if (!control_) return Raise({FtpStatus::NotConnected}, FtpEvent::Error);
  if (HasLineBreak(user) || HasLineBreak(password)) {
    Close();
    return Raise({FtpStatus::BadArgument}, FtpEvent::Error);
  }
  const auto refused = [](const FtpResult& r) { return r.code > 400 && r.code < 600; };
  FtpResult reply = Command("USER " + user);
  if (reply.Ok() && !refused(reply) && reply.code == 331) reply = Command("PASS " + password);
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (refused(reply)) {
    Close();
    reply.status = FtpStatus::Refused;
    return Raise(reply, FtpEvent::ConnectionFailed);
  }
  if (reply.code / 100 != 2) {
    Close();
    reply.status = FtpStatus::LoginIncomplete;
    return Raise(reply, FtpEvent::AuthenticationFailed);
  }
  return reply;
}

FtpResult FtpClient::Allo(uint64_t size) {
  BusyGuard guard(busy_);
  if (!guard.Entered()) return {FtpStatus::Busy};
  if (!control_) return Raise({FtpStatus::NotConnected}, FtpEvent::Error);
  FtpResult reply = Command("ALLO " + std::to_string(size));
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (reply.code > 300 && reply.code < 600) {
    reply.status = FtpStatus::Refused;
    return Raise(reply, FtpEvent::Failure);
  }
  return reply;
}

FtpResult FtpClient::Store(const std::string& remoteName, const std::string& bytes) {
  BusyGuard guard(busy_);
  if (!guard.Entered()) return {FtpStatus::Busy};
  if (!control_) return Raise({FtpStatus::NotConnected}, FtpEvent::Error);
  if (remoteName.empty() || HasLineBreak(remoteName))
    return Raise({FtpStatus::BadArgument}, FtpEvent::Failure);
  const auto refused = [](FtpResult& r) {
    if (r.code <= 300 || r.code >= 600) return false;
    r.status = FtpStatus::Refused;
    return true;
  };

  // Binary: in the default ASCII type a server may rewrite the line ends of the file.
  FtpResult reply = Command("TYPE I");
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (refused(reply)) return Raise(reply, FtpEvent::Failure);

  const std::string serverIp = control_->PeerAddress().ip;
  auto listening = sockets_.Listen(control_->LocalAddress().ip);
  if (!listening.listener) return Raise({FtpStatus::NetworkError}, FtpEvent::Error);
  reply = Command("PORT " + PortArgument(listening.listener->LocalAddress()));
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (refused(reply)) return Raise(reply, FtpEvent::Failure);
  // The reply to STOR is the preliminary one (125 or 150) that the transfer may begin.
  reply = Command("STOR " + remoteName, false);
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (refused(reply)) return Raise(reply, FtpEvent::Failure);

  // Another host could reach our port first: only the server we talk to is accepted.
  std::unique_ptr<platform::Connection> data;
  const uint64_t deadline = sockets_.NowMs() + options_.timeoutMs;
  while (!data) {
    const uint64_t now = sockets_.NowMs();
    if (now >= deadline) return Raise(BrokenExchange(FtpStatus::Timeout), FtpEvent::Error);
    const auto slice = static_cast<uint32_t>(std::min<uint64_t>(options_.sliceMs, deadline - now));
    auto accepted = listening.listener->Accept(slice, serverIp);
    if (accepted.error == SocketError::None) {
      data = std::move(accepted.connection);
    } else if (accepted.error != SocketError::Timeout) {
      return Raise(BrokenExchange(FtpStatus::NetworkError), FtpEvent::Error);
    }
    pump_.ProcessPendingMessages();
  }
  listening.listener.reset();

  Raise({}, FtpEvent::TransactionStart);
  const FtpStatus sent = SendAll(*data, bytes);
  // Closing the data connection marks the end of the file.
  data.reset();
  if (sent != FtpStatus::Ok) return Raise(BrokenExchange(sent), FtpEvent::Error);
  reply = Command("");
  if (!reply.Ok()) return Raise(reply, FtpEvent::Error);
  if (reply.code >= 400) {
    reply.status = FtpStatus::Refused;
    return Raise(reply, FtpEvent::Failure);
  }
  return Raise(reply, FtpEvent::StoreSucceeded);
}

FtpResult FtpClient::Quit() {
  BusyGuard guard(busy_);
  if (!guard.Entered()) return {FtpStatus::Busy};
  if (!control_) return {FtpStatus::Ok};
  FtpResult reply = Command("QUIT");
  Close();
  // A server that closes without a word has quit as well.
  if (reply.status == FtpStatus::Closed) reply.status = FtpStatus::Ok;
  return reply;
}

}  // namespace morvanta::report
