// The ignore list window's logic on every machine: the lists' files in a scratch program
// folder, the check lists in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "contract_test.h"
#include "runs/ignore_list_manager.h"

namespace morvanta::runs {
namespace {

using common::PromptKind;

MORVANTA_CONTRACT_SUITE(IgnoreListManagerOnMachine);

// One program run with the window created, over the scratch folder.
class Window {
 public:
  explicit Window(testing::Machine& m) : session_(m.Get(), m.Scratch() + "\\") { manager.FormCreate(); }
  app::Session& Session() { return session_; }

  common::MemoryCheckList files, registry;
  common::ScriptedPrompts prompts{true};

 private:
  app::Session session_;

 public:
  IgnoreListManager manager{session_, {files, registry, prompts}};
};

std::string Text(platform::Files& files, const std::string& path) {
  const auto bytes = files.ReadAll(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

TEST_P(IgnoreListManagerOnMachine, WithoutFilesBothListsAreEmptyAndClosingWritesCountZero) {
  auto p = P();
  Window w(M());
  w.manager.FormShow();
  EXPECT_EQ(w.files.RowCount(), 0);
  EXPECT_EQ(w.registry.RowCount(), 0);
  w.manager.FormClose();
  EXPECT_EQ(Text(p.files, M().ScratchPath("FileIgnoreL.fil")), "0\r\n");
  EXPECT_EQ(Text(p.files, M().ScratchPath("RegIgnoreL.fil")), "0\r\n");
}

TEST_P(IgnoreListManagerOnMachine, AnAddedFolderShowsWithItsSemicolonTwiceOverAndSurvivesReopening) {
  auto p = P();
  {
    Window w(M());
    w.manager.FormShow();
    w.manager.AddFolder("C:\\Tools");
    w.manager.AddFolder(std::nullopt);  // cancelled: nothing
    w.manager.AddFolder("C:\\Tools");   // no check for one listed already
    EXPECT_EQ(w.files.Captions(), (std::vector<std::string>{"C:\\Tools;", "C:\\Tools;"}));
    EXPECT_FALSE(w.files.IsChecked(0) || w.files.IsChecked(1));
    w.manager.FormClose();
  }
  EXPECT_EQ(Text(p.files, M().ScratchPath("FileIgnoreL.fil")),
            "2\r\n"
            "Folder\r\nC:\\Tools;\r\n\r\n\r\n0\r\n0\r\n0\r\n1\r\n"
            "Folder\r\nC:\\Tools;\r\n\r\n\r\n0\r\n0\r\n0\r\n1\r\n");
  Window again(M());  // a new program run reads it at the window's creation
  EXPECT_EQ(again.Session().Ignore().files.size(), 2u);
  again.manager.FormShow();
  EXPECT_EQ(again.files.Captions(), (std::vector<std::string>{"C:\\Tools;", "C:\\Tools;"}));
}

TEST_P(IgnoreListManagerOnMachine, ClearingAndClosingLeavesCountZeroAndShowingReadsTheFileAgain) {
  auto p = P();
  Window w(M());
  w.manager.AddFolder("C:\\One");
  w.manager.FormClose();
  // What changes in the window after a save and is not saved is gone at the next showing.
  w.manager.AddFolder("C:\\Two");
  w.manager.FormShow();
  EXPECT_EQ(w.files.Captions(), std::vector<std::string>{"C:\\One;"});
  w.manager.ClearFiles();
  EXPECT_EQ(w.files.RowCount(), 0);
  EXPECT_TRUE(w.prompts.shown.empty());  // no question
  w.manager.FormClose();
  EXPECT_EQ(Text(p.files, M().ScratchPath("FileIgnoreL.fil")), "0\r\n");
}

TEST_P(IgnoreListManagerOnMachine, TwoCheckedLinesGoWithTheirEntriesAndOneMessage) {
  auto p = P();
  const remedy::TRegIgnoreList value = {1, "Software\\Run", "Tool", "", "", false};
  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("RegIgnoreL.fil"),
                               remedy::FormatRegIgnoreList({value, value, value})));
  Window w(M());
  w.manager.FormShow();
  for (const char* folder : {"C:\\A", "C:\\B", "C:\\C", "C:\\D"}) w.manager.AddFolder(folder);
  w.files.SetChecked(1, true);
  w.files.SetChecked(3, true);
  w.prompts.Answer({false});
  EXPECT_FALSE(w.manager.DeleteCheckedFiles());  // No: nothing changes
  EXPECT_EQ(w.files.RowCount(), 4);
  EXPECT_EQ(w.prompts.shown.size(), 1u);  // the question only
  w.prompts.shown.clear();
  EXPECT_EQ(w.manager.DeleteCheckedFiles(), 2u);
  EXPECT_EQ(w.files.Captions(), (std::vector<std::string>{"C:\\A;", "C:\\C;"}));
  ASSERT_EQ(w.Session().Ignore().files.size(), 2u);
  EXPECT_EQ(w.Session().Ignore().files[1].EntryPath, "C:\\C;");
  ASSERT_EQ(w.prompts.shown.size(), 2u);
  EXPECT_EQ(w.prompts.shown[0].kind, PromptKind::PlainQuestion);
  EXPECT_EQ(w.prompts.shown[0].text, "Do you wan't to delete checked files from ignore list?");
  EXPECT_EQ(w.prompts.shown[0].caption, "Question");
  EXPECT_EQ(w.prompts.shown[1].kind, PromptKind::Information);
  EXPECT_EQ(w.prompts.shown[1].text, "Checked files sucessfully deleted from ignore list!");

  // The registry list: shown by root name, key and value; checked all, then removed.
  EXPECT_EQ(w.registry.Captions(), std::vector<std::string>(3, "HKEY_CURRENT_USER\\Software\\Run\\Tool"));
  w.manager.CheckAllValues(true);
  w.registry.SetChecked(0, false);
  w.prompts.shown.clear();
  EXPECT_EQ(w.manager.DeleteCheckedValues(), 2u);
  EXPECT_EQ(w.registry.RowCount(), 1);
  EXPECT_EQ(w.Session().Ignore().registry.size(), 1u);
  EXPECT_EQ(w.prompts.Texts(),
            (std::vector<std::string>{"Do you wan't to delete checked registry values from ignore list?",
                                      "Checked registry values sucessfully deleted from ignore list!"}));
  w.manager.CheckAllFiles(true);
  EXPECT_TRUE(w.files.IsChecked(0) && w.files.IsChecked(1));
  w.manager.CheckAllFiles(false);
  EXPECT_FALSE(w.files.IsChecked(0) || w.files.IsChecked(1));
  w.manager.ClearValues();
  w.manager.FormClose();
  EXPECT_EQ(Text(p.files, M().ScratchPath("RegIgnoreL.fil")), "0\r\n");
}

}  // namespace
}  // namespace morvanta::runs
