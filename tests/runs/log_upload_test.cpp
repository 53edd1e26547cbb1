// The log upload on the in-memory network, against a scripted FTP server: what the user
// sees (messages and status texts) for each way the exchange can go, what reaches the
// server, and the offers that follow a successful upload.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "platform/fake/fake_platform.h"
#include "platform/text.h"
#include "runs/fix.h"
#include "runs/log_upload.h"
#include "runs/quick_scan.h"
#include "runs/recorded_page.h"
#include "../report/scripted_ftp_server.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using report::ftp_fixture::kHost;
using report::ftp_fixture::kServerIp;
using report::ftp_fixture::ScriptedFtpServer;

const std::string kFolder = "C:\\Program Files\\Morvanta\\";

class Upload {
 public:
  Upload() {
    fake.files.MakeFolders(kFolder);
    fake.files.PutFile(kFolder + "morvanta.ini",
                       "[LogServer]\r\nHost=" + kHost + "\r\nAccount=logs@morvanta.test\r\n");
    fake.sockets.AddHost(kHost, kServerIp);
    fake.sockets.Serve({kServerIp, 21}, server);
    fake.system.SetUserName("Tech");
    session.logUploadWanted = true;
    session.RunningObjects().Add("Proc c:\\windows\\explorer.exe[0a][100]");
    session.ScanLog().Add("!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;");
  }
  LogUploadResult Run() { return UploadLog(session, {prompts, status, pump}, 4711); }
  std::vector<Msg> Shown() const {
    std::vector<Msg> entries;
    for (const auto& p : prompts.shown) entries.push_back(p.entry);
    return entries;
  }
  std::string SendLog() {
    const auto bytes = fake.files.ReadAll(kFolder + "SendLog.txt");
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  bool Sent(const std::string& verb) const {
    for (const auto& c : server.commands)
      if (platform::StartsWith(c, verb)) return true;
    return false;
  }

  platform::fake::FakePlatform fake;
  app::Session session{fake.Get(), kFolder};
  ScriptedFtpServer server{fake.sockets};
  common::ScriptedPrompts prompts;
  common::MemoryText status;
  common::CountingPump pump;
};

TEST(LogUploadOnFakeNetwork, ASuccessfulUploadStoresSendLogAndStopsTheOffers) {
  Upload u;
  const LogUploadResult r = u.Run();
  EXPECT_TRUE(r.attempted);
  EXPECT_TRUE(r.sent);
  EXPECT_EQ(r.remoteName, "Tech4711.txt");
  const std::string log =
      "!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;\r\nProc c:\\windows\\explorer.exe[0a][100]\r\n";
  EXPECT_EQ(u.SendLog(), log);
  ASSERT_TRUE(u.server.dataPeer);
  EXPECT_EQ(u.server.dataPeer->Received(), log);
  EXPECT_EQ(u.server.commands,
            (std::vector<std::string>{"USER logs@morvanta.test", "PASS qv73m4106",
                                      "ALLO " + std::to_string(log.size()), "TYPE I",
                                      u.server.commands[4], "STOR Tech4711.txt", "QUIT"}));
  EXPECT_EQ(u.Shown(), std::vector<Msg>{Msg::LogSentMessage});
  EXPECT_EQ(u.prompts.shown[0].kind, common::PromptKind::UrgentInformation);
  EXPECT_EQ(u.status.history, (std::vector<std::string>{"Sending log...", "Sending log...",
                                                        "Log sent..."}));
  EXPECT_FALSE(u.session.logUploadWanted);
  // The merged lines stay with the running objects.
  EXPECT_EQ(u.session.RunningObjects().Lines().size(), 2u);

  // Nothing more is sent until another update check asks for logs.
  u.server.commands.clear();
  EXPECT_FALSE(u.Run().attempted);
  EXPECT_TRUE(u.server.commands.empty());
}

TEST(LogUploadOnFakeNetwork, EveryFailureShowsBothMessagesAndLeavesTheOfferStanding) {
  const struct Case {
    const char* name;
    void (*arrange)(Upload&);
    bool quitSent;  // the connection was up when the failure came
  } cases[] = {
      {"unknown host", [](Upload& u) { u.fake.files.PutFile(kFolder + "morvanta.ini",
                                                            "[LogServer]\r\nHost=nowhere.test\r\n"); },
       false},
      {"nobody at the port", [](Upload& u) { u.fake.files.PutFile(kFolder + "morvanta.ini",
                                                                  "[LogServer]\r\nHost=" + kHost +
                                                                      "\r\nPort=2121\r\n"); },
       false},
      {"greeting refused", [](Upload& u) { u.server.greeting = "421 Busy.\r\n"; }, false},
      {"closed after the greeting", [](Upload& u) { u.server.closeAfterGreeting = true; }, false},
      {"never answers", [](Upload& u) { u.server.greeting.clear(); }, false},
      {"login refused", [](Upload& u) { u.server.answers["PASS"] = "530 Login incorrect.\r\n"; },
       false},
      {"ALLO refused", [](Upload& u) { u.server.answers["ALLO"] = "504 Not here.\r\n"; }, true},
      {"PORT refused", [](Upload& u) { u.server.answers["PORT"] = "500 No PORT.\r\n"; }, true},
      {"STOR refused", [](Upload& u) { u.server.answers["STOR"] = "553 Not allowed.\r\n"; }, true},
      {"the stored file refused", [](Upload& u) { u.server.endOfFile = "451 Disk full.\r\n"; },
       true},
      // A wait that runs out breaks the exchange: the connection is closed without a word.
      {"no data connection", [](Upload& u) { u.server.connectBack = false; }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Upload u;
    c.arrange(u);
    const LogUploadResult r = u.Run();
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(u.Shown(), (std::vector<Msg>{Msg::CannotSendLog, Msg::CannotSendLogFile}));
    for (const auto& p : u.prompts.shown) EXPECT_EQ(p.kind, common::PromptKind::UrgentError);
    EXPECT_EQ(u.status.text, "Log error...");
    EXPECT_TRUE(u.session.logUploadWanted);
    EXPECT_EQ(u.Sent("QUIT"), c.quitSent);
    EXPECT_NE(u.SendLog(), "<none>");  // written before the connection, kept afterwards
  }
}

TEST(LogUploadOnFakeNetwork, TheWindowIsServedWhileTheServerIsSilent) {
  Upload u;
  u.server.answers["STOR"] = "";  // the server takes the command and says nothing more
  u.Run();
  EXPECT_GT(u.pump.calls, 10u);  // every slice of the wait
  EXPECT_EQ(u.Shown(), (std::vector<Msg>{Msg::CannotSendLog, Msg::CannotSendLogFile}));
}

TEST(LogUploadOnFakeNetwork, NothingToSendOrNoFileToWrite) {
  {
    Upload u;  // an empty log: the connection is made and closed, nothing stored
    u.session.RunningObjects().Clear();
    u.session.ScanLog().Clear();
    EXPECT_FALSE(u.Run().sent);
    EXPECT_TRUE(u.Shown().empty());
    EXPECT_FALSE(u.Sent("ALLO"));
    EXPECT_FALSE(u.Sent("STOR"));
    EXPECT_TRUE(u.Sent("QUIT"));
    EXPECT_EQ(u.SendLog(), "");
  }
  {
    Upload u;  // "SendLog.txt" cannot be written: the upload ends before any connection
    ASSERT_TRUE(u.fake.files.CreateDirectory(kFolder + "SendLog.txt"));
    EXPECT_FALSE(u.Run().sent);
    EXPECT_EQ(u.Shown(), std::vector<Msg>{Msg::CannotSendLogFile});
    EXPECT_EQ(u.status.text, "Log error...");
    EXPECT_TRUE(u.server.commands.empty());
  }
  {
    Upload u;  // the last update check did not ask for logs
    u.session.logUploadWanted = false;
    EXPECT_FALSE(u.Run().attempted);
    EXPECT_TRUE(u.Shown().empty());
    EXPECT_EQ(u.SendLog(), "<none>");
  }
}

// The window's offers, with the upload really run.
class UploadingOffers : public ScanOffers {
 public:
  explicit UploadingOffers(Upload& u) : u_(u) {}
  void StartFullDriveScan() override {}
  void SendScanLog() override { u_.Run(); }

 private:
  Upload& u_;
};

TEST(LogUploadOnFakeNetwork, AfterOneUploadASecondFixAsksNothing) {
  Upload u;
  u.session.ScanLog().Clear();
  const std::string text = "Thursday, 10.12.2026, Upd 0042   \r\n[Worm.Bad]:C:\\Temp\\bad.exe\r\n_end\r\n";
  u.session.Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
  common::MemoryCheckList results, startup;
  common::MemoryLog log;
  common::MemoryReport report;
  RecordedControls controls;
  UploadingOffers offers(u);
  const auto scanAndFix = [&] {
    u.fake.files.PutFile("C:\\Temp\\bad.exe", "a worm");
    u.prompts.Answer({false});  // no full drive scan
    RunQuickScan(u.session, {results, log, u.status, u.prompts, u.pump, report, startup,
                             controls, offers});
    return FixAlerts(u.session, {results, log, u.status, u.prompts, u.pump, controls, offers});
  };
  ASSERT_EQ(scanAndFix().cleaned, 1u);
  EXPECT_EQ(u.prompts.CountOf(Msg::SendLogAfterFix), 1u);
  EXPECT_EQ(u.prompts.CountOf(Msg::LogSentMessage), 1u);
  // What the fix did went with the log: the scan's line with its outcome.
  ASSERT_TRUE(u.server.dataPeer);
  EXPECT_NE(u.server.dataPeer->Received().find("!Infected bad.exe=;c:\\temp\\;worm.bad;"),
            std::string::npos);
  EXPECT_NE(u.server.dataPeer->Received().find(";Ok;\r\n"), std::string::npos);

  u.prompts.shown.clear();
  ASSERT_EQ(scanAndFix().cleaned, 1u);
  EXPECT_EQ(u.prompts.CountOf(Msg::SendLogAfterFix), 0u);
  EXPECT_EQ(u.prompts.CountOf(Msg::LogSentMessage), 0u);
}

TEST(LogUploadOnFakeNetwork, RemoteNames) {
  EXPECT_EQ(RemoteLogName("Tech", 0), "Tech0.txt");
  EXPECT_EQ(RemoteLogName("", 9999), "9999.txt");  // the logon name could not be read
  EXPECT_EQ(RemoteLogName("..\\a/b\r\n", 12), ".._a_b__12.txt");
  EXPECT_EQ(RemoteLogName("x", 12345), "x2345.txt");
}

}  // namespace
}  // namespace morvanta::runs
