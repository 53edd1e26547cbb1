// The main window's startup page on the fake machine: rows from the RegBase keys, Delete
// values with its answers and messages, and the report section.
#include <gtest/gtest.h>

#include "inspect/startup_page.h"
#include "page_test_util.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using common::Msg;
using platform::RegRoot;
using platform::RegValue;

constexpr char kRegBase[] = "C:\\Program\\RegBase.rgk";
constexpr char kCuRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kLmRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kCuOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class StartupPageTest : public ::testing::Test {
 protected:
  StartupPageTest() : page_(m_.Get(), catalog_, {list_, report_, prompts_}, kRegBase, entries_) {}
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
  ScriptedPrompts prompts_;
  std::vector<StartupF> entries_;
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
  prompts_.Answer({false});
  page_.DeleteValues();
  ASSERT_EQ(prompts_.shown.size(), 1u);
  const auto& q = prompts_.shown[0];
  EXPECT_EQ(q.text, "Do you want to delete selected values?");
  EXPECT_EQ(q.kind, PromptKind::Question);
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
}

TEST_F(StartupPageTest, YesDeletesTickedValuesConfirmsAndRefreshes) {
  page_.Refresh();
  Tick(0);  // agent
  Tick(3);  // sound
  page_.DeleteValues();
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kLmRun, "sound"));
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "flags"));
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].text, "Selected values successfully deleted!");
  EXPECT_EQ(prompts_.shown[1].kind, PromptKind::Information);
  EXPECT_EQ(list_.Captions(), (std::vector<std::string>{"twin", "twin"}));
}

TEST_F(StartupPageTest, EachOfTwoAlikeRowsDeletesItsOwnKeysValue) {
  page_.Refresh();
  Tick(2);  // the HKLM twin only
  page_.DeleteValues();
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "twin"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kLmRun, "twin"));
  Tick(1);  // now the HKCU one, which the refresh left as row 1
  page_.DeleteValues();
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kCuRun, "twin"));
  EXPECT_EQ(prompts_.CountOf(Msg::ValuesDeleted), 2u);
}

TEST_F(StartupPageTest, AValueOfAnyLengthIsDeletedThroughItsRow) {
  const std::string longCommand = "c:\\long.exe " + std::string(5000, 'x');
  Write(RegRoot::CurrentUser, kCuRun, "long", RegValue::FromString(longCommand));
  page_.Refresh();
  ASSERT_EQ(list_.Captions()[2], "long");
  list_.rows[2].subItems[0] = longCommand.substr(0, 1023);  // what a short read would see
  list_.rows[2].checked = true;
  page_.DeleteValues();
  EXPECT_FALSE(Has(RegRoot::CurrentUser, kCuRun, "long"));
  EXPECT_EQ(prompts_.CountOf(Msg::ValuesDeleted), 1u);
}

TEST_F(StartupPageTest, ErrorsForAKeyThatDoesNotOpenAndAValueThatStays) {
  page_.Refresh();
  Tick(0);  // agent under HKCU
  Tick(3);  // sound under HKLM
  m_.registry.DenyWrite(RegRoot::CurrentUser, kCuRun);
  page_.DeleteValues();
  // The failure is reported, and no success is claimed for the run.
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].text, "Key value agent does not exists!");
  EXPECT_EQ(prompts_.shown[1].kind, PromptKind::Error);
  EXPECT_EQ(prompts_.CountOf(Msg::ValuesDeleted), 0u);
  EXPECT_TRUE(Has(RegRoot::CurrentUser, kCuRun, "agent"));
  EXPECT_FALSE(Has(RegRoot::LocalMachine, kLmRun, "sound"));
}

TEST_F(StartupPageTest, AValueAlreadyGoneIsNoError) {
  page_.Refresh();
  Tick(0);
  m_.registry.CreateKey(RegRoot::CurrentUser, kCuRun)->DeleteValue("agent");
  page_.DeleteValues();
  EXPECT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.CountOf(Msg::ValuesDeleted), 1u);
}

}  // namespace
}  // namespace morvanta::inspect
