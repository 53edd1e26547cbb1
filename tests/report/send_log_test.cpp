#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "report/log_password.h"
#include "report/send_log.h"

namespace morvanta::report {
namespace {

std::string Text(platform::fake::FakePlatform& machine, const std::string& path) {
  const auto bytes = machine.files.ReadAll(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}

TEST(SendLog, TheScanLogMergedIntoTheRunningObjectsSortedWithoutDuplicates) {
  platform::fake::FakePlatform machine;
  const std::string path = "C:\\Program\\SendLog.txt";
  machine.files.PutFile(path, "an older log that is replaced whole\r\n");
  inspect::RunningObjectList objects;
  objects.Add("Proc c:\\windows\\explorer.exe[ab][10]");
  objects.Add("RegRun c:\\tools\\agent.exe[cd][20]");
  scan::ScanLogList scanLog;
  scanLog.Add("!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;");
  scanLog.Add("!Infected arm.exe=;c:\\temp\\;worm.arm;1e;3;");
  scanLog.AppendTo(*scanLog.Find("!Infected bad.exe"), "Ok;");
  objects.Add("!INFECTED ARM.EXE=;C:\\TEMP\\;WORM.ARM;1E;3;");  // the same line, other case

  ASSERT_TRUE(WriteSendLog(machine.files, path, objects, scanLog));
  EXPECT_EQ(Text(machine, path),
            "!INFECTED ARM.EXE=;C:\\TEMP\\;WORM.ARM;1E;3;\r\n"
            "!Infected bad.exe=;c:\\temp\\;worm.bad;0f;14;Ok;\r\n"
            "Proc c:\\windows\\explorer.exe[ab][10]\r\n"
            "RegRun c:\\tools\\agent.exe[cd][20]\r\n");
  EXPECT_EQ(objects.Lines().size(), 4u);  // the merged lines stay

  // A second attempt writes the same lines again, nothing twice.
  ASSERT_TRUE(WriteSendLog(machine.files, path, objects, scanLog));
  EXPECT_EQ(objects.Lines().size(), 4u);

  // Nothing at all: an empty file.
  inspect::RunningObjectList none;
  ASSERT_TRUE(WriteSendLog(machine.files, path, none, scan::ScanLogList{}));
  EXPECT_EQ(Text(machine, path), "");
}

TEST(SendLog, AFileThatCannotBeWrittenIsAFailure) {
  platform::fake::FakePlatform machine;
  machine.files.MakeFolders("C:\\Program");
  ASSERT_TRUE(machine.files.CreateDirectory("C:\\Program\\SendLog.txt"));  // a folder in the way
  inspect::RunningObjectList objects;
  objects.Add("Proc c:\\a.exe[ab][1]");
  EXPECT_FALSE(WriteSendLog(machine.files, "C:\\Program\\SendLog.txt", objects, {}));
  EXPECT_FALSE(WriteSendLog(machine.files, "Q:\\nowhere\\SendLog.txt", objects, {}));
}

TEST(SendLog, ThePasswordIsPutTogetherFromItsPieces) {
  // Two letters and two numbers, then the "29" in them given way to "m41".
  EXPECT_EQ(BuildLogPassword(), "qv73m4106");
  EXPECT_EQ(BuildLogPassword(), BuildLogPassword());
}

}  // namespace
}  // namespace morvanta::report
