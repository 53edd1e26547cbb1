// The Quarantine Manager, created for real under Wine over the fake machine: shown from the
// welcome page, its buttons clicked with the real mouse, the questions answered and the file
// dialog's choice scripted through the fake's dialogs, and screenshots.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "ui/application.h"
#include "ui_test_util.h"

namespace morvanta::ui {
namespace {

using platform::MessageAnswer;
using test_util::ClickCheckBox;
using test_util::ClickControlUntil;
using test_util::Pump;
using test_util::Screenshot;

class QuarantineWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_.system.SetDateText("10.12.2026");
    m_.system.SetTimeText("14:03:07");
    session_ = std::make_unique<app::Session>(m_.Get());
    ASSERT_TRUE(test_util::PutDatabase(m_.files, session_->ProgramFile("files.dat"),
                                       "Thursday, 10.12.2026, Upd 0042   "));
    const struct {
      const char* path;
      const char* task;
    } stored[] = {
        {"C:\\Documents and Settings\\User\\Local Settings\\Temp\\winupd32.exe", "Worm.Win32.Netsky"},
        {"C:\\WINDOWS\\system32\\msvcrt64.dll", "Trojan-Spy.Win32.Bancos"},
        {"C:\\Program Files\\Free Toolbar\\toolbar.dll", "Adware.FreeBar"},
    };
    for (const auto& s : stored) {
      m_.files.PutFile(s.path, std::string("bytes of ") + s.path);
      ASSERT_TRUE(session_->Quarantine().AddToQuarantine(s.path, s.task, "0123456789abcdef0123456789abcdef"));
      ASSERT_TRUE(m_.files.DeleteFile(s.path));
      paths_.push_back(s.path);
    }
    app_ = std::make_unique<Application>(*session_);
    ASSERT_TRUE(app_->CreateWindows());
    app_->Main().Show();
    Pump(50);
  }
  void TearDown() override {
    app_.reset();
    session_.reset();
  }

  // Shown as the user does it: "Quarantine" on the welcome page.
  TForm9& Shown() {
    app_->Main().xpButton6.Click();
    TForm9& window = app_->QuarantineWindow();
    test_util::BringToFront(window.Handle());
    Pump(100);
    return window;
  }
  std::string Read(const std::string& path) {
    const auto bytes = m_.files.ReadAll(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  std::vector<std::string> Captions(const ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ItemCount(); ++i) out.push_back(list.ItemText(i));
    return out;
  }
  const std::vector<platform::Message>& Messages() { return m_.dialogs.Shown(); }
  // Clicks a button with the mouse until `count` messages have been shown in all.
  bool ClickUntilShown(Button& button, size_t count) {
    return ClickControlUntil(button.Handle(), [&] { return m_.dialogs.Shown().size() >= count; });
  }

  platform::fake::FakePlatform m_;
  std::unique_ptr<app::Session> session_;
  std::unique_ptr<Application> app_;
  std::vector<std::string> paths_;
};

TEST_F(QuarantineWindowTest, TheWelcomePagesButtonShowsTheEntriesTicked) {
  TForm9& q = Shown();
  ASSERT_TRUE(q.IsVisible());
  EXPECT_EQ(q.Caption(), "Quarantine Manager");
  EXPECT_EQ(::GetWindow(q.Handle(), GW_OWNER), app_->Main().Handle());
  EXPECT_TRUE(::IsWindowEnabled(app_->Main().Handle()));  // not modal

  ASSERT_EQ(q.List1.ColumnCount(), 3);
  const char* columns[] = {"Filename", "Task", "Added"};
  int widths = 0;
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(q.List1.ColumnAt(c).caption, columns[c]);
    widths += q.List1.ColumnAt(c).width;
  }
  // The columns fit beside a vertical scroll bar: no sideways scrolling.
  RECT client = {};
  ::GetClientRect(q.List1.Handle(), &client);
  EXPECT_LE(widths, client.right - ::GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_TRUE(q.List1.HasCheckBoxes());

  EXPECT_EQ(Captions(q.List1), paths_);
  const char* tasks[] = {"Worm.Win32.Netsky", "Trojan-Spy.Win32.Bancos", "Adware.FreeBar"};
  // The task and the time show whole: the text and the list's margins fit the column.
  const auto fits = [&](const std::string& text, int column) {
    const auto drawn = ::SendMessageA(q.List1.Handle(), LVM_GETSTRINGWIDTHA, 0,
                                      reinterpret_cast<LPARAM>(text.c_str()));
    return drawn + 12 <= q.List1.ColumnAt(column).width;
  };
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(q.List1.ItemText(i, 1), tasks[i]);
    EXPECT_EQ(q.List1.ItemText(i, 2), "10.12.2026, 14:03:07");
    EXPECT_TRUE(fits(q.List1.ItemText(i, 1), 1)) << tasks[i];
    EXPECT_TRUE(fits(q.List1.ItemText(i, 2), 2));
    EXPECT_TRUE(q.List1.IsChecked(i));
  }

  // Each button shows its whole caption, and the buttons do not overlap and stay inside.
  const struct {
    Button& button;
    const char* caption;
  } buttons[] = {{q.xpButton1, "Close"},       {q.xpButton2, "Restore selected tasks"},
                 {q.xpButton3, "Add Task"},    {q.xpButton4, "Remove Task"},
                 {q.xpButton5, "Clear Quarantine"}, {q.xpButton6, "Refresh"}};
  std::vector<RECT> places;
  HDC dc = ::GetDC(q.Handle());
  for (const auto& b : buttons) {
    EXPECT_EQ(b.button.Text(), b.caption);
    RECT r = {};
    ::GetWindowRect(b.button.Handle(), &r);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(b.button.Handle(), WM_GETFONT, 0, 0)));
    SIZE text = {};
    ::GetTextExtentPoint32A(dc, b.caption, static_cast<int>(std::string(b.caption).size()), &text);
    ::SelectObject(dc, old);
    EXPECT_LE(text.cx + 12, r.right - r.left) << b.caption;
    RECT window = {};
    ::GetClientRect(q.Handle(), &window);
    ::MapWindowPoints(q.Handle(), nullptr, reinterpret_cast<POINT*>(&window), 2);
    EXPECT_GE(r.left, window.left) << b.caption;
    EXPECT_LE(r.right, window.right) << b.caption;
    for (const RECT& other : places) {
      RECT overlap = {};
      EXPECT_FALSE(::IntersectRect(&overlap, &r, &other)) << b.caption;
    }
    places.push_back(r);
  }
  ::ReleaseDC(q.Handle(), dc);
  Screenshot(q.Handle(), "quarantine_window");
}

TEST_F(QuarantineWindowTest, RestoreWithTheMouseMarksEachTickedRow) {
  TForm9& q = Shown();
  // The first row's stored copy is gone: it fails, and the third still gets its own file.
  ASSERT_TRUE(m_.files.DeleteFile(session_->Quarantine().Index()[0].StoredPath));
  ASSERT_TRUE(ClickCheckBox(q.List1.Handle(), 1));
  ASSERT_FALSE(q.List1.IsChecked(1));

  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  ASSERT_TRUE(ClickUntilShown(q.xpButton2, 2));
  Pump(50);
  EXPECT_EQ(Captions(q.List1),
            (std::vector<std::string>{"Cannot restore file!", paths_[1], "File restored..."}));
  EXPECT_EQ(q.Bar1.PanelText(0), "Restoring " + paths_[2]);
  EXPECT_EQ(Read(paths_[0]), "<none>");
  EXPECT_EQ(Read(paths_[1]), "<none>");
  EXPECT_EQ(Read(paths_[2]), "bytes of " + paths_[2]);

  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].text, "Do you want to restore selected tasks?");
  EXPECT_EQ(Messages()[0].caption, "Question");
  EXPECT_EQ(Messages()[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(Messages()[1].text, "Selected tasks have been restored!");
  EXPECT_EQ(Messages()[1].caption, "Information");
  for (const auto& m : Messages()) {
    EXPECT_TRUE(m.topmost && m.setForeground) << m.text;
    EXPECT_EQ(m.owner, q.Handle()) << m.text;
  }
  for (Button* b : {&q.xpButton2, &q.xpButton3, &q.xpButton4, &q.xpButton5, &q.xpButton6})
    EXPECT_TRUE(b->IsEnabled());
  Screenshot(q.Handle(), "quarantine_window_restored");
}

TEST_F(QuarantineWindowTest, RemoveThenRefreshNoLongerShowsTheRemovedRows) {
  TForm9& q = Shown();
  ASSERT_TRUE(ClickCheckBox(q.List1.Handle(), 2));
  const std::string copy = session_->Quarantine().Index()[0].StoredPath;
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  ASSERT_TRUE(ClickUntilShown(q.xpButton4, 2));
  Pump(50);
  EXPECT_EQ(Captions(q.List1), (std::vector<std::string>{"Task removed!", "Task removed!", paths_[2]}));
  EXPECT_EQ(q.Bar1.PanelText(0), "Deleting " + paths_[1]);
  EXPECT_FALSE(m_.files.Exists(copy));
  EXPECT_EQ(Messages()[0].text, "Do you want to delete selected tasks?");
  EXPECT_FALSE(Messages()[0].topmost);
  EXPECT_EQ(Messages()[1].text, "Selected tasks have been removed!");
  EXPECT_TRUE(Messages()[1].topmost);

  ASSERT_TRUE(ClickControlUntil(q.xpButton6.Handle(), [&] { return q.List1.ItemCount() == 1; }));
  EXPECT_EQ(Captions(q.List1), (std::vector<std::string>{paths_[2]}));
  EXPECT_TRUE(q.List1.IsChecked(0));
}

TEST_F(QuarantineWindowTest, AddTaskTakesTheDialogsFileOnce) {
  TForm9& q = Shown();
  const std::string picked = "C:\\Downloads\\Setup Helper.exe";
  m_.files.PutFile(picked, "picked by hand");

  m_.dialogs.QueueFileChoice(picked);
  ASSERT_TRUE(ClickUntilShown(q.xpButton3, 1));
  ASSERT_EQ(m_.dialogs.FileDialogs().size(), 1u);
  EXPECT_EQ(m_.dialogs.FileDialogs()[0].title, "Add task into Quaranteen");
  EXPECT_EQ(m_.dialogs.FileDialogs()[0].owner, q.Handle());
  const platform::Message& added = Messages()[0];
  EXPECT_EQ(added.text, "File added to Quarantine, you can safely delete it!");
  // A plain message: the application's title, OK, no icon, not on top.
  EXPECT_EQ(added.caption, "Morvanta Pro v4 - SE");
  EXPECT_EQ(added.icon, platform::MessageIcon::None);
  EXPECT_EQ(added.buttons, platform::MessageButtons::Ok);
  EXPECT_FALSE(added.topmost);
  ASSERT_EQ(q.List1.ItemCount(), 4);
  EXPECT_EQ(q.List1.ItemText(3), picked);
  EXPECT_EQ(q.List1.ItemText(3, 1), "Unknown");
  EXPECT_EQ(Read(picked), "picked by hand");

  // Chosen again in other letters: the message, and the list and index as they were.
  const auto index = m_.files.ReadAll(session_->Quarantine().IndexFile());
  m_.dialogs.QueueFileChoice("c:\\downloads\\SETUP HELPER.EXE");
  q.xpButton3.Click();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1].text, "File already exists in Quarantine!");
  EXPECT_EQ(Messages()[1].caption, "Morvanta Pro v4 - SE");
  EXPECT_EQ(m_.files.ReadAll(session_->Quarantine().IndexFile()), index);
  EXPECT_EQ(q.List1.ItemCount(), 4);

  // Cancelled: nothing.
  q.xpButton3.Click();
  EXPECT_EQ(m_.dialogs.FileDialogs().size(), 3u);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(QuarantineWindowTest, ClearEmptiesTheListAndShowingAgainReadsTheIndex) {
  TForm9& q = Shown();
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  ASSERT_TRUE(ClickUntilShown(q.xpButton5, 2));
  EXPECT_EQ(q.List1.ItemCount(), 0);
  EXPECT_EQ(Messages()[0].text, "Do you want to clear quarantine?");
  EXPECT_EQ(Messages()[0].caption, "Question");
  EXPECT_FALSE(Messages()[0].topmost);
  EXPECT_EQ(Messages()[1].text, "Quarantine cleared!");
  EXPECT_EQ(Messages()[1].caption, "Morvanta Pro v4 - SE");
  EXPECT_FALSE(m_.files.Exists(session_->Quarantine().IndexFile()));

  ASSERT_TRUE(ClickControlUntil(q.xpButton1.Handle(), [&] { return !q.IsVisible(); }));
  // Stored meanwhile by another program: the next showing lists it.
  remedy::QuarantineStore other(m_.Get(), session_->ProgramFolder());
  m_.files.PutFile("C:\\late.exe", "late");
  ASSERT_TRUE(other.AddToQuarantine("C:\\late.exe", "Late", ""));
  Shown();
  EXPECT_EQ(Captions(q.List1), (std::vector<std::string>{"C:\\late.exe"}));
}

}  // namespace
}  // namespace morvanta::ui
