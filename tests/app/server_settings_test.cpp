#include <gtest/gtest.h>

#include "app/server_settings.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

TEST(ServerSettings, DefaultsWithoutAFile) {
  platform::fake::FakePlatform machine;
  const ServerSettings s = LoadServerSettings(machine.files, "C:\\Program\\");
  EXPECT_EQ(s.log.port, 21);
  EXPECT_EQ(s.update.port, 80);
  EXPECT_FALSE(s.log.host.empty());
  EXPECT_NE(s.log.account.find('@'), std::string::npos);  // an account in mail form
  EXPECT_FALSE(s.log.password);
  EXPECT_EQ(s.log.timeoutSeconds, 30u);
}

TEST(ServerSettings, TheFileOverridesWhatItNames) {
  platform::fake::FakePlatform machine;
  machine.files.PutFile("C:\\Program\\morvanta.ini",
                        "; pointed at the lab\r\n"
                        "[LogServer]\r\n"
                        "Host = 127.0.0.1\r\n"
                        "PORT=2121 ; the lab's port\r\n"
                        "Account=tester\r\n"
                        "Password= se;cret ;x\r\n"
                        "TimeoutSeconds=2\r\n"
                        "[updateserver]   ; where updates come from\n"
                        "host=10.0.0.5\n"
                        "port=8080\n");
  const ServerSettings s = LoadServerSettings(machine.files, "C:\\Program\\");
  EXPECT_EQ(s.log.host, "127.0.0.1");
  EXPECT_EQ(s.log.port, 2121);
  EXPECT_EQ(s.log.account, "tester");
  EXPECT_EQ(s.log.password, "se;cret ;x");
  EXPECT_EQ(s.log.timeoutSeconds, 2u);
  EXPECT_EQ(s.update.host, "10.0.0.5");
  EXPECT_EQ(s.update.port, 8080);
}

TEST(ServerSettings, LinesThatMakeNoSenseAreIgnored) {
  const ServerSettings defaults;
  const struct {
    const char* text;
  } cases[] = {
      {"Host=outside.example\r\n"},                // before any section
      {"[LogServer]\r\nPort=0\r\n"},              // no port 0
      {"[LogServer]\r\nPort=65536\r\n"},
      {"[LogServer]\r\nPort=21x\r\n"},
      {"[LogServer]\r\nPort=99999999999999999999\r\n"},
      {"[LogServer]\r\nHost=\r\n"},               // an empty host keeps the default
      {"[LogServer]\r\nTimeoutSeconds=0\r\n"},
      {"[LogServer]\r\nno equals sign\r\n"},
      {"[LogServer\r\nHost=unclosed.example\r\n"},  // a broken section header opens none
      {"[LogServer] x\r\nHost=trailing.example\r\n"},
      {"[Elsewhere]\r\nHost=other.example\r\n"},
      {"\0\xff[\r\n=\r\n[]\r\n"},
  };
  for (const auto& c : cases) {
    const ServerSettings s = ParseServerSettings(c.text);
    EXPECT_EQ(s.log.host, defaults.log.host) << c.text;
    EXPECT_EQ(s.log.port, defaults.log.port) << c.text;
    EXPECT_EQ(s.log.timeoutSeconds, defaults.log.timeoutSeconds) << c.text;
    EXPECT_EQ(s.update.host, defaults.update.host) << c.text;
  }
}

}  // namespace
}  // namespace morvanta::app
