// The main window's startup page on the fake machine: rows from the RegBase keys, Delete
// values with its answers and messages, and the report section.
#include <gtest/gtest.h>

#include "inspect/startup_page.h"
#include "page_test_util.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using platform::MessageAnswer;
using platform::RegRoot;
using platform::RegValue;

constexpr char kRegBase[] = "C:\\Program\\RegBase.rgk";
constexpr char kCuRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kLmRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kCuOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class StartupPageTest : public ::testing::Test {
 protected:
  StartupPageTest() : page_(m_.Get(), catalog_, list_, report_, kRegBase) {}
  void SetUp() override {
    m_.files.PutFile(kRegBase, std::string("3\r\n1\r\n") + kCuRun + "\r\nRun\r\n2\r\n" + kLmRun +
                                   "\r\nRun\r\n1\r\n" + kCuOnce + "\r\nRunOnce\r\n");
    Write(RegRoot::CurrentUser, kCuRun, "agent", RegValue::FromString("c:\\agent.exe /tray"));
    Write(RegRoot::CurrentUser, kCuRun, "flags", RegValue::FromDword(1));
    Write(RegRoot::CurrentUser, kCuRun, "twin", RegValue::FromString("c:\\twin.exe"));
    Write(RegRoot::LocalMachine, kLmRun, "twin", RegValue::FromString("c:\\twin.exe"));
    Write(RegRoot::LocalMachine, kLmRun, "sound", RegValue::FromString("c:\\snd.exe"));
  }
  void Write(RegRoot root, const std::string& key, const std::string& name, const RegValue& v) {
    m_.registry.CreateKey(root, key)->WriteValue(name, v);
  }
  bool Has(RegRoot root, const std::string& key, const std::string& name) {
    auto k = m_.registry.OpenKey(root, key, platform::RegAccess::Read);
    return k && k->ReadValue(name).has_value();
  }
  void Tick(int row) { list_.rows.at(row).checked = true; }

  platform::fake::FakePlatform m_;
  common::MessageCatalog catalog_;
  MemoryCheckList list_;
  MemoryReport report_;
  StartupPage page_;
};

TEST_F(StartupPageTest, RefreshListsTextValuesOfTheListedKeys) {
  page_.Refresh();
  EXPECT_EQ(list_.Captions(), (std::vector<std::string>{"agent", "twin", "twin", "sound"}));
  EXPECT_EQ(list_.SubItem(0, 0), "c:\\agent.exe /tray");
  ASSERT_EQ(page_.Entries().size(), 4u);
  EXPECT_EQ(page_.Entries()[3].RootKey, RegRoot::LocalMachine);
  EXPECT_EQ(page_.Entries()[3].Key, kLmRun);
  EXPECT_EQ(page_.Entries()[3].Name, "sound");
  EXPECT_EQ(page_.Entries()[3].Value, "c:\\snd.exe");
  EXPECT_TRUE(report_.lines.empty());

  m_.files.DeleteFile(kRegBase);
  page_.Refresh();
  EXPECT_EQ(list_.RowCount(), 0);
  EXPECT_TRUE(page_.Entries().empty());
}

TEST_F(StartupPageTest, ReportSectionWhileAReportIsWritten) {
  report_.writing = true;
  page_.Refresh();
  const std::string cu = std::string("HKEY_CURRENT_USER\\") + kCuRun + "\\";
  const std::string lm = std::string("HKEY_LOCAL_MACHINE\\") + kLmRun + "\\";
  EXPECT_EQ(report_.lines,
            (std::vector<std::string>{"Startup files:", cu + "agent", "[c:\\agent.exe /tray]",
                                      cu + "twin", "[c:\\twin.exe]", lm + "twin",
                                      "[c:\\twin.exe]", lm + "sound", "[c:\\snd.exe]"}));
}

TEST_F(StartupPageTest, AnsweringNoDeletesNothing) {
  page_.Refresh();
  Tick(0);
  m_.dialogs.QueueAnswer(MessageAnswer::No);
  page_.DeleteValues(nullptr);
  ASSERT_EQ(m_.dialogs.Shown().size(), 1u);
  const auto& q = m_.dialogs.Shown()[0];
  EXPECT_EQ(q.text, "Do you want to delete selected values?");
  EXPECT_EQ(q.caption, "Question");
  EXPECT_EQ(q.buttons, platform::MessageButtons::YesNo);
  EXPECT_TRUE(q.topmost && q.setForeground);
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
}

TEST_F(StartupPageTest, YesDeletesTickedValuesConfirmsAndRefreshes) {
  page_.Refresh();
  Tick(0);  // agent
  Tick(3);  // sound
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  page_.DeleteValues(nullptr);
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kLmRun, "sound"));
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "flags"));
  ASSERT_EQ(m_.dialogs.Shown().size(), 2u);
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Selected values successfully deleted!");
  EXPECT_EQ(m_.dialogs.Shown()[1].caption, "Information");
  EXPECT_EQ(m_.dialogs.Shown()[1].icon, platform::MessageIcon::Information);
  EXPECT_EQ(list_.Captions(), (std::vector<std::string>{"twin", "twin"}));
}

TEST_F(StartupPageTest, TwinRowsBothResolveToTheFirstKey) {
  page_.Refresh();
  Tick(1);
  Tick(2);
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  page_.DeleteValues(nullptr);
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kCuRun, "twin"));
  EXPECT_TRUE(Has(RegRoot::LocalMachine, kLmRun, "twin"));
  EXPECT_EQ(m_.dialogs.Shown().size(), 2u);  // no error, only the confirmation
}

TEST_F(StartupPageTest, ErrorsForAKeyThatDoesNotOpenAndAValueThatStays) {
  page_.Refresh();
  Tick(0);  // agent under HKCU
  Tick(3);  // sound under HKLM
  m_.registry.DenyWrite(RegRoot::CurrentUser, kCuRun);
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  page_.DeleteValues(nullptr);
  ASSERT_EQ(m_.dialogs.Shown().size(), 3u);
  EXPECT_EQ(m_.dialogs.Shown()[1].text, "Key value agent does not exists!");
  EXPECT_EQ(m_.dialogs.Shown()[1].caption, "Error");
  EXPECT_EQ(m_.dialogs.Shown()[1].icon, platform::MessageIcon::Error);
  EXPECT_EQ(m_.dialogs.Shown()[2].text, "Selected values successfully deleted!");
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kLmRun, "sound"));
}

TEST_F(StartupPageTest, AValueAlreadyGoneIsNoError) {
  page_.Refresh();
  Tick(0);
  m_.registry.CreateKey(RegRoot::CurrentUser, kCuRun)->DeleteValue("agent");
  m_.dialogs.QueueAnswer(MessageAnswer::Yes);
  page_.DeleteValues(nullptr);
  EXPECT_EQ(m_.dialogs.Shown().size(), 2u);
}

}  // namespace
}  // namespace morvanta::inspect
