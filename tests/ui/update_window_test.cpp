// The update from the real windows under Wine, against Python's http.server on 127.0.0.1
// serving a site signed with the development key: the check 2 s after start, the pieces
// merged and saved, "Update" telling the result, and the upgrade window fetching a new
// program, starting it as "kavup.exe" and ending this one (or refusing a forged one).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "main_window_fixture.h"
#include "platform/text.h"
#include "update/signature.h"
#include "update/update_list.h"
#include "signed_site.h"
#include "update_test_paths.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::MessageAnswer;
using test_util::Pump;
using test_util::Screenshot;
using update_testing::AsBytes;
using update_testing::Bytes;
using update_testing::DateLine;
using update_testing::Entries;

std::string HostText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string BinFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

// The main window of another process than this one with `caption`; null while none.
HWND OtherProgramsWindow(const std::string& caption) {
  struct Search {
    std::string caption;
    HWND found = nullptr;
  } search{caption};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        char text[128] = {};
        ::GetWindowTextA(window, text, sizeof text);
        if (pid == ::GetCurrentProcessId() || s.caption != text || !::IsWindowVisible(window))
          return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class UpdateWindows : public MainWindowTest {
 protected:
  // The program's files are written first; the windows are made by Start.
  void SetUp() override {
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
    folder_ = p_.folders.TempPath() + "morvanta-update-" + std::to_string(::GetCurrentProcessId()) + "\\";
    p_.files.CreateDirectory(folder_);
    const std::string text = DateLine(5) + "\r\n[Worm.Old]:C:\\old.exe\r\n_end\r\n";
    const auto packed = database::PackDatabase(AsBytes(text).data(), text.size());
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "files.dat", packed.data(), packed.size()));

    const char* site = std::getenv("MORVANTA_UPDATE_SITE_UI");
    const char* state = std::getenv("MORVANTA_SERVER_STATE");
    ASSERT_TRUE(site && state);
    site_ = std::string(site) + "\\";
    std::string port = HostText(std::string(state) + "\\http-update-ui.port");
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    ASSERT_FALSE(port.empty());
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "morvanta.ini",
                                  "[UpdateServer]\r\nHost=127.0.0.1\r\nPort=" + port + "\r\n"));
    const std::string keyText = HostText(update::kDevPrivateKeyFile);
    const auto key = update::ReadPrivateKeyFile(AsBytes(keyText).data(), keyText.size());
    ASSERT_TRUE(key);
    key_ = *key;
    p_.files.CreateDirectory(site_ + "updr2");
    p_.files.CreateDirectory(site_ + "updr2\\upd");
  }
  void TearDown() override {
    // The started "kavup.exe" may still be running for a moment.
    for (int i = 0; i < 50 && p_.files.Exists(folder_ + "kavup.exe") &&
                    !p_.files.DeleteFile(folder_ + "kavup.exe");
         ++i)
      ::Sleep(100);
    for (const char* name : {"Upd.dat", "filess.dat", "list.htm.sig", "morvanta.exe"})
      p_.files.DeleteFile(folder_ + name);
    for (const std::string& served : served_) p_.files.DeleteFile(site_ + served);
    p_.files.RemoveDirectory(site_ + "updr2\\upd");
    p_.files.RemoveDirectory(site_ + "updr2");
    MainWindowTest::TearDown();
  }

  void Start() {
    session_ = std::make_unique<app::Session>(p_, folder_);
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->UpgradeWindow().SetEndProgram([this](int code) { endedWith_ = code; });
    app_->Main().Show();
  }

  // Writes a file of the site with the maker's signature beside it (or another one).
  void Serve(const std::string& path, const Bytes& bytes, bool signedByMaker = true) {
    std::string local = path.substr(1);
    for (char& c : local)
      if (c == '/') c = '\\';
    ASSERT_TRUE(p_.files.WriteAll(site_ + local, bytes.data(), bytes.size()));
    Bytes toSign = bytes;
    if (!signedByMaker) toSign.push_back('!');
    const auto sig = update::SignUpdateFile(toSign.data(), toSign.size(), key_);
    ASSERT_TRUE(p_.files.WriteAll(site_ + local + ".sig", sig.data(), sig.size()));
    served_.push_back(local);
    served_.push_back(local + ".sig");
  }
  void ServeList(int counter, const std::string& lowest, const std::string& version) {
    Serve(update::kListPath, AsBytes("Morvanta Pro\r\n" + DateLine(counter) + "\r\n" + version +
                                     "\r\n\r\n0\r\n" + lowest + "\r\n"));
  }
  void ServePiece(int n) {
    const std::string text = DateLine(n) + "\r\n" + Entries(n) + "_end\r\n";
    Serve(update::PiecePath(n), database::PackPiece(AsBytes(text).data(), text.size()));
  }
  // Handles messages as they come (the workers post one per block) until `done`.
  template <typename Done>
  static void PumpUntil(Done done, DWORD limit = 30000) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < limit) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG m;
      while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageA(&m);
      }
    }
  }

  std::string site_;
  std::vector<std::string> served_;
  update::PrivateKey key_{};
  std::optional<int> endedWith_;
};

TEST_F(UpdateWindows, TheCheckAfterStartMergesThePiecesAndUpdateTellsTheResult) {
  ServeList(7, "3", update::kProgramVersion);
  ServePiece(6);
  ServePiece(7);
  const std::string updated = "Database updated, database date: " + DateLine(7);
  std::vector<std::string> seen;
  seen = Answering({{"Information", MessageAnswer::Yes}, {"Morvanta Pro Info", MessageAnswer::Ok}},
                   [&] {
                     Start();
                     PumpUntil([&] { return app_->Main().Label2.Text() == updated; });
                   });
  TForm1& main = app_->Main();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].substr(0, 29), "Your database is out of date,");
  EXPECT_EQ(seen[1], "Database updated last update date is " + DateLine(7));
  EXPECT_EQ(main.Label2.Text(), updated);
  EXPECT_EQ(main.sb1.PanelText(2), "Last Update: " + DateLine(7));
  EXPECT_EQ(main.sb1.PanelText(0).substr(0, 9), "Finished ");
  EXPECT_TRUE(main.Button4.IsEnabled() && main.Button7.IsEnabled());
  EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
  database::ThreatDatabase saved;
  ASSERT_TRUE(saved.LoadDatabase(p_.files, folder_ + "files.dat").ok());
  const std::string expected = DateLine(7) + "\r\n[Worm.Old]:C:\\old.exe\r\n" + Entries(6) +
                               Entries(7) + "_end\r\n";
  EXPECT_EQ(std::string(saved.Content().begin(), saved.Content().end()), expected);
  for (const char* left : {"list.htm", "Upd.dat", "Upd.dat.sig", "list.htm.sig"})
    EXPECT_FALSE(p_.files.Exists(folder_ + left)) << left;
  Screenshot(main.Handle(), "main_window_after_database_update");

  // The last completed check offered the update: "Update" starts another and says nothing;
  // once that one has found the database current, "Update" says so.
  main.Button7.Click();
  PumpUntil([&] { return session_->updateCheckState == app::UpdateCheckState::UpToDate; });
  ASSERT_EQ(session_->updateCheckState, app::UpdateCheckState::UpToDate);
  seen = Answering({{"Information", MessageAnswer::Ok}}, [&] { main.Button7.Click(); });
  EXPECT_EQ(seen, std::vector<std::string>{"Your version is already upgraded!"});
  PumpUntil([&] { return !main.Update().Get2.Busy(); });
}

TEST_F(UpdateWindows, TheUpgradeWindowFetchesTheNewProgramStartsItAndEnds) {
  const std::string version = "Morvanta Pro v8 - SE (Build date: 01.12.2026)";
  ServeList(5, "", version);
  // Any program does: the console program, which shows its usage and ends.
  const auto program = p_.files.ReadAll(BinFolder() + "morvanta-cli.exe");
  ASSERT_TRUE(program);
  Serve(update::kProgramPath, *program);
  std::vector<std::string> seen =
      Answering({{"Information", MessageAnswer::Yes}, {"Finished", MessageAnswer::Ok}}, [&] {
        Start();
        PumpUntil([&] { return endedWith_.has_value(); });
      });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Your program version is out of date, do you want to upgrade it?\rYour version is " +
                         std::string(update::kProgramVersion) + "\rNew version is " + version);
  EXPECT_EQ(seen[1], "Morvanta Pro is upgraded!");
  EXPECT_EQ(endedWith_, 1);
  TForm4& upgrade = app_->UpgradeWindow();
  EXPECT_TRUE(upgrade.IsVisible());
  EXPECT_FALSE(::IsWindowEnabled(app_->Main().Handle()));
  EXPECT_EQ(upgrade.Label1.Text(), "New version is " + version);
  EXPECT_EQ(upgrade.Label2.Text(), "Finished...");
  EXPECT_GE(upgrade.pb1.Position(), 90);
  EXPECT_EQ(p_.files.ReadAll(folder_ + "kavup.exe"), program);
  Screenshot(upgrade.Handle(), "upgrade_window");
}

// The whole chain with the real program: fetched as "kavup.exe", started, it writes itself
// over "morvanta.exe" and starts that, which comes up with its main window.
TEST_F(UpdateWindows, TheFetchedProgramReplacesTheInstalledOneAndStartsIt) {
  const std::string version = "Morvanta Pro v8 - SE (Build date: 01.12.2026)";
  ServeList(5, "", version);
  const auto program = p_.files.ReadAll(BinFolder() + "morvanta.exe");
  ASSERT_TRUE(program);
  Serve(update::kProgramPath, *program);
  ASSERT_TRUE(p_.files.WriteAll(folder_ + "morvanta.exe", "the old program"));
  std::vector<std::string> seen =
      Answering({{"Information", MessageAnswer::Yes}, {"Finished", MessageAnswer::Ok}}, [&] {
        Start();
        PumpUntil([&] { return endedWith_.has_value(); });
        // The new program's own check after its start finds itself current.
        ServeList(5, "", update::kProgramVersion);
      });
  ASSERT_EQ(seen.size(), 2u);
  ASSERT_EQ(endedWith_, 1);
  HWND started = nullptr;
  PumpUntil([&] { return (started = OtherProgramsWindow("Morvanta Pro - SE")) != nullptr; });
  ASSERT_TRUE(started) << "the replaced program did not come up";
  EXPECT_EQ(p_.files.ReadAll(folder_ + "morvanta.exe"), program);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(started, &pid);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  ASSERT_TRUE(process);
  char image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ASSERT_TRUE(::QueryFullProcessImageNameA(process, 0, image, &size));
  EXPECT_TRUE(platform::EqualsNoCase(image, folder_ + "morvanta.exe")) << image;
  ::PostMessageA(started, WM_CLOSE, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
  ::CloseHandle(process);
}

TEST_F(UpdateWindows, AForgedProgramIsNeverStartedAndCancelClosesTheWindow) {
  ServeList(5, "", "Morvanta Pro v8 - SE (Build date: 01.12.2026)");
  Serve(update::kProgramPath, Bytes(30000, 'M'), false);
  std::vector<std::string> seen = Answering({{"Information", MessageAnswer::Yes}}, [&] {
    Start();
    PumpUntil([&] { return app_->UpgradeWindow().IsVisible() &&
                           !app_->UpgradeWindow().Upgrade().Get1.Busy(); });
  });
  TForm4& upgrade = app_->UpgradeWindow();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(upgrade.Upgrade().Get1.Busy());
  EXPECT_FALSE(endedWith_);
  EXPECT_FALSE(p_.files.Exists(folder_ + "kavup.exe"));
  EXPECT_TRUE(upgrade.IsVisible());

  // One box at a time: two boxes of one caption could be taken for each other.
  seen = Answering({{"Question", MessageAnswer::No}}, [&] { upgrade.Button1.Click(); });
  EXPECT_EQ(seen, std::vector<std::string>{"Do you want to abort current process?"});
  EXPECT_TRUE(upgrade.IsVisible());
  seen = Answering({{"Question", MessageAnswer::Yes}}, [&] { upgrade.Button1.Click(); });
  EXPECT_EQ(seen, std::vector<std::string>{"Do you want to abort current process?"});
  EXPECT_FALSE(upgrade.IsVisible());
  EXPECT_TRUE(::IsWindowEnabled(app_->Main().Handle()));
}

}  // namespace
}  // namespace morvanta::ui
