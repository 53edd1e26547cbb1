// A scripted FTP server on the in-memory network, for the tests of the FTP client and of
// the log upload: it answers each command by its verb, connects back to the PORT address
// when STOR comes, and answers the end of the file on the control connection.
#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_sockets.h"

namespace morvanta::report::ftp_fixture {

using platform::fake::FakePeer;
using platform::fake::FakeServer;
using platform::fake::FakeSockets;

inline const std::string kHost = "logs.example.test";
inline const std::string kServerIp = "10.0.0.5";

// An FTP server that answers each command by its verb, connects back to the PORT address
// when STOR comes, and answers the end of the file on the control connection.
class ScriptedFtpServer : public FakeServer {
 public:
  explicit ScriptedFtpServer(FakeSockets& net) : net_(net), data_(*this) {}

  // Answers by verb; an empty answer is silence.
  std::string greeting = "220 Fake FTP ready.\r\n";
  std::map<std::string, std::string> answers = {
      {"USER", "331 Password required.\r\n"}, {"PASS", "230 Logged in.\r\n"},
      {"ALLO", "200 ALLO ok.\r\n"},           {"TYPE", "200 Binary.\r\n"},
      {"PORT", "200 PORT ok.\r\n"},
      {"STOR", "150 Opening data connection.\r\n"}, {"QUIT", "221 Bye.\r\n"}};
  std::string endOfFile = "226 Transfer complete.\r\n";
  bool closeAfterGreeting = false;
  bool connectBack = true;
  // A host that reaches the client's data port before the server does.
  std::optional<std::string> strangerIp;

  std::vector<std::string> commands;
  std::optional<FakePeer> dataPeer, strangerPeer;

  void OnConnect(FakePeer peer) override {
    control_ = peer;
    if (!greeting.empty()) peer.Send(greeting);
    if (closeAfterGreeting) peer.Close();
  }

  void OnReceive(FakePeer peer, const std::string& bytes) override {
    pending_ += bytes;
    for (size_t end; (end = pending_.find("\r\n")) != std::string::npos;) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 2);
      commands.push_back(line);
      const std::string verb = line.substr(0, line.find(' '));
      if (verb == "PORT") port_ = ParsePort(line.substr(5));
      const std::string answer = answers.count(verb) ? answers[verb] : "502 Not implemented.\r\n";
      if (!answer.empty()) peer.Send(answer);
      if (verb == "STOR" && answer[0] == '1' && port_) {
        if (strangerIp) strangerPeer = net_.ConnectTo(*port_, *strangerIp);
        if (connectBack) dataPeer = net_.ConnectTo(*port_, kServerIp, &data_);
      }
    }
  }

 private:
  struct DataSink : FakeServer {
    explicit DataSink(ScriptedFtpServer& server) : server(server) {}
    void OnClose(FakePeer) override {
      if (!server.endOfFile.empty()) server.control_->Send(server.endOfFile);
    }
    ScriptedFtpServer& server;
  };

  static std::optional<platform::SocketAddress> ParsePort(const std::string& argument) {
    int b[6];
    if (std::sscanf(argument.c_str(), "%d,%d,%d,%d,%d,%d", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) != 6)
      return std::nullopt;
    return platform::SocketAddress{std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                                       std::to_string(b[2]) + "." + std::to_string(b[3]),
                                   static_cast<uint16_t>(b[4] * 256 + b[5])};
  }

  FakeSockets& net_;
  DataSink data_;
  std::optional<FakePeer> control_;
  std::optional<platform::SocketAddress> port_;
  std::string pending_;
};

}  // namespace morvanta::report::ftp_fixture
