// The FTP client against a scripted server on the in-memory network: every answer a server
// may give at each step of the exchange, hostile ones among them.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "platform/fake/fake_sockets.h"
#include "report/ftp_client.h"
#include "scripted_ftp_server.h"

namespace morvanta::report {
namespace {

using platform::fake::FakePeer;
using platform::fake::FakeServer;
using platform::fake::FakeSockets;
using ftp_fixture::kHost;
using ftp_fixture::kServerIp;
using ftp_fixture::ScriptedFtpServer;

const std::string kLog = "process list\r\n!Infected bad.exe=;c:\\;trojan;d41d8;0;\r\n";

class RecordingObserver : public FtpObserver {
 public:
  void OnFtpEvent(FtpEvent event) override { events.push_back(event); }
  std::vector<FtpEvent> events;
};

enum class Step { Connect, Login, Allo, Store, None };

struct Outcome {
  Step failedAt = Step::None;
  FtpResult result;
  bool connectedAfter = false;
};

// The upload's exchange: connect, log in, ALLO, STOR, QUIT; up to the first failure.
Outcome Upload(FtpClient& client, const std::string& host = kHost) {
  Outcome o;
  const auto failed = [&](Step step, FtpResult r) {
    o.failedAt = step;
    o.result = r;
    o.connectedAfter = client.IsConnected();
    client.Quit();
    return o;
  };
  FtpResult r = client.Connect(host, 21);
  if (!r.Ok()) return failed(Step::Connect, r);
  if (!(r = client.Login("logs@morvanta.test", "p4ss")).Ok()) return failed(Step::Login, r);
  if (!(r = client.Allo(kLog.size())).Ok()) return failed(Step::Allo, r);
  if (!(r = client.Store("tester4711.txt", kLog)).Ok()) return failed(Step::Store, r);
  o.result = r;
  o.connectedAfter = client.IsConnected();
  client.Quit();
  return o;
}

struct Network {
  Network() {
    net.AddHost(kHost, kServerIp);
    net.Serve({kServerIp, 21}, server);
  }
  FakeSockets net;
  ScriptedFtpServer server{net};
  common::CountingPump pump;
  RecordingObserver observer;
  // The default timeouts: the virtual clock makes them pass at once.
  FtpClient client{net, pump, &observer};
};

TEST(FtpClient, StoresTheBytesThroughTheWholeExchange) {
  Network n;
  const Outcome o = Upload(n.client);
  EXPECT_EQ(o.failedAt, Step::None);
  EXPECT_EQ(o.result.code, 226);
  EXPECT_TRUE(o.connectedAfter);
  EXPECT_FALSE(n.client.IsConnected());
  EXPECT_EQ(n.observer.events, (std::vector<FtpEvent>{FtpEvent::TransactionStart, FtpEvent::StoreSucceeded}));
  ASSERT_EQ(n.server.commands.size(), 7u);
  EXPECT_EQ(n.server.commands[0], "USER logs@morvanta.test");
  EXPECT_EQ(n.server.commands[1], "PASS p4ss");
  EXPECT_EQ(n.server.commands[2], "ALLO " + std::to_string(kLog.size()));
  // The control connection's own address, and the port the client listens on.
  EXPECT_EQ(n.server.commands[3], "TYPE I");
  EXPECT_EQ(n.server.commands[4].rfind("PORT 192,168,1,10,", 0), 0u) << n.server.commands[4];
  EXPECT_EQ(n.server.commands[5], "STOR tester4711.txt");
  EXPECT_EQ(n.server.commands[6], "QUIT");
  ASSERT_TRUE(n.server.dataPeer);
  EXPECT_EQ(n.server.dataPeer->Received(), kLog);
  EXPECT_TRUE(n.server.dataPeer->OtherClosed());
  const auto at = n.server.dataPeer->PeerAddress();
  EXPECT_EQ(at.ip, "192.168.1.10");
  EXPECT_EQ(n.server.commands[4], "PORT 192,168,1,10," + std::to_string(at.port >> 8) + "," +
                                      std::to_string(at.port & 0xFF));
}

TEST(FtpClient, EndsEachStepByTheServersAnswer) {
  using E = FtpEvent;
  using S = FtpStatus;
  std::string endless = "230-Welcome\r\n";
  for (int i = 0; i < 2000; ++i) endless += " and more\r\n";
  const struct Case {
    const char* name;
    std::map<std::string, std::string> answers;  // by verb; "greeting", "eof" too
    Step failedAt;
    FtpStatus status;
    int code;
    std::vector<FtpEvent> events;
    bool connectedAfter;
  } cases[] = {
      {"multi-line greeting and login", {{"greeting", "220-Welcome\r\n to the logs\r\n220 Ready.\r\n"},
        {"PASS", "230-Hello\r\n230-again\r\n230 In.\r\n"}},
       Step::None, S::Ok, 226, {E::TransactionStart, E::StoreSucceeded}, true},
      {"announced delay", {{"greeting", "120 In a minute.\r\n220 Ready.\r\n"}},
       Step::None, S::Ok, 226, {E::TransactionStart, E::StoreSucceeded}, true},
      {"no password wanted", {{"USER", "230 In.\r\n"}, {"PASS", "503 No.\r\n"}},
       Step::None, S::Ok, 226, {E::TransactionStart, E::StoreSucceeded}, true},
      {"ALLO not needed", {{"ALLO", "202 Superfluous.\r\n"}},
       Step::None, S::Ok, 226, {E::TransactionStart, E::StoreSucceeded}, true},
      {"greeting refused", {{"greeting", "421 Too many users.\r\n"}},
       Step::Connect, S::Refused, 421, {E::ConnectionFailed}, false},
      {"USER refused", {{"USER", "530 No such user.\r\n"}},
       Step::Login, S::Refused, 530, {E::ConnectionFailed}, false},
      {"PASS refused", {{"PASS", "530 Login incorrect.\r\n"}},
       Step::Login, S::Refused, 530, {E::ConnectionFailed}, false},
      {"account wanted", {{"PASS", "332 Need account.\r\n"}},
       Step::Login, S::LoginIncomplete, 332, {E::AuthenticationFailed}, false},
      {"ALLO refused", {{"ALLO", "504 Not for this size.\r\n"}},
       Step::Allo, S::Refused, 504, {E::Failure}, true},
      {"TYPE refused", {{"TYPE", "504 No binary here.\r\n"}},
       Step::Store, S::Refused, 504, {E::Failure}, true},
      {"PORT refused", {{"PORT", "500 Illegal PORT.\r\n"}},
       Step::Store, S::Refused, 500, {E::Failure}, true},
      {"STOR refused", {{"STOR", "553 Not allowed.\r\n"}},
       Step::Store, S::Refused, 553, {E::Failure}, true},
      {"file refused at the end", {{"eof", "451 Local error.\r\n"}},
       Step::Store, S::Refused, 451, {E::TransactionStart, E::Failure}, true},
      {"silent after USER", {{"USER", ""}},
       Step::Login, S::Timeout, 0, {E::Error}, false},
      {"silent greeting", {{"greeting", ""}},
       Step::Connect, S::Timeout, 0, {E::Error}, false},
      {"silent after the file", {{"eof", ""}},
       Step::Store, S::Timeout, 0, {E::TransactionStart, E::Error}, false},
      {"overlong greeting line", {{"greeting", "220 " + std::string(5000, 'x') + "\r\n"}},
       Step::Connect, S::BadReply, 0, {E::Error}, false},
      {"greeting without a code", {{"greeting", "Hello there\r\n"}},
       Step::Connect, S::BadReply, 0, {E::Error}, false},
      {"endless multi-line reply", {{"PASS", endless}},
       Step::Login, S::BadReply, 0, {E::Error}, false},
      {"endless preliminary replies", {{"greeting", [] {
         std::string s;
         for (int i = 0; i < 50; ++i) s += "120 Soon.\r\n";
         return s;
       }()}},
       Step::Connect, S::BadReply, 120, {E::Error}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Network n;
    for (const auto& [verb, answer] : c.answers) {
      if (verb == "greeting") n.server.greeting = answer;
      else if (verb == "eof") n.server.endOfFile = answer;
      else n.server.answers[verb] = answer;
    }
    const Outcome o = Upload(n.client);
    EXPECT_EQ(o.failedAt, c.failedAt);
    EXPECT_EQ(o.result.status, c.status);
    EXPECT_EQ(o.result.code, c.code);
    EXPECT_EQ(n.observer.events, c.events);
    EXPECT_EQ(o.connectedAfter, c.connectedAfter);
    EXPECT_FALSE(n.client.IsConnected());
    if (c.status == S::Timeout) {
      EXPECT_GE(n.pump.calls, 100u) << "the window waited unpumped";
    }
  }
}

TEST(FtpClient, ReportsWhyTheServerCannotBeReached) {
  const struct Case {
    const char* name;
    std::string host;
    FtpStatus status;
    FtpEvent event;
  } cases[] = {
      {"unknown name", "nowhere.example.test", FtpStatus::InvalidHost, FtpEvent::InvalidHost},
      {"nobody at the port", "10.0.0.6", FtpStatus::ConnectionFailed, FtpEvent::ConnectionFailed},
      {"no answer", "10.0.0.7", FtpStatus::Timeout, FtpEvent::ConnectionFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Network n;
    n.net.Drop({"10.0.0.7", 21});
    const Outcome o = Upload(n.client, c.host);
    EXPECT_EQ(o.failedAt, Step::Connect);
    EXPECT_EQ(o.result.status, c.status);
    EXPECT_EQ(n.observer.events, std::vector<FtpEvent>{c.event});
  }
}

TEST(FtpClient, TakesTheDataConnectionOnlyFromTheServer) {
  {
    Network n;
    n.server.strangerIp = "10.9.9.9";
    const Outcome o = Upload(n.client);
    EXPECT_EQ(o.failedAt, Step::None);
    ASSERT_TRUE(n.server.strangerPeer && n.server.dataPeer);
    EXPECT_EQ(n.server.strangerPeer->Received(), "");
    EXPECT_TRUE(n.server.strangerPeer->OtherClosed());
    EXPECT_EQ(n.server.dataPeer->Received(), kLog);
  }
  {
    Network n;
    n.server.strangerIp = "10.9.9.9";
    n.server.connectBack = false;
    const Outcome o = Upload(n.client);
    EXPECT_EQ(o.failedAt, Step::Store);
    EXPECT_EQ(o.result.status, FtpStatus::Timeout);
    EXPECT_EQ(n.server.strangerPeer->Received(), "");
    EXPECT_EQ(n.observer.events, std::vector<FtpEvent>{FtpEvent::Error});
    EXPECT_GE(n.pump.calls, 100u);
  }
}

TEST(FtpClient, ServerClosingAfterTheGreetingEndsTheLogin) {
  Network n;
  n.server.closeAfterGreeting = true;
  const Outcome o = Upload(n.client);
  EXPECT_EQ(o.failedAt, Step::Login);
  EXPECT_TRUE(o.result.status == FtpStatus::Closed || o.result.status == FtpStatus::NetworkError);
  EXPECT_EQ(n.observer.events, std::vector<FtpEvent>{FtpEvent::Error});
  EXPECT_FALSE(o.connectedAfter);
}

TEST(FtpClient, RefusesCommandsThatWouldBreakTheLine) {
  Network n;
  ASSERT_TRUE(n.client.Connect(kHost, 21).Ok());
  ASSERT_TRUE(n.client.Login("user", "pass").Ok());
  EXPECT_EQ(n.client.Store("a\r\nDELE x", kLog).status, FtpStatus::BadArgument);
  EXPECT_EQ(n.client.Store("", kLog).status, FtpStatus::BadArgument);
  EXPECT_TRUE(n.client.IsConnected());
  EXPECT_EQ(n.client.Login("user\r\nDELE x", "pass").status, FtpStatus::BadArgument);
  EXPECT_EQ(n.server.commands, (std::vector<std::string>{"USER user", "PASS pass"}));
}

TEST(FtpClient, CallsFromThePumpDuringAnOperationAreTurnedAway) {
  Network n;
  n.server.greeting = "";
  std::vector<FtpStatus> nested;
  n.pump.onPump = [&](size_t call) {
    if (call == 1) nested.push_back(n.client.Allo(1).status);
  };
  EXPECT_EQ(n.client.Connect(kHost, 21).status, FtpStatus::Timeout);
  EXPECT_EQ(nested, std::vector<FtpStatus>{FtpStatus::Busy});
}

TEST(FtpClient, WithoutAConnectionNothingIsSent) {
  Network n;
  EXPECT_EQ(n.client.Login("u", "p").status, FtpStatus::NotConnected);
  EXPECT_EQ(n.client.Allo(5).status, FtpStatus::NotConnected);
  EXPECT_EQ(n.client.Store("x.txt", "x").status, FtpStatus::NotConnected);
  EXPECT_TRUE(n.client.Quit().Ok());
  EXPECT_TRUE(n.server.commands.empty());
}

}  // namespace
}  // namespace morvanta::report
