// The log upload on the real machine under Wine, against real servers on 127.0.0.1: pyftpdlib
// (with a user that may store, one that may not, one whose PORT is refused), a server that
// closes after its greeting and one that never answers. The program folder is the test's
// scratch folder, with a settings file that points the upload at the server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "machine.h"
#include "platform/text.h"
#include "runs/log_upload.h"

namespace morvanta::runs {
namespace {

using common::Msg;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Port(const char* server) {
  std::string text = ReadHostFile(Environment("MORVANTA_SERVER_STATE") + "\\" + server + ".port");
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

class LogUploadOnServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Environment("MORVANTA_SERVER_STATE").empty());
    ASSERT_FALSE(Port("ftp").empty()) << "the ftp fixture left no port";
    m_ = testing::Machine::Create(testing::MachineKind::Win32);
    session_ = std::make_unique<app::Session>(m_->Get(), m_->Scratch() + "\\");
    session_->logUploadWanted = true;
    session_->RunningObjects().Add("Proc c:\\windows\\explorer.exe[0a1b][100]");
    session_->ScanLog().Add("!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;Ok;");
  }
  void PointAt(const std::string& server, const std::string& user, const std::string& password) {
    ASSERT_TRUE(m_->Get().files.WriteAll(
        m_->ScratchPath("morvanta.ini"),
        "[LogServer]\r\nHost=127.0.0.1\r\nPort=" + Port(server.c_str()) + "\r\nAccount=" + user +
            "\r\nPassword=" + password + "\r\nTimeoutSeconds=3\r\n"));
  }
  LogUploadResult Run() { return UploadLog(*session_, {prompts_, status_, pump_}); }
  std::vector<Msg> Shown() const {
    std::vector<Msg> entries;
    for (const auto& p : prompts_.shown) entries.push_back(p.entry);
    return entries;
  }

  std::unique_ptr<testing::Machine> m_;
  std::unique_ptr<app::Session> session_;
  common::ScriptedPrompts prompts_;
  common::MemoryText status_;
  common::CountingPump pump_;
};

TEST_F(LogUploadOnServer, StoresExactlySendLogUnderTheLogonNameAndANumber) {
  PointAt("ftp", "tester", "secret");
  const LogUploadResult r = Run();
  ASSERT_TRUE(r.sent) << ::testing::PrintToString(prompts_.Texts());
  EXPECT_EQ(Shown(), std::vector<Msg>{Msg::LogSentMessage});
  EXPECT_EQ(status_.text, "Log sent...");
  EXPECT_FALSE(session_->logUploadWanted);

  // The name: the logon name, 0 to 9999, ".txt".
  const std::string user = m_->Get().system.UserName();
  ASSERT_TRUE(platform::StartsWith(r.remoteName, user));
  ASSERT_TRUE(platform::EndsWith(r.remoteName, ".txt"));
  const std::string number = r.remoteName.substr(user.size(), r.remoteName.size() - user.size() - 4);
  ASSERT_FALSE(number.empty());
  ASSERT_LE(number.size(), 4u);
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);

  const auto sendLog = m_->Get().files.ReadAll(m_->ScratchPath("SendLog.txt"));
  ASSERT_TRUE(sendLog);
  const std::string expected(sendLog->begin(), sendLog->end());
  EXPECT_EQ(expected,
            "!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;Ok;\r\n"
            "Proc c:\\windows\\explorer.exe[0a1b][100]\r\n");
  const std::string stored = Environment("MORVANTA_FTP_ROOT") + "\\" + r.remoteName;
  EXPECT_EQ(ReadHostFile(stored), expected);
  std::remove(stored.c_str());
  // The server heard the size before the file.
  const std::string commands = ReadHostFile(Environment("MORVANTA_SERVER_STATE") + "\\ftp.commands");
  EXPECT_NE(commands.find("ALLO " + std::to_string(expected.size()) + "\n"), std::string::npos)
      << commands;
}

TEST_F(LogUploadOnServer, EachRefusalShowsBothMessages) {
  const struct Case {
    const char* server;
    const char* user;
    const char* password;
  } cases[] = {
      {"ftp", "tester", "not the secret"},  // the login refused
      {"ftp", "noport", "secret"},          // PORT refused
      {"ftp", "reader", "secret"},          // STOR refused: no right to store
      {"ftp-close", "tester", "secret"},    // the connection closed after the greeting
      {"ftp-silent", "tester", "secret"},   // no greeting at all: the wait runs out
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.server) + " " + c.user + " " + c.password);
    prompts_.shown.clear();
    PointAt(c.server, c.user, c.password);
    const LogUploadResult r = Run();
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(Shown(), (std::vector<Msg>{Msg::CannotSendLog, Msg::CannotSendLogFile}));
    EXPECT_EQ(status_.text, "Log error...");
    EXPECT_TRUE(session_->logUploadWanted);
  }
  EXPECT_GT(pump_.calls, 0u);  // the window was served while the servers kept it waiting
}

}  // namespace
}  // namespace morvanta::runs
