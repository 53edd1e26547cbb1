#include <gtest/gtest.h>

#include "app/machine_summary.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

std::string ValueOf(const std::vector<std::pair<std::string, std::string>>& rows,
                    const std::string& label) {
  for (const auto& r : rows)
    if (r.first == label) return r.second;
  return "<missing>";
}

TEST(MachineSummary, DescribesTheMachineFromThePlatform) {
  platform::fake::FakePlatform machine;
  machine.processes.AddProcess("explorer.exe", "C:\\windows\\explorer.exe");
  auto rows = DescribeMachine(machine.Get());
  EXPECT_EQ(ValueOf(rows, "Windows version"), "5.1 build 2600, Service Pack 3");
  EXPECT_EQ(ValueOf(rows, "Windows folder"), "C:\\windows");
  EXPECT_EQ(ValueOf(rows, "Drives"), "C:\\");
  EXPECT_EQ(ValueOf(rows, "Running processes"), "3");
  EXPECT_EQ(ValueOf(rows, "Services"), "0");
}

TEST(MachineSummary, SaysWhatItCouldNotLearn) {
  platform::fake::FakePlatform machine;
  machine.system.SetVersion(std::nullopt);
  machine.processes.FailSnapshots(true);
  machine.services.SetManagerAvailable(false);
  auto rows = DescribeMachine(machine.Get());
  EXPECT_EQ(ValueOf(rows, "Windows version"), "unknown");
  EXPECT_EQ(ValueOf(rows, "Running processes"), "?");
  EXPECT_EQ(ValueOf(rows, "Services"), "?");
}

}  // namespace
}  // namespace morvanta::app
