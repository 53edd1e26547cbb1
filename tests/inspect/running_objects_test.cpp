// The running-object inventory on the fake: the sorted list, the kinds and their lines, and
// the registry's autostart places in their order.
#include <gtest/gtest.h>

#include "inspect/running_objects.h"
#include "common/memory_views.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using platform::RegRoot;
using platform::RegValue;
using platform::fake::FakePlatform;

const char kEmptyDigest[] = "d41d8cd98f00b204e9800998ecf8427e";
const char kAbcDigest[] = "900150983cd24fb0d6963f7d28e17f72";

TEST(RunningObjectList, SortedWithoutCaseAndWithoutDuplicates) {
  RunningObjectList list;
  EXPECT_TRUE(list.Add("Proc c:\\b.exe[x][1]"));
  EXPECT_TRUE(list.Add("proc c:\\a.exe[x][1]"));
  EXPECT_TRUE(list.Add("RegRun [y][0]"));
  EXPECT_FALSE(list.Add("PROC C:\\B.EXE[X][1]"));
  EXPECT_TRUE(list.Add("Clsid c:\\z.dll[x][1]"));
  // lower-cased bytes compare: ' ' sorts before '_'
  EXPECT_TRUE(list.Add("Proc_ c:\\a.exe[x][1]"));
  scan::RunningObjects& objects = list;
  EXPECT_EQ(objects.List(),
            (std::vector<std::string>{"Clsid c:\\z.dll[x][1]", "proc c:\\a.exe[x][1]",
                                      "Proc c:\\b.exe[x][1]", "Proc_ c:\\a.exe[x][1]",
                                      "RegRun [y][0]"}));
  list.Clear();
  EXPECT_TRUE(list.Lines().empty());
}

class InventoryTest : public ::testing::Test {
 protected:
  void Value(RegRoot root, const std::string& key, const std::string& name,
             const std::string& data) {
    auto k = fake.registry.CreateKey(root, key);
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->WriteValue(name, RegValue::FromString(data)));
  }
  void Key(RegRoot root, const std::string& key) { ASSERT_TRUE(fake.registry.CreateKey(root, key)); }
  FakePlatform fake;
  platform::Platform p = fake.Get();
  common::MessageCatalog catalog;
  common::CountingPump pump;
};

TEST_F(InventoryTest, KindsAndLines) {
  fake.files.PutFile("C:\\Apps\\app.exe", "abc");
  fake.files.PutFile("C:\\Apps\\svc.exe", "abc");
  fake.files.PutFile("C:\\Apps\\tray.exe", "abc");
  fake.processes.AddProcess("app.exe", std::string("C:\\Apps\\app.exe"));
  fake.processes.AddProcess("app.exe", std::string("c:\\apps\\APP.exe"));  // the same file
  fake.processes.AddProcess("gone.exe", std::string("C:\\Apps\\gone.exe"));  // not present
  InventorySources sources;
  sources.startupValues = {{RegRoot::CurrentUser, "Run", "a", "\"C:\\Apps\\tray.exe\" /min"},
                           {RegRoot::CurrentUser, "Run", "b", "nothing-here.exe"},
                           {RegRoot::CurrentUser, "Run", "c", "neither.exe"}};
  sources.startupFolderTargets = {"C:\\Apps\\tray.exe", "C:\\nowhere.exe"};
  sources.serviceImagePaths = {"C:\\Apps\\svc.exe -k", "Can not open service!"};
  sources.systemIniLines = {"c:\\nowhere\\x.drv"};
  RunningObjectList list;
  list.Add("stale line");
  CollectRunningObjects(p, catalog, sources, list, pump);
  EXPECT_GE(pump.calls, list.Lines().size());  // the window is let through as lines are added
  const std::string tag = std::string("[") + kAbcDigest + "][3]";
  EXPECT_EQ(list.Lines(),
            (std::vector<std::string>{"Proc C:\\Apps\\app.exe" + tag,
                                      "RegRun [" + std::string(kEmptyDigest) + "][0]",
                                      "RegRun c:\\apps\\tray.exe" + tag,
                                      "Service c:\\apps\\svc.exe" + tag,
                                      "Startup c:\\apps\\tray.exe" + tag}));
}

TEST_F(InventoryTest, ARebuiltListWorksItsPathsOutAnew) {
  fake.files.PutFile("C:\\Apps\\tool.exe", "abc");
  fake.processes.AddProcess("tool.exe", std::string("C:\\Apps\\tool.exe"));
  RunningObjectList list;
  CollectRunningObjects(p, catalog, {}, list, pump);
  ASSERT_FALSE(list.Lines().empty());
  const size_t line = 0;
  EXPECT_EQ(list.ResolvedPath(p, line), "c:\\apps\\tool.exe");
  // The same line after a rebuild, but its file gone: the old answer is not kept.
  const std::string same = list.Lines()[line];
  list.Clear();
  list.Add(same);
  fake.files.DeleteFile("C:\\Apps\\tool.exe");
  EXPECT_EQ(list.ResolvedPath(p, 0), "");
}

TEST_F(InventoryTest, AutostartPlacesInOrder) {
  const std::string sys = "C:\\windows\\system32\\";
  for (const char* f : {"win.dll", "ssodl.dll", "ssodl.exe", "notify.dll", "sts.dll", "bho.dll",
                        "hook.dll", "app.dll"})
    fake.files.PutFile(sys + f, "library content");
  const std::string windows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  Value(RegRoot::LocalMachine, windows, "Spooler", sys + "win.dll");
  Value(RegRoot::LocalMachine, windows, "Missing", sys + "none.dll");
  Value(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad",
        "Tray", "{A}");
  Value(RegRoot::ClassesRoot, "CLSID\\{A}\\InProcServer32", "", sys + "ssodl.dll");
  Value(RegRoot::ClassesRoot, "CLSID\\{A}\\LocalServer32", "", sys + "ssodl.exe");
  Value(RegRoot::LocalMachine,
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\Pkg", "DllName",
        sys + "notify.dll");
  Value(RegRoot::LocalMachine, explorer + "SharedTaskScheduler", "{B}", "a scheduler");
  Value(RegRoot::ClassesRoot, "CLSID\\{B}\\InProcServer32", "", sys + "sts.dll");
  Key(RegRoot::LocalMachine, explorer + "Browser Helper Objects\\{C}");
  Value(RegRoot::ClassesRoot, "CLSID\\{C}\\InProcServer32", "", sys + "bho.dll");
  Value(RegRoot::ClassesRoot, "CLSID\\{C}\\LocalServer32", "", sys + "SSODL.dll");  // repeat
  Key(RegRoot::LocalMachine, explorer + "ShellExecuteHooks\\{D}");
  Value(RegRoot::ClassesRoot, "CLSID\\{D}\\InProcServer32", "", sys + "hook.dll");
  Value(RegRoot::LocalMachine, windows, "AppInit_DLLs", "app.dll,ghost.dll");
  const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  Value(RegRoot::CurrentUser, uninstall + "Tool", "UninstallString",
        "\"C:\\Program Files\\Tool\\unins000.exe\" /x");
  Key(RegRoot::CurrentUser, uninstall + "NoCommand");

  auto files = CollectAutostartFiles(p, pump);
  EXPECT_GT(pump.calls, 0u);
  const std::string s = "c:\\windows\\system32\\";
  EXPECT_EQ(files, (std::vector<std::string>{
                       s + "win.dll", s + "ssodl.dll", s + "ssodl.exe", s + "notify.dll",
                       s + "sts.dll", s + "bho.dll", s + "hook.dll", "C:\\windows\\system32\\app.dll",
                       "ghost.dll", "", "C:\\Program Files\\Tool\\unins000.exe /x"}));

  // subkeys in the registry's order (the fake's: by name)
  // "Clsid " lines: empty paths skipped, a command line that is no file hashed as empty
  RunningObjectList list;
  CollectRunningObjects(p, catalog, {}, list, pump);
  EXPECT_EQ(list.Lines().size(), 10u);
  EXPECT_EQ(list.Lines().front(), "Clsid C:\\Program Files\\Tool\\unins000.exe /x[" +
                                      std::string(kEmptyDigest) + "][0]");
}

}  // namespace
}  // namespace morvanta::inspect
