// The Quarantine Manager's operations on every machine: the fake, and under Wine the real
// system with real files in the test's own program folder. The rows, the status line and the
// prompts are the in-memory ones; another program changing the index file is a second store
// over the same folder, as the console program would be.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "contract_test.h"
#include "runs/quarantine_manager.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

// A Quarantine Manager over a session whose program folder is a folder of the test's scratch
// folder, one per case, with source files in "files" below it.
class Manager {
 public:
  explicit Manager(testing::Machine& m, const std::string& place = "program")
      : m_(m),
        folder_(MadeFolder(m, m.ScratchPath(place))),
        session_(m.Get(), folder_ + "\\"),
        manager_(session_, {rows, status, prompts, pump}) {}

  app::Session& Session() { return session_; }
  remedy::QuarantineStore& Store() { return session_.Quarantine(); }
  QuarantineManager& operator*() { return manager_; }
  QuarantineManager* operator->() { return &manager_; }

  std::string Source(const std::string& name) const { return folder_ + "\\files\\" + name; }
  // A file put in place and stored, then deleted from its place (as the fix would).
  std::string Stored(const std::string& name, const std::string& task) {
    const std::string path = Put(name, "content of " + name);
    EXPECT_TRUE(Store().AddToQuarantine(path, task, "0123456789abcdef0123456789abcdef")) << path;
    EXPECT_TRUE(m_.Get().files.DeleteFile(path));
    return path;
  }
  std::string Put(const std::string& name, const std::string& content) {
    platform::Files& files = m_.Get().files;
    const std::string path = Source(name);
    for (size_t slash = folder_.size() + 1; (slash = path.find('\\', slash)) != std::string::npos;
         ++slash)
      files.CreateDirectory(path.substr(0, slash));
    EXPECT_TRUE(files.WriteAll(path, content)) << path;
    return path;
  }
  std::string Read(const std::string& path) {
    const auto bytes = m_.Get().files.ReadAll(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
  }
  std::string IndexText() { return Read(Store().IndexFile()); }
  // The source paths the index file lists, in order.
  std::vector<std::string> IndexedPaths() {
    std::vector<std::string> paths;
    for (const auto& e : remedy::ParseQuarantineIndex(IndexText())) paths.push_back(e.SourcePath);
    return paths;
  }
  std::vector<std::string> Seen() const {
    std::vector<std::string> out;
    for (const auto& p : prompts.shown) out.push_back(p.text);
    return out;
  }
  void Tick(std::initializer_list<bool> ticks) {
    int row = 0;
    for (bool t : ticks) rows.SetChecked(row++, t);
  }

  common::MemoryCheckList rows;
  common::MemoryText status;
  common::ScriptedPrompts prompts{true};
  common::CountingPump pump;

 private:
  static std::string MadeFolder(testing::Machine& m, const std::string& folder) {
    EXPECT_TRUE(m.Get().files.CreateDirectory(folder)) << folder;
    return folder;
  }

  testing::Machine& m_;
  std::string folder_;
  app::Session session_;
  QuarantineManager manager_;
};

MORVANTA_CONTRACT_SUITE(QuarantineManagerOnMachine);

TEST_P(QuarantineManagerOnMachine, RefreshShowsEveryEntryTickedInIndexOrder) {
  Manager q(M());
  q->RefreshList();
  EXPECT_EQ(q.rows.RowCount(), 0);  // no index file yet

  const std::string a = q.Stored("a.exe", "Worm.A"), b = q.Stored("deep\\b.dll", "Trojan.B");
  q.rows.AddRow(99, "left over", {}, false);
  q->RefreshList();
  ASSERT_EQ(q.rows.RowCount(), 2);
  const struct {
    std::string path, task;
  } expected[] = {{a, "Worm.A"}, {b, "Trojan.B"}};
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(q.rows.Caption(row), expected[row].path);
    EXPECT_EQ(q.rows.SubItem(row, 0), expected[row].task);
    EXPECT_EQ(q.rows.SubItem(row, 1), q.Store().Index()[static_cast<size_t>(row)].AddedAt);
    EXPECT_FALSE(q.rows.SubItem(row, 1).empty());
    EXPECT_TRUE(q.rows.IsChecked(row));
    ASSERT_NE(q->EntryOf(row), nullptr);
    EXPECT_EQ(q->EntryOf(row)->SourcePath, expected[row].path);
  }
  EXPECT_TRUE(q.prompts.shown.empty());

  // Every refresh reads the file: entries another program wrote show, a deleted file shows none.
  remedy::QuarantineStore other(P(), q.Session().ProgramFolder());
  const std::string c = q.Put("c.sys", "c");
  ASSERT_TRUE(other.AddToQuarantine(c, "Rootkit.C", ""));
  q->RefreshList();
  EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{a, b, c}));
  ASSERT_TRUE(P().files.DeleteFile(q.Store().IndexFile()));
  q->RefreshList();
  EXPECT_EQ(q.rows.RowCount(), 0);
  EXPECT_TRUE(q.Store().Index().empty());
}

// Four entries, each row ticked or not and with its stored copy there or not: a row that
// fails leaves its entry in the index, and the rows after it still restore their own files.
TEST_P(QuarantineManagerOnMachine, RestoreTicksEachRowWithItsOwnOutcome) {
  struct Row {
    bool ticked, copyMissing;
    const char* caption;  // afterwards; empty: the path, unchanged
    bool restored;
  };
  const struct Case {
    const char* name;
    std::vector<Row> rows;
  } cases[] = {
      {"the first fails, the second restores its own",
       {{true, true, "Cannot restore file!", false}, {true, false, "File restored...", true}}},
      {"restored, failed, unticked, restored",
       {{true, false, "File restored...", true},
        {true, true, "Cannot restore file!", false},
        {false, false, "", false},
        {true, false, "File restored...", true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Manager q(M(), c.name);
    std::vector<std::string> paths;
    for (size_t i = 0; i < c.rows.size(); ++i)
      paths.push_back(q.Stored("case\\f" + std::to_string(i) + ".exe", "Task" + std::to_string(i)));
    q->RefreshList();
    for (size_t i = 0; i < c.rows.size(); ++i) {
      q.rows.SetChecked(static_cast<int>(i), c.rows[i].ticked);
      if (c.rows[i].copyMissing) {
        ASSERT_TRUE(P().files.DeleteFile(q.Store().Index()[i].StoredPath));
      }
    }
    // The files' folder is gone as well: a restore makes it again.
    ASSERT_TRUE(P().files.RemoveDirectory(q.Source("case")));

    const QuarantineRun run = q->RestoreSelectedTasks();
    EXPECT_TRUE(run.confirmed);
    std::vector<std::string> staying, statuses;
    size_t done = 0, failed = 0;
    for (size_t i = 0; i < c.rows.size(); ++i) {
      const Row& r = c.rows[i];
      EXPECT_EQ(q.rows.Caption(static_cast<int>(i)), *r.caption ? r.caption : paths[i]) << i;
      EXPECT_EQ(q.Read(paths[i]), r.restored ? "content of case\\f" + std::to_string(i) + ".exe" : "<none>");
      if (!r.restored) staying.push_back(paths[i]);
      if (r.ticked) statuses.push_back("Restoring " + paths[i]);
      if (r.ticked) {
        ++(r.restored ? done : failed);
      }
    }
    EXPECT_EQ(run.done, done);
    EXPECT_EQ(run.failed, failed);
    EXPECT_EQ(q.IndexedPaths(), staying);
    EXPECT_EQ(q.status.history, statuses);
    ASSERT_EQ(q.prompts.shown.size(), 2u);
    EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::Question);
    EXPECT_EQ(q.prompts.shown[0].text, "Do you want to restore selected tasks?");
    EXPECT_EQ(q.prompts.shown[1].kind, PromptKind::UrgentInformation);
    EXPECT_EQ(q.prompts.shown[1].text, "Selected tasks have been restored!");
  }
}

TEST_P(QuarantineManagerOnMachine, RemoveDropsTheTickedEntriesAndRefreshNoLongerShowsThem) {
  Manager q(M());
  const std::string a = q.Stored("a.exe", "A"), b = q.Stored("b.exe", "B"), c = q.Stored("c.exe", "C"),
                    d = q.Stored("d.exe", "D");
  q->RefreshList();
  const std::string copyA = q.Store().Index()[0].StoredPath, copyB = q.Store().Index()[1].StoredPath;
  // b's copy is already gone, c's is held open by another program and cannot be deleted.
  ASSERT_TRUE(P().files.DeleteFile(copyB));
  auto held = P().files.Open(q.Store().Index()[2].StoredPath, platform::OpenMode::Read);
  ASSERT_TRUE(held);
  q.Tick({true, true, true, false});

  const QuarantineRun run = q->RemoveSelectedTasks();
  EXPECT_TRUE(run.confirmed);
  EXPECT_EQ(run.done, 2u);
  EXPECT_EQ(run.failed, 1u);
  EXPECT_EQ(q.rows.Captions(),
            (std::vector<std::string>{"Task removed!", "Task removed!", "Cannot remove task!", d}));
  EXPECT_EQ(q.status.history, (std::vector<std::string>{"Deleting " + a, "Deleting " + b, "Deleting " + c}));
  EXPECT_FALSE(P().files.Exists(copyA));
  // Every ticked entry has left the index file, even the one whose copy stayed.
  EXPECT_EQ(q.IndexedPaths(), (std::vector<std::string>{d}));
  ASSERT_EQ(q.prompts.shown.size(), 2u);
  EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::PlainQuestion);
  EXPECT_EQ(q.prompts.shown[0].text, "Do you want to delete selected tasks?");
  EXPECT_EQ(q.prompts.shown[1].kind, PromptKind::UrgentInformation);
  EXPECT_EQ(q.prompts.shown[1].text, "Selected tasks have been removed!");
  held.reset();

  q->RefreshList();
  EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{d}));
}

// Between the refresh and the click another program restored a row's file and stored
// another file of the same name, which took the freed stored name, and stored a third one.
// The row must not restore or delete the newcomer, and the other rows still work.
TEST_P(QuarantineManagerOnMachine, RowsWhoseEntryChangedSinceTheRefreshTouchNothing) {
  for (const bool restoring : {true, false}) {
    SCOPED_TRACE(restoring ? "restore" : "remove");
    Manager q(M(), restoring ? "restore" : "remove");
    const std::string one = q.Stored("one\\x.exe", "First"), b = q.Stored("b.exe", "B");
    q->RefreshList();
    const std::string oldCopy = q.Store().Index()[0].StoredPath;

    remedy::QuarantineStore other(P(), q.Session().ProgramFolder());
    ASSERT_TRUE(other.RestoreFromQuarantine(one, q.Source("one\\")));
    ASSERT_TRUE(P().files.WriteAll(one, "edited since"));
    const std::string two = q.Put("two\\x.exe", "the second x");
    ASSERT_TRUE(other.AddToQuarantine(two, "Second", ""));
    ASSERT_EQ(other.Index().back().StoredPath, oldCopy);  // the name the row's entry had
    const std::string late = q.Put("late.exe", "late");
    ASSERT_TRUE(other.AddToQuarantine(late, "Late", ""));

    const QuarantineRun run = restoring ? q->RestoreSelectedTasks() : q->RemoveSelectedTasks();
    EXPECT_EQ(run.done, 1u);
    EXPECT_EQ(run.failed, 1u);
    EXPECT_EQ(q.rows.Caption(0), restoring ? "Cannot restore file!" : "Cannot remove task!");
    EXPECT_EQ(q.rows.Caption(1), restoring ? "File restored..." : "Task removed!");
    EXPECT_EQ(q.Read(one), "edited since");
    EXPECT_EQ(q.Read(b), restoring ? "content of b.exe" : "<none>");
    // What the other program stored is all still there, and restores to its own bytes.
    EXPECT_EQ(q.IndexedPaths(), (std::vector<std::string>{two, late}));
    ASSERT_TRUE(P().files.DeleteFile(two));
    remedy::QuarantineStore third(P(), q.Session().ProgramFolder());
    ASSERT_TRUE(third.RestoreFromQuarantine(two, q.Source("two\\")));
    EXPECT_EQ(q.Read(two), "the second x");
  }
}

TEST_P(QuarantineManagerOnMachine, ClearDeletesEveryEntrysCopyAndLeavesUnnamedFilesAlone) {
  Manager q(M());
  q.Stored("a.exe", "A");
  q.Stored("b.exe", "B");
  q->RefreshList();
  std::vector<std::string> copies;
  for (const auto& e : q.Store().Index()) copies.push_back(e.StoredPath);
  const std::string stray = q.Store().Folder() + "\\stray.bin";
  ASSERT_TRUE(P().files.WriteAll(stray, "no entry names me"));
  // Stored by another program after the refresh: clearing takes it as well.
  remedy::QuarantineStore other(P(), q.Session().ProgramFolder());
  ASSERT_TRUE(other.AddToQuarantine(q.Put("late.exe", "late"), "Late", ""));
  copies.push_back(other.Index().back().StoredPath);

  EXPECT_TRUE(q->ClearQuarantine());
  EXPECT_EQ(q.rows.RowCount(), 0);
  for (const auto& copy : copies) EXPECT_FALSE(P().files.Exists(copy)) << copy;
  EXPECT_EQ(q.Read(stray), "no entry names me");
  EXPECT_FALSE(P().files.Exists(q.Store().IndexFile()));
  EXPECT_TRUE(q.Store().Index().empty());
  ASSERT_EQ(q.prompts.shown.size(), 2u);
  EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::PlainQuestion);
  EXPECT_EQ(q.prompts.shown[0].text, "Do you want to clear quarantine?");
  EXPECT_EQ(q.prompts.shown[1].kind, PromptKind::Plain);
  EXPECT_EQ(q.prompts.shown[1].text, "Quarantine cleared!");
}

TEST_P(QuarantineManagerOnMachine, NoToAnyQuestionChangesNothing) {
  const struct {
    const char* name;
    Msg question;
    std::function<bool(QuarantineManager&)> act;
  } cases[] = {
      {"restore", Msg::RestoreQuestion, [](QuarantineManager& m) { return m.RestoreSelectedTasks().confirmed; }},
      {"remove", Msg::DeleteTasksQuestion, [](QuarantineManager& m) { return m.RemoveSelectedTasks().confirmed; }},
      {"clear", Msg::ClearQuarantineQuestion, [](QuarantineManager& m) { return m.ClearQuarantine(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Manager q(M(), c.name);
    const std::string a = q.Stored("a.exe", "A");
    q->RefreshList();
    const std::string index = q.IndexText(), copy = q.Read(q.Store().Index()[0].StoredPath);
    q.prompts.Answer({false});
    EXPECT_FALSE(c.act(*q));
    ASSERT_EQ(q.prompts.shown.size(), 1u);
    EXPECT_EQ(q.prompts.shown[0].entry, c.question);
    EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{a}));
    EXPECT_TRUE(q.rows.IsChecked(0));
    EXPECT_TRUE(q.status.history.empty());
    EXPECT_EQ(q.IndexText(), index);
    EXPECT_EQ(q.Read(q.Store().Index()[0].StoredPath), copy);
    EXPECT_EQ(q.Read(a), "<none>");
  }
}

TEST_P(QuarantineManagerOnMachine, AddTaskStoresAFileByHandOnce) {
  Manager q(M());
  const std::string a = q.Stored("a.exe", "Worm.A");
  const std::string file = q.Put("Picked\\Tool.exe", "picked by hand");
  q->RefreshList();

  // Nothing chosen, or a file that is not there: nothing at all.
  for (const auto& chosen : {std::optional<std::string>(), std::optional<std::string>(q.Source("nothing.exe")),
                             std::optional<std::string>(q.Source("Picked"))})
    EXPECT_EQ(q->AddTask(chosen), AddOutcome::Nothing);
  EXPECT_TRUE(q.prompts.shown.empty());

  EXPECT_EQ(q->AddTask(file), AddOutcome::Added);
  ASSERT_EQ(q.prompts.shown.size(), 1u);
  EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::Plain);
  EXPECT_EQ(q.prompts.shown[0].text, "File added to Quarantine, you can safely delete it!");
  EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{a, file}));  // refreshed
  EXPECT_EQ(q.rows.SubItem(1, 0), "Unknown");
  EXPECT_EQ(q.Store().Index().back().FileMd5, "");
  EXPECT_EQ(q.Read(file), "picked by hand");  // the file stays where it was

  // The same path in other letter cases, and a path stored since the refresh by another
  // program: the message, and the index file as it was.
  const std::string elsewhere = q.Put("elsewhere.exe", "stored meanwhile");
  remedy::QuarantineStore other(P(), q.Session().ProgramFolder());
  ASSERT_TRUE(other.AddToQuarantine(elsewhere, "Other", ""));
  std::string upper = file, lower = file;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const std::string index = q.IndexText();
  for (const std::string& path : {upper, lower, elsewhere}) {
    q.prompts.shown.clear();
    EXPECT_EQ(q->AddTask(path), AddOutcome::AlreadyInQuarantine) << path;
    ASSERT_EQ(q.prompts.shown.size(), 1u);
    EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::Plain);
    EXPECT_EQ(q.prompts.shown[0].text, "File already exists in Quarantine!");
    EXPECT_EQ(q.IndexText(), index);
    EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{a, file}));
  }
}

TEST_P(QuarantineManagerOnMachine, AddTaskThatCannotStoreSaysSo) {
  Manager q(M());
  const std::string file = q.Put("tool.exe", "picked");
  // A file where the quarantine folder should be: the folder cannot be made.
  ASSERT_TRUE(P().files.WriteAll(q.Store().Folder(), "in the way"));
  q->RefreshList();
  EXPECT_EQ(q->AddTask(file), AddOutcome::Failed);
  ASSERT_EQ(q.prompts.shown.size(), 1u);
  EXPECT_EQ(q.prompts.shown[0].kind, PromptKind::Plain);
  EXPECT_EQ(q.prompts.shown[0].text, "Cannot add file to Quarantine!");
  EXPECT_EQ(q.rows.RowCount(), 0);
  EXPECT_FALSE(P().files.Exists(q.Store().IndexFile()));
  ASSERT_TRUE(P().files.DeleteFile(q.Store().Folder()));
}

// While a run serves the window's messages, a click on another button starts nothing.
TEST_P(QuarantineManagerOnMachine, ARunIgnoresButtonsClickedWhileItServesTheWindow) {
  Manager q(M());
  const std::string a = q.Stored("a.exe", "A"), b = q.Stored("b.exe", "B");
  const std::string picked = q.Put("picked.exe", "picked");
  q->RefreshList();
  size_t attempts = 0;
  q.pump.onPump = [&](size_t) {
    ++attempts;
    EXPECT_TRUE(q->Running());
    q->RefreshList();
    EXPECT_FALSE(q->RemoveSelectedTasks().confirmed);
    EXPECT_FALSE(q->ClearQuarantine());
    EXPECT_EQ(q->AddTask(picked), AddOutcome::Nothing);
  };
  const QuarantineRun run = q->RestoreSelectedTasks();
  q.pump.onPump = nullptr;
  EXPECT_GT(attempts, 0u);
  EXPECT_FALSE(q->Running());
  EXPECT_EQ(run.done, 2u);
  EXPECT_EQ(q.rows.Captions(), (std::vector<std::string>{"File restored...", "File restored..."}));
  EXPECT_EQ(q.prompts.shown.size(), 2u);  // the question and the summary only
  EXPECT_EQ(q.Read(a), "content of a.exe");
  EXPECT_EQ(q.Read(b), "content of b.exe");
  EXPECT_FALSE(q.Store().IsInQuarantine(picked));
}

}  // namespace
}  // namespace morvanta::runs
