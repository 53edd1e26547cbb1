// The drive window of the full drive scan, for real under Wine: it opens from the quick
// scan's offer with the main window disabled, follows the user's ticks, starts the scan a
// second after "Scan", and "Abort" asks whether to scan after all or to fix at once.
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <utility>
#include <vector>
#include <string>

#include "main_window_fixture.h"
#include "runs/full_drive_scan.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::MessageAnswer;
using platform::win32::PressMessageBoxButton;
using platform::win32::WaitForMessageBox;
using test_util::Pump;

class DriveWindowTest : public MainWindowTest {
 protected:
  void TearDown() override {
    p_.files.DeleteFile(worm_);
    MainWindowTest::TearDown();
  }

  // A quick scan that finds one worm; the user says Yes to it and Yes to the full scan.
  void ScanAndAcceptTheFullScan() {
    worm_ = folder_ + "drive-worm.exe";
    ASSERT_TRUE(p_.files.WriteAll(worm_, "the drive window's worm"));
    const std::string text = std::string(kDate) + "\r\n/0/[Worm.Drive]:" + worm_ + "\r\n_end\r\n";
    session_->Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));
    auto user = std::async(std::launch::async, [] {
      for (const char* caption : {"Question", "Alert"}) {
        auto box = WaitForMessageBox(caption, 20000);
        if (!box) return std::string("no box ") + caption;
        PressMessageBoxButton(box->window, MessageAnswer::Yes);
      }
      return std::string();
    });
    app_->Main().Button4.Click();
    ASSERT_EQ(user.get(), "");
    Pump(200);
  }

  // Unticks every drive with the mouse, so that a scan walks nothing. A click that a busy
  // machine delivers late can tick a box again: the rounds go on until none is ticked.
  void UntickEveryDrive() {
    ListView& list = app_->DriveWindow().cList1;
    const auto anyTicked = [&] {
      for (int i = 0; i < list.ItemCount(); ++i)
        if (list.IsChecked(i)) return true;
      return false;
    };
    for (int round = 0; round < 5 && anyTicked(); ++round) {
      for (int i = 0; i < list.ItemCount(); ++i)
        if (list.IsChecked(i)) test_util::ClickCheckBox(list.Handle(), i, /*once=*/true);
      Pump(300);
    }
    ASSERT_FALSE(anyTicked());
  }

  // Waits until the results page is back: "Quick scan" enabled again.
  bool PageIsBack() {
    for (int waited = 0; waited < 10000 && !app_->Main().Button1.IsEnabled(); waited += 20) Pump(20);
    return app_->Main().Button1.IsEnabled();
  }

  std::string worm_;
};

TEST_F(DriveWindowTest, OpensWithTheFixedDrivesAndScansASecondAfterScan) {
  ScanAndAcceptTheFullScan();
  TForm3& drives = app_->DriveWindow();
  TForm1& main = app_->Main();
  ASSERT_TRUE(drives.IsVisible());
  EXPECT_FALSE(::IsWindowEnabled(main.Handle()));
  const std::string fixed = runs::ListDrives(p_, -1, platform::DriveType::Fixed);
  ASSERT_FALSE(fixed.empty());
  EXPECT_EQ(drives.SelectedDrives(), fixed);
  ASSERT_EQ(static_cast<size_t>(drives.cList1.ItemCount()), runs::SplitDrives(fixed).size());
  for (int i = 0; i < drives.cList1.ItemCount(); ++i) EXPECT_TRUE(drives.cList1.IsChecked(i));
  EXPECT_EQ(drives.Label1.Text(), "Scan drives " + fixed);
  EXPECT_EQ(drives.Memo1.Text(), catalog_().Text(common::Msg::FullScanPrompt));
  ASSERT_EQ(main.List1.ItemCount(), 2);  // the header line waits for the full scan
  EXPECT_EQ(main.List1.ItemText(0), "Scanning...");
  test_util::Screenshot(drives.Handle(), "drive_window");

  UntickEveryDrive();
  Pump(100);
  EXPECT_EQ(drives.SelectedDrives(), "");
  EXPECT_EQ(drives.Label1.Text(), "Scan drives ");
  ASSERT_TRUE(test_util::ClickCheckBoxUntil(drives.cList1.Handle(), 0,
                                            [&] { return drives.cList1.IsChecked(0); }));
  Pump(100);
  EXPECT_EQ(drives.SelectedDrives(), drives.cList1.ItemText(0) + ";");
  UntickEveryDrive();
  Pump(100);
  ASSERT_EQ(drives.SelectedDrives(), "");  // a scan now walks nothing

  const auto seen = Answering({{"Alert", MessageAnswer::Ok}}, [&] {
    drives.xpButton1.Click();
    EXPECT_FALSE(drives.IsVisible());
    EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
    EXPECT_TRUE(drives.TimerRunning());
    EXPECT_EQ(main.List1.ItemCount(), 2);  // not yet: a second later
    EXPECT_TRUE(PageIsBack());
  });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "You have 1 dangerous files in your computer, click \"Fix\" button to fix this tasks!");
  ASSERT_EQ(main.List1.ItemCount(), 1);
  EXPECT_EQ(main.List1.ItemText(0), "Infected with Worm.Drive");
  EXPECT_TRUE(main.Button2.IsEnabled() && main.xpButton5.IsEnabled());
  EXPECT_EQ(main.sb1.PanelText(0), "Scan process finished.");
  EXPECT_NE(main.Memo2.Text().find(": 1 Dangerous files have been found on your computer."),
            std::string::npos);
}

TEST_F(DriveWindowTest, AbortThenNoScansAfterAll) {
  ScanAndAcceptTheFullScan();
  UntickEveryDrive();
  TForm3& drives = app_->DriveWindow();
  Pump(100);
  ASSERT_EQ(drives.SelectedDrives(), "");  // a scan now walks nothing
  const auto seen = Answering({{"Morvanta Pro Scan alert", MessageAnswer::No}, {"Alert", MessageAnswer::Ok}},
                              [&] {
                                drives.xpButton3.Click();
                                EXPECT_TRUE(PageIsBack());
                              });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Do you want to abort full scan process?\r\rNote:\rIf aborting without full "
                     "scan process your computer might not be cleaned 100%!");
  EXPECT_EQ(seen[1].substr(0, 11), "You have 1 ");
  EXPECT_FALSE(drives.IsVisible());
  EXPECT_EQ(app_->Main().List1.ItemCount(), 1);
}

TEST_F(DriveWindowTest, TheCloseBoxAbortsAndYesYesFixesAtOnce) {
  ScanAndAcceptTheFullScan();
  TForm3& drives = app_->DriveWindow();
  TForm1& main = app_->Main();
  const auto seen = Answering({{"Morvanta Pro Scan alert", MessageAnswer::Yes},
                               {"Question", MessageAnswer::Yes},
                               {"Information", MessageAnswer::Ok}},
                              [&] { ::SendMessageA(drives.Handle(), WM_CLOSE, 0, 0); });
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1], "Do you want to clean active virus alerts?");
  EXPECT_EQ(seen[2].substr(0, 27), "1 alerts have been cleaned!");
  Pump(100);
  EXPECT_FALSE(drives.IsVisible());
  EXPECT_FALSE(drives.TimerRunning());
  EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
  EXPECT_FALSE(p_.files.Exists(worm_));
  ASSERT_EQ(main.List1.ItemCount(), 1);
  EXPECT_EQ(main.List1.ItemText(0).substr(0, 9), "Clean...[");
  EXPECT_FALSE(main.Button2.IsEnabled());
  EXPECT_EQ(main.sb1.PanelText(0), "Fix process finished.");
  test_util::Screenshot(main.Handle(), "results_page_after_fix");
}

TEST_F(DriveWindowTest, AbortThenYesNoPutsThePageBack) {
  ScanAndAcceptTheFullScan();
  TForm1& main = app_->Main();
  const auto seen = Answering({{"Morvanta Pro Scan alert", MessageAnswer::Yes},
                               {"Question", MessageAnswer::No}},
                              [&] { app_->DriveWindow().xpButton3.Click(); });
  ASSERT_EQ(seen.size(), 2u);
  Pump(1500);  // longer than the timer would take
  EXPECT_TRUE(p_.files.FileExists(worm_));
  ASSERT_EQ(main.List1.ItemCount(), 1);
  EXPECT_EQ(main.List1.ItemText(0), "Infected with Worm.Drive");
  EXPECT_TRUE(main.Button1.IsEnabled() && main.Button2.IsEnabled() && main.Button6.IsVisible());
  EXPECT_FALSE(main.Button3.IsEnabled());
  EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
}

}  // namespace
}  // namespace morvanta::ui
