// The report manager, created for real under Wine over the fake machine: shown by the main
// window's "Full report log", its table of planted rows, the context menus chosen by a
// selection and by ticks clicked with the real mouse, a deletion answered through the fake's
// dialogs, and a screenshot; then rows of every kind and colour (ticked rows yellow, the size
// of an empty file red and of a missing one blue, all else black), each cell's colours read
// back from what the list view drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "platform/fake/fake_platform.h"
#include "runs/full_report.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::RegRoot;
using platform::RegValue;
using test_util::Pump;

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ReportManagerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<app::Session>(m_.Get());
    ASSERT_TRUE(test_util::PutDatabase(m_.files, session_->ProgramFile("files.dat"),
                                       "Thursday, 10.12.2026, Upd 0042   "));
    m_.files.PutFile(session_->ProgramFile("RegBase.rgk"), std::string("1\r\n1\r\n") + kRun + "\r\nRun\r\n");
    m_.files.PutFile("C:\\Tools\\agent.exe", "MZ agent!");
    m_.files.PutFile("C:\\Tools\\empty.exe", "");
    m_.processes.AddProcess("agent.exe", std::string("C:\\Tools\\agent.exe"));
    auto run = m_.registry.CreateKey(RegRoot::CurrentUser, kRun);
    run->WriteValue("agent", RegValue::FromString("C:\\Tools\\agent.exe /tray"));
    run->WriteValue("empty", RegValue::FromString("C:\\Tools\\empty.exe"));
    run->WriteValue("missing", RegValue::FromString("C:\\Tools\\missing.exe"));
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(50);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
  }
  int RowOf(TFormR& w, const std::string& kind, const std::string& path) {
    for (int item = 0; item < w.List1.ItemCount(); ++item)
      if (w.List1.ItemText(item) == kind && w.List1.ItemText(item, 1) == path) return item;
    return -1;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(ReportManagerWindowTest, TableMenusAndDeletion) {
  app_->Main().Button10.Click();
  TFormR& w = app_->ReportManagerWindow();
  test_util::BringToFront(w.Handle());
  Pump(100);
  ASSERT_TRUE(w.IsVisible());
  EXPECT_EQ(w.Caption(), "Report Manager");
  ASSERT_EQ(w.List1.ColumnCount(), 4);
  const char* columns[] = {"ID", "FileName", "File Size", "Key"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(w.List1.ColumnAt(c).caption, columns[c]);

  const int proc = RowOf(w, "Proc", "C:\\Tools\\agent.exe");
  const int command = RowOf(w, "RegStartup", "C:\\Tools\\agent.exe /tray");
  const int empty = RowOf(w, "RegStartup", "C:\\Tools\\empty.exe");
  ASSERT_GE(proc, 0);
  ASSERT_GE(command, 0);
  ASSERT_GE(empty, 0);
  ASSERT_GE(RowOf(w, "RegStartup", "C:\\Tools\\missing.exe"), 0);
  EXPECT_EQ(w.List1.ItemText(proc, 2), "9");
  EXPECT_EQ(w.List1.ItemText(command, 2), "0");
  EXPECT_EQ(w.List1.ItemText(command, 3), std::string("HKEY_CURRENT_USER\\") + kRun + "\\");
  EXPECT_EQ(w.List1.ItemText(proc, 3), "");

  // A selection chooses by its row; ticks and a click by the ticked rows.
  w.List1.Select(proc);
  Pump(50);
  EXPECT_EQ(w.CurrentMenu(), runs::ReportMenu::Process);
  EXPECT_EQ(w.Manager().SelectedPath(), "C:\\Tools\\agent.exe");
  ASSERT_TRUE(test_util::ClickCheckBox(w.List1.Handle(), proc));
  ASSERT_TRUE(test_util::ClickCheckBox(w.List1.Handle(), command));
  Pump(50);
  EXPECT_EQ(w.CurrentMenu(), runs::ReportMenu::General);  // one of each leaves the general menu
  EXPECT_EQ(w.MenuOf(runs::ReportMenu::Process).ItemText(TFormR::kTerminateProcesses),
            "Terminate proceses");
  test_util::Screenshot(w.Handle(), "report_manager");

  // The general "Delete files" on the two ticked rows: the program goes, the command with
  // arguments names no file and stays with its error box.
  m_.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
  ASSERT_TRUE(w.Run(TFormR::kDeleteFiles));
  Pump(50);
  EXPECT_FALSE(m_.files.Exists("C:\\Tools\\agent.exe"));
  ASSERT_EQ(m_.dialogs.Shown().size(), 2u);
  EXPECT_EQ(m_.dialogs.Shown()[0].text, "Do you want to delete selected items?");
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Cannot delete file C:\\Tools\\agent.exe /tray.");
  EXPECT_EQ(RowOf(w, "Proc", "C:\\Tools\\agent.exe"), -1);
  EXPECT_GE(RowOf(w, "RegStartup", "C:\\Tools\\agent.exe /tray"), 0);

  // "Save full report log" shows the Log Optimizer.
  w.xpButton3.Click();
  Pump(50);
  EXPECT_TRUE(app_->LogOptimizer().IsVisible());
}

// What a cell of the list view shows, read from the screen: how many of its pixels are of
// each colour that matters.
struct CellPixels {
  int yellow = 0, red = 0, blue = 0, dark = 0, total = 0;
};

CellPixels PixelsOfCell(const WindowPicture& picture, HWND list, int item, int subItem) {
  RECT cell = {};
  cell.top = subItem;
  // The first cell without its check box; the others whole.
  cell.left = subItem == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  CellPixels counts;
  if (!::SendMessageA(list, LVM_GETSUBITEMRECT, item, reinterpret_cast<LPARAM>(&cell))) return counts;
  if (subItem == 0) {
    // Only the first column (LVIR_LABEL can run on to the row's end).
    RECT second = {};
    second.top = 1;
    second.left = LVIR_BOUNDS;
    if (::SendMessageA(list, LVM_GETSUBITEMRECT, item, reinterpret_cast<LPARAM>(&second)))
      cell.right = std::min(cell.right, second.left);
  }
  // The list's client area inside the captured window, and the focus frame left out.
  RECT window = {};
  ::GetWindowRect(list, &window);
  POINT origin = {0, 0};
  ::ClientToScreen(list, &origin);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
    for (int x = cell.left + 2; x < cell.right - 2; ++x) {
      const int px = x + dx, py = y + dy;
      if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
      const unsigned char* bgr =
          picture.pixels.data() + static_cast<size_t>(picture.height - 1 - py) * picture.stride + 3 * px;
      const int b = bgr[0], g = bgr[1], r = bgr[2];
      ++counts.total;
      if (r >= 200 && g >= 200 && b <= 60) ++counts.yellow;
      else if (r >= 160 && g <= 90 && b <= 90) ++counts.red;
      else if (b >= 160 && r <= 90 && g <= 90) ++counts.blue;
      else if (r <= 80 && g <= 80 && b <= 80) ++counts.dark;
    }
  }
  return counts;
}

TEST_F(ReportManagerWindowTest, OnlyTheCellsTheRulesColourAreColoured) {
  // A row of every kind: the Run values and the agent of the fixture, an uninstall command
  // (one of the registry's autostart places), a Startup-folder shortcut, a service and a
  // System.ini line, the lists loaded as the tool windows load them.
  m_.files.PutFile("C:\\Tools\\unins000.exe", "MZ uninstaller");
  m_.registry.CreateKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool")
      ->WriteValue("UninstallString", RegValue::FromString("C:\\Tools\\unins000.exe"));
  m_.registry.CreateKey(RegRoot::CurrentUser,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")
      ->WriteValue("Startup", RegValue::FromString("C:\\Startup"));
  m_.files.CreateDirectory("C:\\Startup");
  m_.shell.CreateShortcut("C:\\Startup\\Agent.lnk", "C:\\Tools\\agent.exe");
  m_.files.PutFile("C:\\Tools\\svc.exe", "MZ service");
  m_.services.Create({"mvsvc", "Morvanta Test Service", "C:\\Tools\\svc.exe"});
  m_.files.PutFile("C:\\windows\\system.ini", "[boot]\r\nload=c:\\tools\\agent.exe\r\n");
  common::NoMessages pump;
  common::ScriptedPrompts prompts;
  runs::ReloadInspectionLists(*session_, pump, prompts);

  app_->Main().Button10.Click();
  TFormR& w = app_->ReportManagerWindow();
  test_util::BringToFront(w.Handle());
  Pump(100);
  ASSERT_TRUE(w.IsVisible());
  const HWND list = w.List1.Handle();
  const int proc = RowOf(w, "Proc", "C:\\Tools\\agent.exe");
  const int command = RowOf(w, "RegStartup", "C:\\Tools\\agent.exe /tray");  // blue, ticked
  const int empty = RowOf(w, "RegStartup", "C:\\Tools\\empty.exe");          // red, ticked
  const int missing = RowOf(w, "RegStartup", "C:\\Tools\\missing.exe");      // blue
  std::vector<int> rows = {proc, command, empty, missing};
  for (const char* kind : {"Clsid", "Startup", "Service", "System.ini"}) {
    int row = -1;
    for (int item = 0; item < w.List1.ItemCount() && row < 0; ++item)
      if (w.List1.ItemText(item) == kind) row = item;
    EXPECT_GE(row, 0) << kind;
    rows.push_back(row);
  }
  for (int row : rows) ASSERT_GE(row, 0);

  // Ticked with the real mouse: a sized file's row, a missing one's and an empty one's; a
  // missing file's row unticked and selected.
  ASSERT_TRUE(test_util::ClickCheckBox(list, proc));
  ASSERT_TRUE(test_util::ClickCheckBox(list, command));
  ASSERT_TRUE(test_util::ClickCheckBox(list, empty));
  w.List1.Select(missing);
  Pump(100);
  test_util::Screenshot(w.Handle(), "report_manager_colours");
  // As the clicks left the table (each repainted what it changed), then drawn anew whole.
  std::vector<WindowPicture> pictures;
  auto asDrawn = CaptureWindow(list);
  ASSERT_TRUE(asDrawn);
  pictures.push_back(std::move(*asDrawn));
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump(100);
  auto redrawn = CaptureWindow(list);
  ASSERT_TRUE(redrawn);
  pictures.push_back(std::move(*redrawn));

  const int kSize = runs::kSizeColumn;
  for (size_t picture = 0; picture < pictures.size(); ++picture)
    for (int row : rows) {
      const bool ticked = w.List1.IsChecked(row);
      for (int column = 0; column < runs::kReportColumns; ++column) {
        const CellPixels cell = PixelsOfCell(pictures[picture], list, row, column);
        const std::string where = (picture == 0 ? "as drawn: " : "redrawn: ") + w.List1.ItemText(row) +
                                  " " + w.List1.ItemText(row, 1) + ", column " + std::to_string(column);
        ASSERT_GT(cell.total, 0) << where;
        // Ticked rows on yellow in every cell; the others on none.
        if (ticked) {
          EXPECT_GT(cell.yellow, cell.total / 2) << where;
        } else {
          EXPECT_EQ(cell.yellow, 0) << where;
        }
        if (column == kSize && w.List1.ItemText(row, kSize) == "0") {
          // The size "0": red when the file is there, blue when not.
          const bool present = row == empty;
          EXPECT_GT(present ? cell.red : cell.blue, 0) << where;
          EXPECT_EQ(present ? cell.blue : cell.red, 0) << where;
        } else {
          // Every other text black.
          EXPECT_EQ(cell.red, 0) << where;
          EXPECT_EQ(cell.blue, 0) << where;
          if (!w.List1.ItemText(row, column).empty()) {
            EXPECT_GT(cell.dark, 0) << where;
          }
        }
      }
    }
}

}  // namespace
}  // namespace morvanta::ui
