// The whole program's windows over one session, created for real under Wine, with the
// program's files in a folder of the test's own: a database with a known date.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "database/container.h"
#include "platform/win32/message_box_robot.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {

constexpr char kDate[] = "Thursday, 10.12.2026, Upd 0042 ";
// The check 2 s after the main window shows goes to a port of this machine where nothing
// answers, never to the maker's server.
constexpr char kQuietUpdateServer[] = "[UpdateServer]\r\nHost=127.0.0.1\r\nPort=9\r\n";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
    folder_ = p_.folders.TempPath() + "morvanta-ui-" + std::to_string(::GetCurrentProcessId()) + "\\";
    p_.files.CreateDirectory(folder_);
    const std::string text = std::string(kDate) + "\r\n_end\r\n";
    const auto packed = database::PackDatabase(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "files.dat", packed.data(), packed.size()));
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "morvanta.ini", kQuietUpdateServer));
    session_ = std::make_unique<app::Session>(p_, folder_);
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    test_util::Pump(100);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
    for (const char* name : {"files.dat", "morvanta.ini", "list.htm"})
      p_.files.DeleteFile(folder_ + name);
    p_.files.RemoveDirectory(folder_);
    p_.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, "Software\\Quorrin");
  }

  // Clicks a button that asks a question and answers it as the user would.
  std::string ClickAndAnswer(Button& button, platform::MessageAnswer answer) {
    auto user = std::async(std::launch::async, [&] {
      auto box = platform::win32::WaitForMessageBox(catalog_().Text(common::Msg::Question), 10000);
      if (!box) return std::string("<no question>");
      platform::win32::PressMessageBoxButton(box->window, answer);
      return box->text;
    });
    button.Click();
    return user.get();
  }

  // Answers the boxes that come, in order, from another thread while `act` runs here; the
  // texts seen, or "no box CAPTION".
  std::vector<std::string> Answering(std::vector<std::pair<std::string, platform::MessageAnswer>> boxes,
                                     const std::function<void()>& act) {
    auto user = std::async(std::launch::async, [boxes] {
      std::vector<std::string> seen;
      for (const auto& [caption, answer] : boxes) {
        auto box = platform::win32::WaitForMessageBox(caption, 20000);
        if (!box) {
          seen.push_back("no box " + caption);
          break;
        }
        seen.push_back(box->text);
        platform::win32::PressMessageBoxButton(box->window, answer);
      }
      return seen;
    });
    act();
    return user.get();
  }

  platform::win32::Win32Platform real_;
  platform::Platform p_ = real_.Get();
  std::string folder_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
  const common::MessageCatalog& catalog_() { return session_->Catalog(); }
};

}  // namespace morvanta::ui
