// Sockets on the loopback: on the real machine a listener and a connection in this process.
#include <string>

#include "contract_test.h"

namespace morvanta::testing {
namespace {

using platform::Connection;
using platform::IoStatus;
using platform::SocketError;

MORVANTA_CONTRACT_SUITE(SocketsContract);

// Generous upper bounds: the waits end as soon as the loopback delivers.
constexpr uint32_t kWaitMs = 10000;
const std::string kLoopback = "127.0.0.1";

// Sends everything, as often as the system takes only part of it.
bool SendAll(Connection& c, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const auto r = c.Send(bytes.data() + sent, bytes.size() - sent, kWaitMs);
    if (r.status != IoStatus::Done) return false;
    sent += r.size;
  }
  return true;
}

// Receives until `size` bytes came, or anything else than data; what came, and how it ended.
std::string ReceiveUpTo(Connection& c, size_t size, IoStatus* last = nullptr) {
  std::string bytes;
  char buffer[4096];
  IoStatus status = IoStatus::Done;
  while (bytes.size() < size) {
    const auto r = c.Receive(buffer, sizeof buffer, kWaitMs);
    status = r.status;
    if (status != IoStatus::Done) break;
    bytes.append(buffer, r.size);
  }
  if (last) *last = status;
  return bytes;
}

// A connection made through a listener of our own: both of its ends.
struct Pair {
  std::unique_ptr<Connection> client, server;
};

Pair Connected(platform::Sockets& sockets) {
  Pair pair;
  auto listening = sockets.Listen(kLoopback);
  EXPECT_EQ(listening.error, SocketError::None);
  if (!listening.listener) return pair;
  const auto at = listening.listener->LocalAddress();
  auto connected = sockets.Connect(kLoopback, at.port, kWaitMs);
  EXPECT_EQ(connected.error, SocketError::None);
  auto accepted = listening.listener->Accept(kWaitMs, kLoopback);
  EXPECT_EQ(accepted.error, SocketError::None);
  pair.client = std::move(connected.connection);
  pair.server = std::move(accepted.connection);
  return pair;
}

TEST_P(SocketsContract, ConnectionsExchangeBytesBothWaysAndKnowTheirAddresses) {
  auto& sockets = P().sockets;
  auto listening = sockets.Listen(kLoopback);
  ASSERT_EQ(listening.error, SocketError::None);
  const auto at = listening.listener->LocalAddress();
  EXPECT_EQ(at.ip, kLoopback);
  EXPECT_NE(at.port, 0);

  auto connected = sockets.Connect(kLoopback, at.port, kWaitMs);
  ASSERT_EQ(connected.error, SocketError::None);
  ASSERT_TRUE(connected.connection);
  auto accepted = listening.listener->Accept(kWaitMs, kLoopback);
  ASSERT_EQ(accepted.error, SocketError::None);
  auto& client = *connected.connection;
  auto& server = *accepted.connection;

  EXPECT_EQ(client.PeerAddress().ip, kLoopback);
  EXPECT_EQ(client.PeerAddress().port, at.port);
  EXPECT_EQ(client.LocalAddress().ip, kLoopback);
  EXPECT_EQ(server.PeerAddress().ip, client.LocalAddress().ip);
  EXPECT_EQ(server.PeerAddress().port, client.LocalAddress().port);
  EXPECT_EQ(server.LocalAddress().port, at.port);

  ASSERT_TRUE(SendAll(client, "USER tester\r\n"));
  EXPECT_EQ(ReceiveUpTo(server, 13), "USER tester\r\n");
  // More than a socket buffer holds: the sender sees partial sends.
  std::string big(3 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  std::string received;
  for (size_t sent = 0; sent < big.size() || received.size() < big.size();) {
    if (sent < big.size()) {
      const auto r = server.Send(big.data() + sent, big.size() - sent, 10);
      ASSERT_NE(r.status, IoStatus::Error);
      if (r.status == IoStatus::Done) sent += r.size;
    }
    char buffer[65536];
    const auto r = client.Receive(buffer, sizeof buffer, 10);
    ASSERT_TRUE(r.status == IoStatus::Done || r.status == IoStatus::Timeout);
    if (r.status == IoStatus::Done) received.append(buffer, r.size);
  }
  EXPECT_TRUE(received == big) << "received " << received.size() << " bytes, not the ones sent";
}

TEST_P(SocketsContract, WaitsWithNothingToDeliverTimeOut) {
  auto& sockets = P().sockets;
  auto listening = sockets.Listen(kLoopback);
  ASSERT_EQ(listening.error, SocketError::None);
  EXPECT_EQ(listening.listener->Accept(50, kLoopback).error, SocketError::Timeout);

  Pair pair = Connected(sockets);
  ASSERT_TRUE(pair.client && pair.server);
  char buffer[16];
  const uint64_t before = sockets.NowMs();
  EXPECT_EQ(pair.client->Receive(buffer, sizeof buffer, 50).status, IoStatus::Timeout);
  EXPECT_EQ(pair.server->Receive(buffer, sizeof buffer, 0).status, IoStatus::Timeout);
  EXPECT_GE(sockets.NowMs(), before);
}

TEST_P(SocketsContract, APeerThatClosesIsSeenClosedAfterItsLastBytes) {
  Pair pair = Connected(P().sockets);
  ASSERT_TRUE(pair.client && pair.server);
  ASSERT_TRUE(SendAll(*pair.server, "221 Goodbye.\r\n"));
  pair.server.reset();
  IoStatus last;
  EXPECT_EQ(ReceiveUpTo(*pair.client, 1000, &last), "221 Goodbye.\r\n");
  EXPECT_EQ(last, IoStatus::Closed);
  char buffer[16];
  EXPECT_EQ(pair.client->Receive(buffer, sizeof buffer, 50).status, IoStatus::Closed);
}

TEST_P(SocketsContract, AcceptServesOnlyTheRequiredPeer) {
  auto& sockets = P().sockets;
  auto listening = sockets.Listen(kLoopback);
  ASSERT_EQ(listening.error, SocketError::None);
  const uint16_t port = listening.listener->LocalAddress().port;

  auto stranger = sockets.Connect(kLoopback, port, kWaitMs);
  ASSERT_EQ(stranger.error, SocketError::None);
  // The connection comes from 127.0.0.1, which is not the peer waited for.
  EXPECT_EQ(listening.listener->Accept(300, "127.0.0.2").error, SocketError::Timeout);
  IoStatus last;
  EXPECT_EQ(ReceiveUpTo(*stranger.connection, 1, &last), "");
  EXPECT_TRUE(last == IoStatus::Closed || last == IoStatus::Error);

  auto expected = sockets.Connect(kLoopback, port, kWaitMs);
  ASSERT_EQ(expected.error, SocketError::None);
  auto accepted = listening.listener->Accept(kWaitMs, kLoopback);
  ASSERT_EQ(accepted.error, SocketError::None);
  EXPECT_EQ(accepted.connection->PeerAddress().port, expected.connection->LocalAddress().port);
}

TEST_P(SocketsContract, ConnectAndListenFailByKind) {
  auto& sockets = P().sockets;
  uint16_t freed = 0;
  {
    auto listening = sockets.Listen(kLoopback);
    ASSERT_EQ(listening.error, SocketError::None);
    freed = listening.listener->LocalAddress().port;
  }
  const struct {
    const char* host;
    uint16_t port;
    SocketError error;
  } connects[] = {
      {"127.0.0.1", freed, SocketError::ConnectionFailed},
      {"no-such-host.invalid", 21, SocketError::InvalidHost},
      {"", 21, SocketError::InvalidHost},
  };
  for (const auto& c : connects) {
    auto connected = sockets.Connect(c.host, c.port, kWaitMs);
    EXPECT_EQ(connected.error, c.error) << c.host << ":" << c.port;
    EXPECT_FALSE(connected.connection) << c.host;
  }
  for (const char* ip : {"not an address", "203.0.113.9"}) {
    auto listening = sockets.Listen(ip);
    EXPECT_EQ(listening.error, SocketError::Error) << ip;
    EXPECT_FALSE(listening.listener) << ip;
  }
}

}  // namespace
}  // namespace morvanta::testing
