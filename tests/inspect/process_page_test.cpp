// The process page on the fake machine: the list, the presence test, End Task with its
// answers, the deletion error, and the report section.
#include <gtest/gtest.h>

#include "inspect/process_manager.h"
#include "page_test_util.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using common::Msg;

TEST(RunningProcessList, ImagePathsSnapshotNamesAndTheIdleProcess) {
  platform::fake::FakePlatform m;
  m.processes.AddProcess("app.exe", std::string("C:\\Apps\\app.exe"));
  m.processes.AddProcess("hidden.exe", std::nullopt);
  m.processes.AddProcess("blank.exe", std::string());
  std::vector<std::string> paths;
  for (const auto& p : ListRunningProcesses(m.processes)) paths.push_back(p.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"System Idle Process", "System", "C:\\Apps\\app.exe",
                                             "hidden.exe", "blank.exe"}));
  m.processes.FailSnapshots(true);
  EXPECT_TRUE(ListRunningProcesses(m.processes).empty());
}

TEST(FilePresence, ExistsOrOpensWithMoreThanTenBytes) {
  platform::fake::FakePlatform m;
  m.files.PutFile("C:\\ten.bin", "0123456789");
  m.files.MakeFolders("C:\\folder");
  struct Case {
    const char* path;
    bool present;
  } cases[] = {{"C:\\ten.bin", true}, {"C:\\absent.exe", false}, {"C:\\folder", false},
               {"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsFilePresent(m.files, c.path), c.present) << c.path;
}

class ProcessPageTest : public ::testing::Test {
 protected:
  ProcessPageTest()
      : page_(m_.Get(), catalog_, {list_, label_, status_, report_, prompts_}) {}
  void SetUp() override {
    m_.files.PutFile("C:\\Apps\\one\\tool.exe", "MZ tool program one");
    m_.files.PutFile("C:\\Apps\\two\\TOOL.EXE", "MZ tool program two");
    m_.files.PutFile("C:\\Apps\\keep.exe", "MZ keep this program");
    one_ = *m_.processes.Start("C:\\Apps\\one\\tool.exe");
    two_ = *m_.processes.Start("C:\\Apps\\two\\TOOL.EXE");
    keep_ = *m_.processes.Start("C:\\Apps\\keep.exe");
    m_.processes.AddProcess("nopath.exe", std::nullopt);
  }
  bool Running(uint32_t pid) {
    const auto snapshot = m_.processes.Snapshot();
    for (const auto& e : *snapshot)
      if (e.pid == pid) return true;
    return false;
  }
  void Tick(const std::string& caption) {
    for (auto& row : list_.rows)
      if (row.caption == caption) row.checked = true;
  }
  // A row whose text no longer says what it stands for: the action follows its id.
  void Scribble(int row) { list_.rows.at(static_cast<size_t>(row)).caption = "changed on screen"; }

  platform::fake::FakePlatform m_;
  common::MessageCatalog catalog_;
  MemoryCheckList list_;
  MemoryText label_, status_;
  MemoryReport report_;
  ScriptedPrompts prompts_;
  ProcessPage page_;
  uint32_t one_ = 0, two_ = 0, keep_ = 0;
};

TEST_F(ProcessPageTest, RefreshListsPresentImagesAndCountsThem) {
  page_.Refresh();
  EXPECT_EQ(list_.Captions(), (std::vector<std::string>{"C:\\Apps\\one\\tool.exe",
                                                        "C:\\Apps\\two\\TOOL.EXE",
                                                        "C:\\Apps\\keep.exe"}));
  EXPECT_EQ(list_.rows[0].subItems, (std::vector<std::string>{""}));
  EXPECT_EQ(label_.text, "Active processes (3).");
  EXPECT_TRUE(report_.lines.empty());  // no report is being written

  m_.processes.FailSnapshots(true);
  page_.Refresh();
  EXPECT_EQ(list_.RowCount(), 0);
  EXPECT_EQ(label_.text, "Active processes (0).");
}

TEST_F(ProcessPageTest, ReportSectionWhileAReportIsWritten) {
  report_.writing = true;
  page_.Refresh();
  EXPECT_EQ(report_.lines,
            (std::vector<std::string>{"Running processes: (3)", "C:\\Apps\\one\\tool.exe",
                                      "C:\\Apps\\two\\TOOL.EXE", "C:\\Apps\\keep.exe", ""}));
  EXPECT_EQ(status_.history, (std::vector<std::string>{"C:\\Apps\\one\\tool.exe",
                                                       "C:\\Apps\\two\\TOOL.EXE",
                                                       "C:\\Apps\\keep.exe"}));
}

TEST_F(ProcessPageTest, AnsweringNoChangesNothing) {
  page_.Refresh();
  Tick("C:\\Apps\\one\\tool.exe");
  prompts_.Answer({false});
  page_.EndTask(true);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  const auto& q = prompts_.shown[0];
  EXPECT_EQ(q.text, "Do you want to terminate selected processes?");
  EXPECT_EQ(q.kind, PromptKind::Question);
  EXPECT_EQ(q.entry, Msg::TerminateQuestion);
  EXPECT_TRUE(Running(one_) && Running(two_));
  EXPECT_TRUE(list_.IsChecked(0));  // not even refreshed
}

TEST_F(ProcessPageTest, YesEndsEveryProcessOfTheTickedNameAndRefreshes) {
  page_.Refresh();
  Tick("C:\\Apps\\one\\tool.exe");
  page_.EndTask(false);
  EXPECT_FALSE(Running(one_));
  EXPECT_FALSE(Running(two_));  // same file name, other folder, other letter case
  EXPECT_TRUE(Running(keep_));
  EXPECT_TRUE(m_.files.FileExists("C:\\Apps\\one\\tool.exe"));  // no deletion asked
  EXPECT_EQ(list_.Captions(), (std::vector<std::string>{"C:\\Apps\\keep.exe"}));
  EXPECT_EQ(prompts_.shown.size(), 1u);
}

TEST_F(ProcessPageTest, RowsActOnTheirOwnPathWhateverTheyShow) {
  page_.Refresh();
  list_.rows[1].checked = true;  // C:\Apps\two\TOOL.EXE
  Scribble(1);
  page_.EndTask(true);
  EXPECT_FALSE(Running(two_));
  EXPECT_FALSE(m_.files.Exists("C:\\Apps\\two\\TOOL.EXE"));
  EXPECT_TRUE(m_.files.Exists("C:\\Apps\\one\\tool.exe"));
}

TEST_F(ProcessPageTest, YesWithNothingTickedOnlyRefreshes) {
  page_.Refresh();
  m_.processes.Start("C:\\Apps\\keep.exe");
  page_.EndTask(true);
  EXPECT_TRUE(Running(one_) && Running(two_) && Running(keep_));
  EXPECT_EQ(list_.RowCount(), 4);
  EXPECT_EQ(label_.text, "Active processes (4).");
}

TEST_F(ProcessPageTest, DeletionOfEndedImagesAndTheErrorForOneStillInUse) {
  // A second program holds keep.exe open, so its deletion fails after its process ended.
  auto holder = m_.files.Open("C:\\Apps\\keep.exe", platform::OpenMode::Read);
  page_.Refresh();
  Tick("C:\\Apps\\one\\tool.exe");
  Tick("C:\\Apps\\keep.exe");
  page_.EndTask(true);
  EXPECT_FALSE(m_.files.Exists("C:\\Apps\\one\\tool.exe"));
  EXPECT_TRUE(m_.files.Exists("C:\\Apps\\two\\TOOL.EXE"));  // ended, but not ticked
  EXPECT_TRUE(m_.files.Exists("C:\\Apps\\keep.exe"));
  ASSERT_EQ(prompts_.shown.size(), 2u);
  const auto& e = prompts_.shown[1];
  EXPECT_EQ(e.text, "Cannot delete process C:\\Apps\\keep.exe");
  EXPECT_EQ(e.kind, PromptKind::UrgentError);
  EXPECT_EQ(list_.RowCount(), 0);
}

}  // namespace
}  // namespace morvanta::inspect
