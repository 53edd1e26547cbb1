// The shipped German translation applied at start under Wine: captions of the windows,
// message boxes and their captions come from it; screenshots of both.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>

#include "app/language_setting.h"
#include "database/container.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/win32/message_box_robot.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using test_util::Screenshot;

// The folder of this test program, where the build puts "Languages\Deutsch.vlng".
std::string BinFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

class LanguageStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
    folder_ = p_.folders.TempPath() + "morvanta-lang-" + std::to_string(::GetCurrentProcessId()) + "\\";
    p_.files.CreateDirectory(folder_);
    p_.files.CreateDirectory(folder_ + "Languages");
    const std::string text = "Thursday, 10.12.2026, Upd 0042 \r\n_end\r\n";
    const auto packed = database::PackDatabase(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "files.dat", packed.data(), packed.size()));
    // The check after start goes to a port of this machine where nothing answers.
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "morvanta.ini",
                                  "[UpdateServer]\r\nHost=127.0.0.1\r\nPort=9\r\n"));
    ASSERT_TRUE(p_.files.CopyFile(BinFolder() + "Languages\\Deutsch.vlng",
                                  folder_ + "Languages\\Deutsch.vlng", false));
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
    p_.files.DeleteFile(folder_ + "Languages\\Deutsch.vlng");
    p_.files.RemoveDirectory(folder_ + "Languages");
    for (const char* name : {"files.dat", "morvanta.ini", "list.htm"})
      p_.files.DeleteFile(folder_ + name);
    p_.files.RemoveDirectory(folder_);
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
  }
  // With `scriptedDialogs` the file dialogs and notices come from dialogs_.
  void Start(bool scriptedDialogs = false) {
    platform::Platform p{p_.registry, p_.files,   p_.folders, p_.processes,
                         p_.services, p_.shell,   p_.system,  scriptedDialogs ? dialogs_ : p_.dialogs,
                         p_.sockets, p_.internet};
    session_ = std::make_unique<app::Session>(p, folder_);
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    test_util::Pump(100);
  }

  platform::win32::Win32Platform real_;
  platform::Platform p_ = real_.Get();
  platform::fake::FakeDialogs dialogs_;
  std::string folder_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(LanguageStartTest, TheSavedGermanShowsInCaptionsAndMessages) {
  ASSERT_TRUE(app::WriteLanguageSetting(p_.registry, "Deutsch.vlng"));
  Start();
  TForm1& main = app_->Main();
  EXPECT_EQ(main.Button4.Text(), "Auf Viren pr\xfc" "fen");
  EXPECT_EQ(main.Button17.Text(), "Schlie\xdf" "en");
  EXPECT_EQ(main.Label2.Text().rfind("Last update", 0), std::string::npos);  // the date label
  EXPECT_EQ(app_->Chooser().titleLabel.Text(), "Willkommen bei Morvanta Pro");
  EXPECT_EQ(app_->ToolWindow().PopupMenu1.ItemText(TfrmMain::kRemoveCommand),
            "Aus der Autostart-Liste &entfernen");
  EXPECT_EQ(session_->Catalog().Text(common::Msg::Question), "Frage");
  EXPECT_EQ(session_->Catalog().Text(179), "Bericht umfasst");
  Screenshot(main.Handle(), "german_main_page");

  // A question of the main window, in German, with its German caption.
  auto user = std::async(std::launch::async, [] {
    auto box = platform::win32::WaitForMessageBox("Frage", 10000);
    if (!box) return std::string("<no question>");
    ::Sleep(200);  // painted
    Screenshot(static_cast<HWND>(box->window), "german_question");
    platform::win32::PressMessageBoxButton(box->window, platform::MessageAnswer::No);
    return box->text;
  });
  main.Button4.Click();
  const std::string text = user.get();
  EXPECT_NE(text.find("M\xf6" "chten Sie Ihren Computer auf Viren"), std::string::npos) << text;
}

TEST_F(LanguageStartTest, WithoutAUsableSettingTheBuiltInTextsStay) {
  for (const char* setting : {"", "Default", "Missing.vlng"}) {
    if (*setting) {
      ASSERT_TRUE(app::WriteLanguageSetting(p_.registry, setting));
    }
    Start();
    EXPECT_EQ(app_->Main().Button4.Text(), "Scan for viruses") << setting;
    EXPECT_EQ(session_->Catalog().Text(common::Msg::Question), "Question") << setting;
    app_.reset();
    session_.reset();
  }
}

TEST_F(LanguageStartTest, TheLanguageWindowListsAppliesSavesAndRestarts) {
  Start(true);
  TFormL& window = app_->LanguageWindow();
  ASSERT_EQ(window.List1.ItemCount(), 1);
  EXPECT_EQ(window.List1.ItemText(0), "Deutsch.vlng");
  EXPECT_FALSE(window.xpButton1.IsEnabled());

  // "Save default language": the template of the texts shown, then the notice.
  const std::string templatePath = folder_ + "Default.txt";
  dialogs_.QueueSaveChoice(templatePath);
  window.xpButton3.Click();
  ASSERT_EQ(dialogs_.SaveDialogs().size(), 1u);
  EXPECT_EQ(dialogs_.SaveDialogs()[0].fileName, "Default.txt");
  EXPECT_EQ(dialogs_.SaveDialogs()[0].title, "Save default language");
  ASSERT_EQ(dialogs_.Shown().size(), 1u);
  EXPECT_EQ(dialogs_.Shown()[0].text, "Language saved!");
  auto saved = p_.files.ReadAll(templatePath);
  ASSERT_TRUE(saved);
  const std::string text(saved->begin(), saved->end());
  // The texts as shown: the process page's label carries the count the program wrote.
  EXPECT_EQ(text, app::LanguageTemplate(app_->Texts(), session_->Catalog()));
  EXPECT_EQ(text.rfind("begin():\r\nMorvanta Pro - SE\r\nScan for viruses\r\n", 0), 0u);
  EXPECT_NE(text.find("\r\nActive processes ("), std::string::npos);
  p_.files.DeleteFile(templatePath);
  dialogs_.QueueSaveChoice(std::nullopt);  // cancelled: nothing written, nothing shown
  window.xpButton3.Click();
  EXPECT_FALSE(p_.files.Exists(templatePath));
  EXPECT_EQ(dialogs_.Shown().size(), 1u);

  // A click on the file enables "Apply", which remembers it, applies it and closes.
  app_->Show(WindowId::Language);
  window.List1.Select(0);
  ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(10, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window.List1.Handle()));
  ASSERT_TRUE(window.xpButton1.IsEnabled());
  window.xpButton1.Click();
  EXPECT_FALSE(window.IsVisible());
  EXPECT_EQ(app::ReadLanguageSetting(p_.registry), "Deutsch.vlng");
  EXPECT_EQ(app_->Main().Button4.Text(), "Auf Viren pr\xfc" "fen");
  EXPECT_EQ(window.xpButton1.Text(), "\xdc" "bernehmen");
  EXPECT_EQ(window.xpButton3.Text(), "Standardsprache speichern");
  EXPECT_EQ(session_->Catalog().Text(common::Msg::Error), "Fehler");
  app_->Show(WindowId::Language);
  test_util::Pump(100);
  Screenshot(window.Handle(), "german_language_window");

  // "Default": stored, then the restart.
  int restarts = 0;
  window.SetRestart([&] { ++restarts; });
  window.xpButton2.Click();
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(app::ReadLanguageSetting(p_.registry), "Default");
}

}  // namespace
}  // namespace morvanta::ui
