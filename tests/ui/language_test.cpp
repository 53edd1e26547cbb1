// The shipped German translation applied at start under Wine: captions of the windows,
// message boxes and their captions come from it; screenshots of both.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>

#include "app/language_setting.h"
#include "database/container.h"
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
    ASSERT_TRUE(p_.files.CopyFile(BinFolder() + "Languages\\Deutsch.vlng",
                                  folder_ + "Languages\\Deutsch.vlng", false));
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
    p_.files.DeleteFile(folder_ + "Languages\\Deutsch.vlng");
    p_.files.RemoveDirectory(folder_ + "Languages");
    p_.files.DeleteFile(folder_ + "files.dat");
    p_.files.RemoveDirectory(folder_);
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
  }
  void Start() {
    session_ = std::make_unique<app::Session>(p_, folder_);
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    test_util::Pump(100);
  }

  platform::win32::Win32Platform real_;
  platform::Platform p_ = real_.Get();
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

}  // namespace
}  // namespace morvanta::ui
