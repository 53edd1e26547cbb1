// The FTP client on Winsock against a real FTP server (pyftpdlib on 127.0.0.1, started by a
// CTest fixture): the file it stores is read back from the server's root folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "platform/win32/sockets_win32.h"
#include "report/ftp_client.h"

namespace morvanta::report {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

uint16_t ServerPort() {
  std::ifstream in(Environment("MORVANTA_FTP_PORT_FILE"));
  int port = 0;
  in >> port;
  return static_cast<uint16_t>(port);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RecordingObserver : public FtpObserver {
 public:
  void OnFtpEvent(FtpEvent event) override { events.push_back(event); }
  std::vector<FtpEvent> events;
};

class FtpServer : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = ServerPort();
    root_ = Environment("MORVANTA_FTP_ROOT");
    ASSERT_NE(port_, 0) << "the ftp fixture left no port";
    ASSERT_FALSE(root_.empty());
  }
  platform::win32::Win32Sockets sockets_;
  common::CountingPump pump_;
  RecordingObserver observer_;
  // Upper bounds only; the loopback answers at once (a refused password after pyftpdlib's
  // pause of a few seconds).
  FtpClient client_{sockets_, pump_, &observer_, FtpClientOptions{20000, 100}};
  uint16_t port_ = 0;
  std::string root_;
};

TEST_F(FtpServer, StoresExactlyTheBytesGivenUnderTheName) {
  std::string bytes = "Running processes\r\n!Infected bad.exe=;c:\\temp\\;trojan;abc;12;Ok;\r\n";
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i % 251);
  bytes += "\n\r\r\n";
  const std::string name = "tester" + std::to_string(sockets_.NowMs()) + ".txt";
  const std::string stored = root_ + "\\" + name;

  FtpResult r = client_.Connect("127.0.0.1", port_);
  ASSERT_TRUE(r.Ok()) << r.lastLine;
  EXPECT_EQ(r.code, 220);
  r = client_.Login("tester", "secret");
  ASSERT_TRUE(r.Ok()) << r.lastLine;
  EXPECT_EQ(r.code, 230);
  r = client_.Allo(bytes.size());
  ASSERT_TRUE(r.Ok()) << r.lastLine;
  r = client_.Store(name, bytes);
  ASSERT_TRUE(r.Ok()) << static_cast<int>(r.status) << " " << r.lastLine;
  EXPECT_EQ(r.code, 226);
  EXPECT_TRUE(client_.Quit().Ok());
  EXPECT_FALSE(client_.IsConnected());

  EXPECT_EQ(observer_.events, (std::vector<FtpEvent>{FtpEvent::TransactionStart, FtpEvent::StoreSucceeded}));
  const std::string onServer = ReadFile(stored);
  EXPECT_EQ(onServer.size(), bytes.size());
  EXPECT_TRUE(onServer == bytes) << "the stored file differs from the bytes sent";
  EXPECT_GT(pump_.calls, 0u);
  std::remove(stored.c_str());
}

TEST_F(FtpServer, AWrongPasswordEndsTheLogin) {
  ASSERT_TRUE(client_.Connect("127.0.0.1", port_).Ok());
  const FtpResult r = client_.Login("tester", "not the secret");
  EXPECT_EQ(r.status, FtpStatus::Refused);
  EXPECT_EQ(r.code, 530);
  EXPECT_FALSE(client_.IsConnected());
  EXPECT_EQ(observer_.events, std::vector<FtpEvent>{FtpEvent::ConnectionFailed});
}

TEST_F(FtpServer, NobodyAtAPortIsAFailedConnection) {
  uint16_t freed = 0;
  {
    auto listening = sockets_.Listen("127.0.0.1");
    ASSERT_TRUE(listening.listener);
    freed = listening.listener->LocalAddress().port;
  }
  EXPECT_EQ(client_.Connect("127.0.0.1", freed).status, FtpStatus::ConnectionFailed);
  EXPECT_EQ(observer_.events, std::vector<FtpEvent>{FtpEvent::ConnectionFailed});
}

}  // namespace
}  // namespace morvanta::report
