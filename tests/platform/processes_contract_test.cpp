#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

MORVANTA_CONTRACT_SUITE(ProcessesContract);

std::optional<platform::ProcessEntry> FindPid(platform::Processes& processes, uint32_t pid) {
  auto snapshot = processes.Snapshot();
  if (!snapshot) return std::nullopt;
  for (const auto& e : *snapshot)
    if (e.pid == pid) return e;
  return std::nullopt;
}

TEST_P(ProcessesContract, StartedProgramIsListedWithItsImageAndEnds) {
  auto p = P();
  const std::string helper = M().HelperPath("sleeper.exe");
  auto pid = p.processes.Start("\"" + helper + "\" 30");
  ASSERT_TRUE(pid);
  auto entry = FindPid(p.processes, *pid);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(platform::EqualsNoCase(entry->exeName, "sleeper.exe")) << entry->exeName;
  auto image = p.processes.ImagePath(*pid);
  ASSERT_TRUE(image);
  EXPECT_TRUE(platform::EqualsNoCase(*image, helper)) << *image;

  EXPECT_NE(p.processes.Terminate(*pid), 0);
  EXPECT_TRUE(p.processes.WaitForExit(*pid, 10000));
  EXPECT_FALSE(FindPid(p.processes, *pid));
}

TEST_P(ProcessesContract, RunningProgramFileCannotBeDeleted) {
  auto p = P();
  const std::string copy = M().ScratchPath("runner.exe");
  ASSERT_TRUE(p.files.CopyFile(M().HelperPath("sleeper.exe"), copy, true));
  auto pid = p.processes.Start("\"" + copy + "\" 30");
  ASSERT_TRUE(pid);
  EXPECT_FALSE(p.files.DeleteFile(copy));
  EXPECT_NE(p.processes.Terminate(*pid), 0);
  ASSERT_TRUE(p.processes.WaitForExit(*pid, 10000));
  // The image may stay mapped for a moment after the process has ended.
  bool deleted = false;
  for (int i = 0; i < 50 && !(deleted = p.files.DeleteFile(copy)); ++i) p.system.Sleep(100);
  EXPECT_TRUE(deleted);
}

TEST_P(ProcessesContract, MissingProgramsAndProcessesAreRefused) {
  auto p = P();
  EXPECT_FALSE(p.processes.Start("\"" + M().ScratchPath("absent.exe") + "\""));
  EXPECT_EQ(p.processes.Terminate(0xFFFFFFF0u), 0);
  EXPECT_FALSE(p.processes.ImagePath(0xFFFFFFF0u));
  EXPECT_TRUE(p.processes.WaitForExit(0xFFFFFFF0u, 0));
  auto snapshot = p.processes.Snapshot();
  ASSERT_TRUE(snapshot);
  EXPECT_GE(snapshot->size(), 1u);
}

}  // namespace
}  // namespace morvanta::testing
