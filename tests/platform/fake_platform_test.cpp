// What the fake machine offers beyond the shared contract: the knobs the unit tests of the
// logic turn, and the Windows behaviours it copies that Wine does not show.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace morvanta::platform::fake {
namespace {

TEST(FakeDialogs, RecordsEveryMessageAndAnswersFromTheQueue) {
  FakeDialogs dialogs;
  dialogs.QueueAnswer(MessageAnswer::No);
  Message question{"Do you want to delete selected values?", "Question", MessageIcon::Question,
                   MessageButtons::YesNo};
  Message undoable = question;
  undoable.secondButtonDefault = true;
  EXPECT_EQ(dialogs.Show(question), MessageAnswer::No);
  // With the queue empty the default button answers.
  EXPECT_EQ(dialogs.Show(question), MessageAnswer::Yes);
  EXPECT_EQ(dialogs.Show(undoable), MessageAnswer::No);
  EXPECT_EQ(dialogs.Show({"Done", "Information"}), MessageAnswer::Ok);
  ASSERT_EQ(dialogs.Shown().size(), 4u);
  EXPECT_EQ(dialogs.Shown()[0].text, "Do you want to delete selected values?");
  EXPECT_EQ(dialogs.Shown()[3].caption, "Information");
}

TEST(FakeServices, PendingPhaseMovesTheCheckPointThenSettles) {
  FakePlatform machine;
  machine.files.PutFile("C:\\svc\\svc.exe", "MZ");
  ASSERT_TRUE(machine.services.Create({"Slow", "Slow Service", "C:\\svc\\svc.exe -k", StartType::Manual}));
  machine.services.SetPendingPhase("Slow", 3, 1, 250);
  ASSERT_TRUE(machine.services.RequestStart("slow"));
  auto first = machine.services.QueryStatus("Slow");
  auto second = machine.services.QueryStatus("Slow");
  EXPECT_EQ(first->state, ServiceState::StartPending);
  EXPECT_EQ(first->waitHint, 250u);
  EXPECT_EQ(second->state, ServiceState::StartPending);
  EXPECT_GT(second->checkPoint, first->checkPoint);
  machine.services.QueryStatus("Slow");
  EXPECT_EQ(machine.services.QueryStatus("Slow")->state, ServiceState::Running);

  // A service whose program is gone does not start.
  ASSERT_TRUE(machine.services.Create({"Gone", "Gone", "\"C:\\svc\\gone.exe\"", StartType::Manual}));
  EXPECT_FALSE(machine.services.RequestStart("Gone"));
  machine.services.SetConfigError("Gone", ConfigQueryError::CannotQuery);
  EXPECT_EQ(machine.services.QueryConfig("Gone").error, ConfigQueryError::CannotQuery);
  machine.services.SetManagerAvailable(false);
  EXPECT_FALSE(machine.services.List(147492));
}

TEST(FakeServices, RunningServiceIsDeletedWhenItStops) {
  FakePlatform machine;
  machine.files.PutFile("C:\\svc\\svc.exe", "MZ");
  ASSERT_TRUE(machine.services.Create({"Svc", "", "C:\\svc\\svc.exe", StartType::Automatic}));
  EXPECT_EQ(machine.services.KeyNameOf("Svc"), "Svc");  // the display name defaults to the key
  ASSERT_TRUE(machine.services.RequestStart("Svc"));
  ASSERT_TRUE(machine.services.Delete("Svc"));
  EXPECT_TRUE(machine.services.QueryConfig("Svc").config);
  ASSERT_TRUE(machine.services.RequestStop("Svc"));
  machine.services.QueryStatus("Svc");
  EXPECT_FALSE(machine.services.QueryConfig("Svc").config);
}

TEST(FakeProcesses, SnapshotStartsWithTheSystemEntries) {
  FakePlatform machine;
  uint32_t hidden = machine.processes.AddProcess("csrss.exe", std::nullopt, false);
  auto snapshot = machine.processes.Snapshot();
  ASSERT_TRUE(snapshot);
  ASSERT_GE(snapshot->size(), 3u);
  EXPECT_EQ((*snapshot)[0].pid, 0u);
  EXPECT_EQ((*snapshot)[1].exeName, "System");
  EXPECT_FALSE(machine.processes.ImagePath(hidden));
  EXPECT_EQ(machine.processes.Terminate(hidden), 0);
  machine.processes.FailSnapshots(true);
  EXPECT_FALSE(machine.processes.Snapshot());
}

TEST(FakeFiles, RelativePathsAndDosTimes) {
  FakePlatform machine;
  machine.files.PutFile("C:\\work\\a.txt", "x");
  machine.files.SetCurrentDirectory("C:\\work");
  EXPECT_TRUE(machine.files.FileExists("a.txt"));
  EXPECT_TRUE(machine.files.FileExists("..\\work\\.\\A.TXT"));
  EXPECT_TRUE(machine.files.FileExists("\\work\\a.txt"));
  EXPECT_FALSE(machine.files.FileExists("System Idle Process"));
  EXPECT_EQ(machine.files.FullPath("c:/work//b.txt"), "C:\\work\\b.txt");
  EXPECT_TRUE(machine.files.FileExists("C:\\work\\a.txt "));  // as Windows opens it
  EXPECT_TRUE(machine.files.FileExists("C:\\work\\a.txt."));

  // 2026-03-04 10:20:30 UTC, an hour east of UTC.
  machine.files.SetUtcOffsetMinutes(60);
  uint32_t dos = *machine.files.ToLocalDosDateTime(134170932300000000ULL);
  EXPECT_EQ(dos >> 16, ((2026u - 1980) << 9) | (3 << 5) | 4);
  EXPECT_EQ(dos & 0xFFFF, (11u << 11) | (20 << 5) | 15);
}

TEST(FakeFiles, MappingKeepsTheFileFromBeingDeleted) {
  FakePlatform machine;
  machine.files.PutFile("C:\\x\\mapped.bin", "content");
  auto view = machine.files.MapReadOnly("C:\\x\\mapped.bin");
  ASSERT_TRUE(view);
  EXPECT_FALSE(machine.files.DeleteFile("C:\\x\\mapped.bin"));
  view.reset();
  EXPECT_TRUE(machine.files.DeleteFile("C:\\x\\mapped.bin"));
}

TEST(FakeFiles, AFullDiskFailsTheWriteAndTheReplacementKeepsTheOldFile) {
  FakeFiles files;
  files.PutFile("C:\\data\\files.dat", "the old database");
  files.SetFreeSpace(10);
  EXPECT_FALSE(files.WriteAtomically("C:\\data\\files.dat", std::string(64, 'x')));
  auto old = files.ReadAll("C:\\data\\files.dat");
  ASSERT_TRUE(old);
  EXPECT_EQ(std::string(old->begin(), old->end()), "the old database");
  EXPECT_FALSE(files.Exists("C:\\data\\files.dat.new"));
  files.SetFreeSpace(std::nullopt);
  EXPECT_TRUE(files.WriteAtomically("C:\\data\\files.dat", std::string(64, 'x')));
}

TEST(FakeFiles, AFailedOpenSaysWhy) {
  FakeFiles files;
  EXPECT_FALSE(files.Open("C:\\missing.dat", OpenMode::Read));
  EXPECT_EQ(files.LastErrorText(), "The system cannot find the file specified.");
}

TEST(FakeRegistry, DeniedKeysRefuseWriters) {
  FakePlatform machine;
  machine.registry.CreateKey(RegRoot::LocalMachine, "SYSTEM\\Locked");
  machine.registry.DenyWrite(RegRoot::LocalMachine, "system\\locked");
  EXPECT_TRUE(machine.registry.OpenKey(RegRoot::LocalMachine, "SYSTEM\\Locked", RegAccess::Read));
  EXPECT_FALSE(machine.registry.OpenKey(RegRoot::LocalMachine, "SYSTEM\\Locked", RegAccess::Write));
  EXPECT_FALSE(machine.registry.CreateKey(RegRoot::LocalMachine, "SYSTEM\\Locked\\Sub"));
  EXPECT_TRUE(machine.registry.CreateKey(RegRoot::LocalMachine, "SYSTEM\\LockedNot"));
}

}  // namespace
}  // namespace morvanta::platform::fake
