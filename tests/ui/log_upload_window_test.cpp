// The log upload from the main window, for real under Wine: a clean quick scan offers it, the
// answer Yes sends "SendLog.txt" to an FTP server on 127.0.0.1 (named by the settings file
// beside the program), and the window stays responsive while the server keeps it waiting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>

#include "main_window_fixture.h"
#include "platform/win32/message_box_robot.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::MessageAnswer;
using platform::win32::PressMessageBoxButton;
using platform::win32::WaitForMessageBox;
using ::morvanta::ui::test_util::Pump;
using ::morvanta::ui::test_util::Screenshot;

std::string HostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

class LogUploadWindow : public MainWindowTest {
 protected:
  void PointAt(const char* server) {
    const char* state = std::getenv("MORVANTA_SERVER_STATE");
    ASSERT_TRUE(state);
    const std::string port = HostFile(std::string(state) + "\\" + server + ".port");
    ASSERT_FALSE(port.empty());
    ASSERT_TRUE(p_.files.WriteAll(folder_ + "morvanta.ini",
                                  "[LogServer]\r\nHost=127.0.0.1\r\nPort=" + port +
                                      "\r\nAccount=tester\r\nPassword=secret\r\nTimeoutSeconds=3\r\n" +
                                      kQuietUpdateServer));
  }
  void TearDown() override {
    p_.files.DeleteFile(folder_ + "SendLog.txt");
    MainWindowTest::TearDown();
  }

  struct Seen {
    std::vector<std::string> texts;
    bool answeredWhileWaiting = false;  // the window took a message during the exchange
  };
  // Starts the quick scan from the start page and answers: scan Yes, the clean notice, the
  // upload Yes, then the boxes with `captions` of the upload's outcome.
  Seen ScanAndSend(TForm1& main, std::vector<std::string> captions) {
    auto user = std::async(std::launch::async, [&main, captions] {
      Seen seen;
      for (const auto& [caption, answer] :
           std::vector<std::pair<std::string, MessageAnswer>>{{"Question", MessageAnswer::Yes},
                                                              {"Information", MessageAnswer::Ok},
                                                              {"Question", MessageAnswer::Yes}}) {
        auto box = WaitForMessageBox(caption, 20000);
        if (!box) return seen;
        seen.texts.push_back(box->text);
        PressMessageBoxButton(box->window, answer);
      }
      for (const auto& caption : captions) {
        auto box = WaitForMessageBox(caption, 20000);
        if (!box) return seen;
        if (seen.texts.size() == 3) {
          DWORD_PTR unused = 0;
          seen.answeredWhileWaiting = ::SendMessageTimeoutA(main.Handle(), WM_NULL, 0, 0,
                                                            SMTO_ABORTIFHUNG, 2000, &unused) != 0;
          Screenshot(main.Handle(), "log_upload_message");
        }
        seen.texts.push_back(box->text);
        PressMessageBoxButton(box->window, MessageAnswer::Ok);
        // Two boxes of one caption follow each other: the next wait must not find this one.
        for (int i = 0; i < 200 && ::IsWindow(static_cast<HWND>(box->window)); ++i) ::Sleep(10);
      }
      return seen;
    });
    main.Button4.Click();
    Seen seen = user.get();
    Pump(100);
    return seen;
  }
};

TEST_F(LogUploadWindow, ACleanScanOffersTheUploadAndSendsTheLog) {
  PointAt("ftp");
  session_->logUploadWanted = true;
  TForm1& main = app_->Main();
  const Seen seen = ScanAndSend(main, {"Information"});
  ASSERT_EQ(seen.texts.size(), 4u) << ::testing::PrintToString(seen.texts);
  EXPECT_EQ(seen.texts[2], "Do you wish to send us your log file for analyze and statistics?");
  EXPECT_EQ(seen.texts[3], "Log file successfully sent, Thank you!");
  EXPECT_FALSE(session_->logUploadWanted);
  EXPECT_TRUE(p_.files.FileExists(folder_ + "SendLog.txt"));
  EXPECT_TRUE(main.Button1.IsEnabled());

  // Offered no more in this run.
  auto user = std::async(std::launch::async, [] {
    std::vector<std::string> texts;
    for (const char* caption : {"Question", "Information", "Question"}) {
      auto box = WaitForMessageBox(caption, caption == std::string("Question") && !texts.empty() ? 3000 : 20000);
      if (!box) break;
      texts.push_back(box->text);
      PressMessageBoxButton(box->window, caption == std::string("Information") ? MessageAnswer::Ok
                                                                               : MessageAnswer::Yes);
    }
    return texts;
  });
  main.Button6.Click();  // back to the start page
  Pump(50);
  main.Button4.Click();
  const auto again = user.get();
  EXPECT_EQ(again.size(), 2u) << ::testing::PrintToString(again);
}

TEST_F(LogUploadWindow, ASilentServerEndsWithBothMessagesAndTheWindowStaysResponsive) {
  PointAt("ftp-silent");
  session_->logUploadWanted = true;
  TForm1& main = app_->Main();
  const Seen seen = ScanAndSend(main, {"Error", "Error"});
  ASSERT_EQ(seen.texts.size(), 5u) << ::testing::PrintToString(seen.texts);
  EXPECT_EQ(seen.texts[3], "Cannot send log file!");
  EXPECT_EQ(seen.texts[4], "Cannot send log file!");
  EXPECT_TRUE(seen.answeredWhileWaiting);
  EXPECT_TRUE(session_->logUploadWanted);
  EXPECT_TRUE(main.Button1.IsEnabled());
}

}  // namespace
}  // namespace morvanta::ui
