// The ignore list window, created for real under Wine over the fake machine: shown from the
// welcome page, its menu bar and the file list's pop-up menu clicked with the real mouse,
// the check boxes ticked by mouse, the folder chooser's choice and the questions' answers
// scripted through the fake's dialogs, the files read back, and a screenshot.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using test_util::ClickAt;
using test_util::ClickCheckBox;
using test_util::Pump;
using test_util::Screenshot;

// The centre of a menu item on the screen; for a menu that is open as a pop-up, `window` is
// null. Nothing when the item is not shown.
std::optional<POINT> MenuItemCentre(HWND window, HMENU menu, int index) {
  RECT r = {};
  if (!::GetMenuItemRect(window, menu, static_cast<UINT>(index), &r) || r.right <= r.left)
    return std::nullopt;
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks item `item` of `menu` once it shows as a pop-up, from another thread: an open menu
// holds the window's thread in its own loop until it closes.
std::future<bool> ClickWhenOpen(HMENU menu, int item) {
  return std::async(std::launch::async, [menu, item] {
    for (int waited = 0; waited < 5000; waited += 20) {
      HWND open = ::FindWindowA("#32768", nullptr);
      if (open && ::IsWindowVisible(open)) {
        ::Sleep(150);  // let it finish drawing
        if (auto at = MenuItemCentre(nullptr, menu, item)) return ClickAt(*at);
      }
      ::Sleep(20);
    }
    return false;
  });
}

class IgnoreListWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_ = std::make_unique<app::Session>(m_.Get());
    ASSERT_TRUE(test_util::PutDatabase(m_.files, session_->ProgramFile("files.dat"),
                                       "Thursday, 10.12.2026, Upd 0042   "));
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(50);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
  }

  // Shown as the user does it: "Ignore list" on the welcome page.
  TFormIG& Shown() {
    app_->Main().xpButtonIgnoreList.Click();
    TFormIG& window = app_->IgnoreListWindow();
    test_util::BringToFront(window.Handle());
    Pump(100);
    return window;
  }
  // Clicks a menu bar item with the mouse, and for a drop-down then its item `item`.
  bool ClickMenuBar(TFormIG& w, int barIndex, int item, const std::function<bool()>& done) {
    HMENU bar = ::GetMenu(w.Handle());
    for (int attempt = 0; attempt < 3 && !done(); ++attempt) {
      test_util::BringToFront(w.Handle());
      auto at = MenuItemCentre(w.Handle(), bar, barIndex);
      if (!at) return false;
      std::future<bool> second;
      if (item >= 0) second = ClickWhenOpen(::GetSubMenu(bar, barIndex), item);
      if (!ClickAt(*at)) return false;
      for (int waited = 0; waited < 3000 && !done(); waited += 20) Pump(20);
      if (second.valid()) second.get();
      // A menu the item click missed stays open: close it before trying again.
      if (!done()) ::SendMessageA(w.Handle(), WM_CANCELMODE, 0, 0);
    }
    return done();
  }
  std::string Read(const std::string& name) {
    const auto bytes = m_.files.ReadAll(session_->ProgramFile(name));
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  static std::vector<std::string> Captions(const ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ItemCount(); ++i) out.push_back(list.ItemText(i));
    return out;
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
};

TEST_F(IgnoreListWindowTest, OpensEmptyWithoutFilesAndCloseWritesBothWithCountZero) {
  TFormIG& w = Shown();
  ASSERT_TRUE(w.IsVisible());
  EXPECT_EQ(w.Caption(), "Ignore list (Built 20.03.2006)");
  EXPECT_EQ(::GetWindow(w.Handle(), GW_OWNER), app_->Main().Handle());
  EXPECT_EQ(w.Label1.Text(), "  File list:");
  EXPECT_EQ(w.Label2.Text(), "  Registry list:");
  EXPECT_EQ(w.List1.ItemCount(), 0);
  EXPECT_EQ(w.List2.ItemCount(), 0);
  EXPECT_TRUE(w.List1.IsEnabled() && w.List1.HasCheckBoxes());
  EXPECT_FALSE(w.List2.IsEnabled() || w.Label2.IsEnabled());
  HMENU bar = ::GetMenu(w.Handle());
  ASSERT_EQ(::GetMenuItemCount(bar), 3);
  EXPECT_EQ(w.MainMenu1.ItemText(TFormIG::kAddFolder), "Add folder to ignore list");
  EXPECT_EQ(w.MainMenu1.ItemText(TFormIG::kDeleteValues), "Delete registry values from ignore list");
  EXPECT_EQ(w.PopupMenu1.ItemText(TFormIG::kDeselectAll), "UnCheck All");
  EXPECT_EQ(Read("FileIgnoreL.fil"), "<none>");

  ASSERT_TRUE(ClickMenuBar(w, 2, -1, [&] { return !w.IsVisible(); }));  // "Close"
  EXPECT_EQ(Read("FileIgnoreL.fil"), "0\r\n");
  EXPECT_EQ(Read("RegIgnoreL.fil"), "0\r\n");
  EXPECT_TRUE(m_.dialogs.Shown().empty());
}

TEST_F(IgnoreListWindowTest, FoldersAddedByTheMenuShowAndTheCheckedOnesGoByThePopUpMenu) {
  m_.files.PutFile(session_->ProgramFile("RegIgnoreL.fil"),
                   remedy::FormatRegIgnoreList({{2, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                                 "Tool", "kept", "c:\\tools\\tool.exe", false}}));
  TFormIG& w = Shown();
  ASSERT_EQ(Captions(w.List2), std::vector<std::string>{
      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Tool"});
  for (const char* folder : {"C:\\Tools", "C:\\Tools", "D:\\Builds\\Nightly"})
    m_.dialogs.QueueFolderChoice(std::string(folder));
  // Files > "Add folder to ignore list" (the fifth item), with the mouse.
  ASSERT_TRUE(ClickMenuBar(w, 0, 4, [&] { return w.List1.ItemCount() == 1; }));
  ASSERT_EQ(m_.dialogs.FolderDialogs().size(), 1u);
  EXPECT_EQ(m_.dialogs.FolderDialogs()[0].start, "C:\\");
  EXPECT_EQ(m_.dialogs.FolderDialogs()[0].helpContext, 1000);
  w.Addfoldertoignorelist1Click();
  w.Addfoldertoignorelist1Click();
  EXPECT_EQ(Captions(w.List1),
            (std::vector<std::string>{"C:\\Tools;", "C:\\Tools;", "D:\\Builds\\Nightly;"}));
  Pump(100);
  Screenshot(w.Handle(), "ignore_list");

  ASSERT_TRUE(ClickCheckBox(w.List1.Handle(), 0));
  ASSERT_TRUE(ClickCheckBox(w.List1.Handle(), 2));
  EXPECT_FALSE(w.List1.IsChecked(1));
  // The pop-up menu of the file list, its first item, clicked with the mouse; Yes to the
  // question is the fake's default answer.
  RECT list = {};
  ::GetWindowRect(w.List1.Handle(), &list);
  auto clicked = ClickWhenOpen(w.PopupMenu1.Handle(), 0);
  ::PostMessageA(w.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.List1.Handle()),
                 MAKELPARAM(list.left + 40, list.top + 40));
  for (int waited = 0; waited < 5000 && m_.dialogs.Shown().size() < 2; waited += 20) Pump(20);
  EXPECT_TRUE(clicked.get());
  ASSERT_EQ(m_.dialogs.Shown().size(), 2u);
  EXPECT_EQ(m_.dialogs.Shown()[0].text, "Do you wan't to delete checked files from ignore list?");
  EXPECT_EQ(m_.dialogs.Shown()[0].caption, "Question");
  EXPECT_EQ(m_.dialogs.Shown()[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_FALSE(m_.dialogs.Shown()[0].topmost);
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Checked files sucessfully deleted from ignore list!");
  EXPECT_EQ(m_.dialogs.Shown()[1].caption, "Information");
  EXPECT_EQ(Captions(w.List1), std::vector<std::string>{"C:\\Tools;"});

  // Closed with the window's own close box, then shown again: the line is read back.
  ::PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
  for (int waited = 0; waited < 3000 && w.IsVisible(); waited += 20) Pump(20);
  ASSERT_FALSE(w.IsVisible());
  EXPECT_EQ(Read("FileIgnoreL.fil"), "1\r\nFolder\r\nC:\\Tools;\r\n\r\n\r\n0\r\n0\r\n0\r\n1\r\n");
  session_->Ignore().files.clear();
  Shown();
  EXPECT_EQ(Captions(w.List1), std::vector<std::string>{"C:\\Tools;"});
  EXPECT_EQ(w.List2.ItemCount(), 1);
}

}  // namespace
}  // namespace morvanta::ui
