// The services manager, the keyboard filters, the Win.ini toggle and the inventory on every
// machine: the fake, and under Wine the real Service Control Manager, the real keyboard
// class key (its "UpperFilters" put back exactly afterwards) and the real Win.ini (put back
// afterwards).
#include <gtest/gtest.h>

#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"
#include "scoped_service.h"
#include "inspect/ini_lines.h"
#include "inspect/keyboard_filters.h"
#include "inspect/running_objects.h"
#include "inspect/services.h"
#include "scan/file_digest.h"
#include "page_test_util.h"

namespace morvanta::inspect {
namespace {

using platform::RegRoot;
using platform::RegValue;
using platform::StartType;

MORVANTA_CONTRACT_SUITE(InspectOnMachine);

using ::morvanta::testing::ScopedService;

TEST_P(InspectOnMachine, ServiceRowsAndOperations) {
  auto p = P();
  const std::string key = "MorvantaInspectSvc";
  const std::string display = "Morvanta Inspect Service";
  const std::string helper = M().HelperPath("test_service.exe");
  const std::string path = "\"" + helper + "\" " + key;
  ScopedService service(p.services, {key, display, path, StartType::Manual});
  ASSERT_TRUE(service.Created());

  NoMessages pump;
  auto rows = ListServices(p, pump);
  ASSERT_TRUE(rows);
  auto it = std::find_if(rows->begin(), rows->end(),
                         [&](const ServiceRow& r) { return r.displayName == display; });
  ASSERT_NE(it, rows->end());
  ServiceRow row = *it;
  EXPECT_EQ(row.kind, ServiceRowKind::Service);
  EXPECT_EQ(row.imagePath, path);
  EXPECT_EQ(row.state, ServiceRunState::Stopped);
  EXPECT_EQ(row.startType, StartType::Manual);
  EXPECT_EQ(row.keyName, key);
  EXPECT_TRUE(row.nonMicrosoft);  // "Copyright (C) Morvanta Test"
  EXPECT_EQ(ServiceImageFile(path, false), helper);
  EXPECT_EQ(ServiceKeyNameOf(p, display), key);
  EXPECT_EQ(ChangeCmdStatus(true, &row), (ServiceButtons{true, false, false, true}));

  EXPECT_TRUE(StartServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Running);
  EXPECT_EQ(ChangeCmdStatus(true, &row), (ServiceButtons{false, true, true, true}));
  EXPECT_TRUE(StopServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Stopped);
  EXPECT_TRUE(RestartServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Running);

  // An empty path names no service; its own image path stops it, as the report manager asks.
  std::vector<ServiceRow> list = {row};
  EXPECT_FALSE(StopServiceByImagePath(p, list, "", pump));
  EXPECT_EQ(p.services.QueryStatus(key)->state, platform::ServiceState::Running);
  EXPECT_TRUE(StopServiceByImagePath(p, list, "\"" + helper, pump));
  EXPECT_EQ(list[0].state, ServiceRunState::Stopped);

  for (StartType t : {StartType::Manual, StartType::Disabled, StartType::Automatic}) {
    EXPECT_TRUE(SetStartTypeRow(p, row, t));
    EXPECT_EQ(row.startType, t);
    EXPECT_EQ(p.services.QueryConfig(key).config->startType, t);
  }
  ASSERT_TRUE(SetStartTypeRow(p, row, StartType::Disabled));
  row.state = ServiceRunState::Stopped;
  EXPECT_FALSE(StartServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Stopped);

  EXPECT_TRUE(p.services.Delete(key));
  rows = ListServices(p, pump);
  ASSERT_TRUE(rows);
  EXPECT_TRUE(std::none_of(rows->begin(), rows->end(),
                           [&](const ServiceRow& r) { return r.displayName == display; }));
}

// Puts the keyboard class key's "UpperFilters" back as it was: the same type and bytes, or
// no value, or no key.
class UpperFiltersGuard {
 public:
  explicit UpperFiltersGuard(platform::Registry& registry) : registry_(registry) {
    auto key = registry_.OpenKey(RegRoot::LocalMachine, kKeyboardClassKey,
                                 platform::RegAccess::Read);
    keyExisted_ = key != nullptr;
    if (key) original_ = key->ReadValue("UpperFilters");
  }
  ~UpperFiltersGuard() {
    if (!keyExisted_) {
      registry_.DeleteKeyTree(RegRoot::LocalMachine, kKeyboardClassKey);
      return;
    }
    auto key = registry_.OpenKey(RegRoot::LocalMachine, kKeyboardClassKey);
    if (!key) return;
    if (original_)
      key->WriteValue("UpperFilters", *original_);
    else
      key->DeleteValue("UpperFilters");
  }
  std::string FirstName() const {
    if (!original_ || original_->type != platform::RegType::MultiString) return "kbdclass";
    std::string first(original_->data.begin(), original_->data.end());
    first = first.substr(0, first.find('\0'));
    return first.empty() ? "kbdclass" : first;
  }

 private:
  platform::Registry& registry_;
  bool keyExisted_ = false;
  std::optional<RegValue> original_;
};

TEST_P(InspectOnMachine, ServiceWithoutVersionResourceIsMarked) {
  auto p = P();
  // Named without extension and followed by a switch: the version strings are read from
  // the name with ".exe" appended; the helper has no version resource at all.
  std::string helper = M().HelperPath("sleeper.exe");
  const std::string path = helper.substr(0, helper.size() - 4) + " -s";
  ScopedService service(p.services, {"MorvantaBareSvc", "Morvanta Bare Service", path,
                                     StartType::Manual});
  ASSERT_TRUE(service.Created());
  EXPECT_EQ(ServiceImageFile(path, true), helper);
  NoMessages pump;
  auto rows = ListServices(p, pump);
  ASSERT_TRUE(rows);
  auto it = std::find_if(rows->begin(), rows->end(),
                         [](const ServiceRow& r) { return r.displayName == "Morvanta Bare Service"; });
  ASSERT_NE(it, rows->end());
  EXPECT_EQ(it->imagePath, path);
  EXPECT_TRUE(it->nonMicrosoft);
}

TEST_P(InspectOnMachine, KeyboardFilterListedAndRemoved) {
  auto p = P();
  ScriptedPrompts answers;
  UpperFiltersGuard guard(p.registry);
  const std::string first = guard.FirstName();
  {
    auto key = p.registry.CreateKey(RegRoot::LocalMachine, kKeyboardClassKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->WriteValue("UpperFilters",
                                RegValue::FromMultiString({first, "mvtestflt"})));
  }
  auto listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(listing.rows[0].name, "mvtestflt");
  EXPECT_EQ(FilterPathCellText(listing.rows[0]), "File not found");

  // With its driver file in place the row names it, and removing renames it out of the way.
  const std::string driver = p.folders.SystemDirectory() + "\\Drivers\\mvtestflt.sys";
  p.files.CreateDirectory(p.folders.SystemDirectory() + "\\Drivers");
  ASSERT_TRUE(p.files.WriteAll(driver, "a keyboard filter driver"));
  listing = ListKeyboardFilters(p);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_TRUE(platform::EqualsNoCase(listing.rows[0].file, driver)) << listing.rows[0].file;

  EXPECT_EQ(RemoveKeyboardFilter(p, listing.rows[0], answers, listing), FilterRemoval::Removed);
  EXPECT_EQ(listing.rows[0].name, "No Keyboard Filter driver found!");
  EXPECT_FALSE(p.files.Exists(driver));
  EXPECT_TRUE(p.files.DeleteFile(driver + ".del"));
  auto key = p.registry.OpenKey(RegRoot::LocalMachine, kKeyboardClassKey,
                                platform::RegAccess::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadValue("UpperFilters")->data, RegValue::FromMultiString({first}).data);
}

// Puts the Windows folder's Win.ini back as it was (or removes it when there was none).
class FileGuard {
 public:
  FileGuard(platform::Files& files, std::string path) : files_(files), path_(std::move(path)) {
    original_ = files_.ReadAll(path_);
  }
  ~FileGuard() {
    if (original_)
      files_.WriteAll(path_, original_->data(), original_->size());
    else
      files_.DeleteFile(path_);
  }

 private:
  platform::Files& files_;
  std::string path_;
  std::optional<std::vector<uint8_t>> original_;
};

TEST_P(InspectOnMachine, WinIniRunLineToggled) {
  auto p = P();
  const std::string dir = p.folders.WindowsDirectory();
  ASSERT_FALSE(dir.empty());
  const std::string path = dir + "\\win.ini";
  FileGuard guard(p.files, path);
  // An upper-case line with blanks around it lists trimmed and lower-case.
  ASSERT_TRUE(p.files.WriteAll(path, "[windows]\r\n  RUN=C:\\MvTest\\TOOL.exe \r\nload=\r\n"));

  ScriptedPrompts prompts;
  auto listing = ListIniLines(p, "Win.ini", prompts);
  ASSERT_TRUE(listing);
  ASSERT_EQ(listing->rows.size(), 2u);
  EXPECT_EQ(listing->rows[0].line, "run=c:\\mvtest\\tool.exe");
  EXPECT_TRUE(listing->rows[0].ticked);

  auto off = IniLineAfterCheck(listing->rows[0], false);
  ASSERT_TRUE(off);
  ASSERT_TRUE(ChangeIniLine(p, "Win.ini", listing->rows[0].line, *off, prompts));
  auto text = p.files.ReadAll(path);
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(text->begin(), text->end()),
            "[windows]\r\n;run=c:\\mvtest\\tool.exe\r\nload=\r\n");
  listing = ListIniLines(p, "Win.ini", prompts);
  ASSERT_TRUE(listing);
  EXPECT_EQ(listing->rows[0].line, ";run=c:\\mvtest\\tool.exe");
  EXPECT_FALSE(listing->rows[0].ticked);

  auto on = IniLineAfterCheck(listing->rows[0], true);
  ASSERT_TRUE(on);
  ASSERT_TRUE(ChangeIniLine(p, "Win.ini", listing->rows[0].line, *on, prompts));
  listing = ListIniLines(p, "Win.ini", prompts);
  ASSERT_TRUE(listing);
  EXPECT_EQ(listing->rows[0].line, "run=c:\\mvtest\\tool.exe");
  EXPECT_TRUE(listing->rows[0].ticked);
  EXPECT_FALSE(p.files.Exists(path + ".new"));
}

TEST_P(InspectOnMachine, InventoryHoldsRunningAndAutostartFiles) {
  auto p = P();
  const std::string helper = M().HelperPath("sleeper.exe");
  // Two processes of one file, and autostart places that name it.
  auto first = p.processes.Start("\"" + helper + "\" 30");
  auto second = p.processes.Start("\"" + helper + "\" 30");
  ASSERT_TRUE(first && second);
  const std::string uninstall =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MorvantaInventoryTest";
  auto key = p.registry.CreateKey(RegRoot::CurrentUser, uninstall);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("UninstallString", RegValue::FromString("\"" + helper + "\"")));
  key.reset();

  InventorySources sources;
  sources.startupValues.push_back(
      {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Gone",
       "\"c:\\no such folder\\gone.exe\" /background"});
  RunningObjectList list;
  common::MessageCatalog catalog;
  NoMessages pump;
  CollectRunningObjects(p, catalog, sources, list, pump);
  for (auto pid : {*first, *second}) {
    p.processes.Terminate(pid);
    p.processes.WaitForExit(pid, 10000);
  }
  p.registry.DeleteKeyTree(RegRoot::CurrentUser, uninstall);

  const auto& lines = list.Lines();
  auto count = [&](const std::string& start) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return platform::AsciiLower(l).compare(0, start.size(), platform::AsciiLower(start)) == 0;
    });
  };
  const std::string digest = "[" + scan::FileDigest(p.files, helper) + "]";
  EXPECT_EQ(count("Proc " + helper + digest), 1) << "two processes of one file, one line";
  EXPECT_EQ(count("RegRun [d41d8cd98f00b204e9800998ecf8427e][0]"), 1);
  EXPECT_EQ(count("Clsid " + helper + digest), 1);
  if (M().IsReal()) {
    EXPECT_GE(count("Proc C:\\windows\\system32\\"), 1) << "the system's own processes";
  }
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(), [](const std::string& a,
                                                          const std::string& b) {
    return platform::AsciiLower(a) < platform::AsciiLower(b);
  }));
}

}  // namespace
}  // namespace morvanta::inspect
