// The services manager on the fake: rows and their error texts, the non-Microsoft mark, the
// poll loop and its bound, start types, stop by image path and the button states.
#include <gtest/gtest.h>

#include "inspect/services.h"
#include "page_test_util.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::inspect {
namespace {

using platform::ConfigQueryError;
using platform::ServiceState;
using platform::StartType;
using platform::fake::FakePlatform;
using platform::fake::FakeVersionInfo;

const char kBlock[] = "\\StringFileInfo\\040904E4\\";

FakeVersionInfo Info(std::map<std::string, std::string> byKey) {
  FakeVersionInfo info;
  info.translations = {{0x0409, 0x04E4}};
  for (const auto& kv : byKey) info.strings[kBlock + kv.first] = kv.second;
  return info;
}

class ServicesTest : public ::testing::Test {
 protected:
  // A service whose image file exists.
  void Add(const std::string& key, const std::string& display, const std::string& imagePath,
           const std::string& file, StartType type = StartType::Manual) {
    if (!file.empty()) fake.files.PutFile(file, "MZ program image");
    ASSERT_TRUE(fake.services.Create({key, display, imagePath, type}));
  }
  const ServiceRow& RowOf(const std::vector<ServiceRow>& rows, const std::string& caption) {
    for (const auto& r : rows)
      if (r.displayName == caption) return r;
    ADD_FAILURE() << "no row " << caption;
    static ServiceRow none;
    return none;
  }
  FakePlatform fake;
  platform::Platform p = fake.Get();
  common::NoMessages pump;
};

// A row read completely, as the listing makes it.
ServiceRow Row(const char* caption, const char* path, ServiceRunState state, StartType type,
               const char* key) {
  ServiceRow row;
  row.displayName = caption;
  row.imagePath = path;
  row.state = state;
  row.startType = type;
  row.keyName = key;
  return row;
}

// The three cells as the lists show them, with the key name behind them.
std::vector<std::string> Cells(const ServiceRow& row) {
  return {PathCellText(row, "Can not get Service List!"), StatusCellText(row),
          StartTypeCellText(row), row.keyName};
}

TEST(ServiceImageFile, VariantsAAndB) {
  struct Case {
    const char* path;
    const char* a;
    const char* b;
  } cases[] = {
      {"\"C:\\Program Files\\Agent\\agent.exe\" -service", "C:\\Program Files\\Agent\\agent.exe",
       "C:\\Program Files\\Agent\\agent.exe"},
      {"  C:\\WINDOWS\\system32\\svchost.exe -k netsvcs ", "C:\\WINDOWS\\system32\\svchost.exe",
       "C:\\WINDOWS\\system32\\svchost.exe"},
      // no extension, switches: ".exe" appended in variant A only
      {"C:\\Tools\\helper /run", "C:\\Tools\\helper.exe", "C:\\Tools\\helper"},
      // ".EXE" in capitals is not found: cut at the first blank
      {"C:\\Tools\\Helper.EXE /run", "C:\\Tools\\Helper.EXE.exe", "C:\\Tools\\Helper.EXE"},
      {"system32\\drivers\\beep.sys", "system32\\drivers\\beep.sys", "system32\\drivers\\beep.sys"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ServiceImageFile(c.path, true), c.a) << c.path;
    EXPECT_EQ(ServiceImageFile(c.path, false), c.b) << c.path;
  }
}

TEST(ServiceStartTypes, TextsAndCodes) {
  EXPECT_EQ(StartTypeText(StartType::Boot), "Automatic");
  EXPECT_EQ(StartTypeText(StartType::System), "Automatic");
  EXPECT_EQ(StartTypeText(StartType::Automatic), "Automatic");
  EXPECT_EQ(StartTypeText(StartType::Manual), "Manual");
  EXPECT_EQ(StartTypeText(StartType::Disabled), "Disabled");
  EXPECT_EQ(StartTypeFromText("&Automatic"), StartType::Automatic);
  EXPECT_EQ(StartTypeFromText("&Manual"), StartType::Manual);
  EXPECT_EQ(StartTypeFromText("&Disabled"), StartType::Disabled);
  EXPECT_FALSE(StartTypeFromText("Boot"));
}

TEST_F(ServicesTest, RowsCarryPathStateStartTypeAndKeyName) {
  Add("AgentSvc", "Agent Service", "\"C:\\Agent\\agent.exe\" -s", "C:\\Agent\\agent.exe",
      StartType::Automatic);
  Add("PauseSvc", "Pausing", "C:\\Agent\\pause.exe", "C:\\Agent\\pause.exe", StartType::Boot);
  Add("OffSvc", "Off", "C:\\Agent\\off.exe", "C:\\Agent\\off.exe", StartType::Disabled);
  fake.services.SetState("AgentSvc", ServiceState::Running);
  fake.services.SetState("PauseSvc", ServiceState::Paused);
  fake.services.SetState("OffSvc", ServiceState::StopPending);
  CountingPump counting;
  auto rows = ListServices(p, counting);
  ASSERT_TRUE(rows);
  ASSERT_EQ(rows->size(), 3u);
  EXPECT_EQ(counting.calls, 3u);  // the window is let through before each entry
  EXPECT_EQ(Cells(RowOf(*rows, "Agent Service")),
            (std::vector<std::string>{"\"C:\\Agent\\agent.exe\" -s", "Running", "Automatic",
                                      "AgentSvc"}));
  EXPECT_EQ(RowOf(*rows, "Agent Service").state, ServiceRunState::Running);
  EXPECT_EQ(RowOf(*rows, "Pausing").startType, StartType::Boot);
  EXPECT_EQ(Cells(RowOf(*rows, "Pausing")),
            (std::vector<std::string>{"C:\\Agent\\pause.exe", "Paused", "Automatic", "PauseSvc"}));
  EXPECT_EQ(Cells(RowOf(*rows, "Off")),
            (std::vector<std::string>{"C:\\Agent\\off.exe", "Stopped", "Disabled", "OffSvc"}));
}

TEST_F(ServicesTest, ConfigFailuresGiveTheirTexts) {
  struct Case {
    ConfigQueryError error;
    ServiceRowKind kind;
    std::vector<std::string> cells;
  } cases[] = {
      {ConfigQueryError::CannotOpen, ServiceRowKind::CannotOpen,
       {"Can not open service!", "", "", ""}},
      {ConfigQueryError::CannotGetSize, ServiceRowKind::CannotGetInformation,
       {"Can not get information!", "", "", ""}},
      {ConfigQueryError::CannotQuery, ServiceRowKind::CannotQuery,
       {"Can not query information!", "", "", "Locked"}},
  };
  for (const auto& c : cases) {
    FakePlatform f;
    auto fp = f.Get();
    ASSERT_TRUE(f.services.Create({"Locked", "Locked One", "C:\\x.exe", StartType::Manual}));
    f.services.SetConfigError("Locked", c.error);
    auto rows = ListServices(fp, pump);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].displayName, "Locked One");
    EXPECT_EQ((*rows)[0].kind, c.kind);
    EXPECT_EQ(Cells((*rows)[0]), c.cells);
    EXPECT_EQ(ChangeCmdStatus(true, &(*rows)[0]), ServiceButtons{});
    EXPECT_FALSE(StartServiceRow(fp, (*rows)[0]));
  }
}

TEST_F(ServicesTest, NonMicrosoftMarkFromLegalCopyright) {
  struct Case {
    const char* name;
    bool hasFile;
    std::optional<FakeVersionInfo> info;
    bool marked;
  } cases[] = {
      {"ms", true,
       Info({{"CompanyName", "Microsoft Corporation"},
             {"FileDescription", "Host"},
             {"FileVersion", "5.1"},
             {"InternalName", "h"},
             {"LegalCopyright", "(C) Microsoft Corporation. All rights reserved."}}),
       false},
      {"other", true,
       Info({{"CompanyName", "Morvanta Test"},
             {"FileDescription", "d"},
             {"FileVersion", "1"},
             {"InternalName", "i"},
             {"LegalCopyright", "Copyright (C) Morvanta Test"}}),
       true},
      // the text is compared with its case
      {"lower", true,
       Info({{"CompanyName", "x"},
             {"FileDescription", "d"},
             {"FileVersion", "1"},
             {"InternalName", "i"},
             {"LegalCopyright", "microsoft corp"}}),
       true},
      // reading stops at the first missing key: no CompanyName, nothing read
      {"nocompany", true, Info({{"LegalCopyright", "Microsoft Corp"}}), true},
      // an empty value is skipped, the next keys are still read
      {"emptydesc", true,
       Info({{"CompanyName", "M"},
             {"FileDescription", ""},
             {"FileVersion", "1"},
             {"InternalName", "i"},
             {"LegalCopyright", "Microsoft Corp"}}),
       false},
      {"noresource", true, std::nullopt, true},
      {"nofile", false,
       Info({{"CompanyName", "M"},
             {"FileDescription", "d"},
             {"FileVersion", "1"},
             {"InternalName", "i"},
             {"LegalCopyright", "Microsoft Corp"}}),
       true},
  };
  for (const auto& c : cases) {
    FakePlatform f;
    auto fp = f.Get();
    const std::string file = std::string("C:\\svc\\") + c.name + ".exe";
    if (c.hasFile) f.files.PutFile(file, "MZ image");
    if (c.info) f.system.SetVersionInfo(file, *c.info);
    // unquoted, without extension, with a switch: read from the name + ".exe"
    ASSERT_TRUE(f.services.Create({c.name, c.name, std::string("C:\\svc\\") + c.name + " /svc",
                                   StartType::Manual}));
    auto rows = ListServices(fp, pump);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].nonMicrosoft, c.marked) << c.name;
  }
}

TEST_F(ServicesTest, ListingRefreshNoticesAndFailure) {
  Add("A", "Alpha", "C:\\a.exe", "C:\\a.exe");
  auto listing = LoadServiceListing(p, pump);
  EXPECT_TRUE(listing.listEnabled);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(listing.rows[0].displayName, "Alpha");

  fake.services.SetManagerAvailable(false);
  EXPECT_FALSE(ListServices(p, pump));
  listing = LoadServiceListing(p, pump);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(listing.rows[0].kind, ServiceRowKind::ListFailed);
  EXPECT_EQ(Cells(listing.rows[0]),
            (std::vector<std::string>{"Can not get Service List!", "", "", ""}));

  fake.system.SetPackedVersion(0xC0000A04);  // the 9x family
  listing = LoadServiceListing(p, pump);
  EXPECT_FALSE(listing.listEnabled);
  ASSERT_EQ(listing.rows.size(), 1u);
  EXPECT_EQ(Cells(listing.rows[0]),
            (std::vector<std::string>{"For Windows NT/2000/XP only!", "", "", ""}));
  EXPECT_EQ(ChangeCmdStatus(true, &listing.rows[0]), ServiceButtons{});
}

TEST_F(ServicesTest, EntriesBeyondTheBufferAreNotListed) {
  for (int i = 0; i < 2000; ++i) {
    const std::string key = "Service" + std::to_string(i);
    ASSERT_TRUE(fake.services.Create({key, "Display name of " + key, "C:\\s.exe",
                                      StartType::Manual}));
  }
  auto rows = ListServices(p, pump);
  ASSERT_TRUE(rows);
  EXPECT_GT(rows->size(), 0u);
  EXPECT_LT(rows->size(), 2000u);
}

TEST_F(ServicesTest, StartAndStopPollUntilTheFinalState) {
  Add("Svc", "Svc", "C:\\svc.exe", "C:\\svc.exe");
  fake.services.SetPendingPhase("Svc", 5, 1, 250);
  const uint32_t before = fake.system.TickCount();
  EXPECT_TRUE(StartServiceAndWait(p, "Svc"));
  EXPECT_EQ(fake.services.QueryStatus("Svc")->state, ServiceState::Running);
  EXPECT_GE(fake.system.TickCount() - before, 4u * 250u);  // slept the wait hints
  EXPECT_FALSE(StartServiceAndWait(p, "Svc"));  // already running: refused
  fake.services.SetPendingPhase("Svc", 3, 1, 0);
  EXPECT_TRUE(StopServiceAndWait(p, "Svc"));
  EXPECT_EQ(fake.services.QueryStatus("Svc")->state, ServiceState::Stopped);
  EXPECT_FALSE(StartServiceAndWait(p, "Unknown"));
}

TEST_F(ServicesTest, WaitEndsWhenTheCheckPointGoesBack) {
  Add("Svc", "Svc", "C:\\svc.exe", "C:\\svc.exe");
  fake.services.SetPendingPhase("Svc", 1000, -1, 10);
  const uint32_t before = fake.system.TickCount();
  EXPECT_FALSE(StartServiceAndWait(p, "Svc"));
  EXPECT_LT(fake.system.TickCount() - before, 1000u);
}

TEST_F(ServicesTest, WaitIsBoundedForAStuckService) {
  struct Case {
    uint32_t waitHint;
  } cases[] = {{0}, {1}, {7000}, {120000}};
  for (const auto& c : cases) {
    FakePlatform f;
    auto fp = f.Get();
    f.files.PutFile("C:\\svc.exe", "MZ");
    ASSERT_TRUE(f.services.Create({"Stuck", "Stuck", "C:\\svc.exe", StartType::Manual}));
    f.services.SetPendingPhase("Stuck", 1000000, 0, c.waitHint);
    const uint32_t before = f.system.TickCount();
    EXPECT_FALSE(StartServiceAndWait(fp, "Stuck")) << c.waitHint;
    const uint32_t waited = f.system.TickCount() - before;
    EXPECT_GE(waited, kServiceWaitBoundMs) << c.waitHint;
    EXPECT_LE(waited, kServiceWaitBoundMs + kServiceMinPollMs) << c.waitHint;
  }
}

TEST_F(ServicesTest, RowOperationsShowOldTextOnFailure) {
  Add("Svc", "Svc", "C:\\svc.exe", "C:\\svc.exe");
  auto rows = ListServices(p, pump);
  ASSERT_TRUE(rows && rows->size() == 1u);
  ServiceRow& row = (*rows)[0];
  EXPECT_EQ(row.state, ServiceRunState::Stopped);
  EXPECT_TRUE(StartServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Running);
  // a stuck stop leaves the old state
  fake.services.SetPendingPhase("Svc", 1000000, 0, 0);
  EXPECT_FALSE(StopServiceRow(p, row));
  EXPECT_EQ(row.state, ServiceRunState::Running);

  // restart: the failed stop does not prevent the start
  Add("Other", "Other", "C:\\other.exe", "C:\\other.exe");
  ServiceRow other = Row("Other", "C:\\other.exe", ServiceRunState::Stopped, StartType::Manual, "Other");
  EXPECT_TRUE(RestartServiceRow(p, other));
  EXPECT_EQ(other.state, ServiceRunState::Running);

  for (StartType t : {StartType::Disabled, StartType::Automatic, StartType::Manual}) {
    EXPECT_TRUE(SetStartTypeRow(p, other, t));
    EXPECT_EQ(other.startType, t);
    EXPECT_EQ(fake.services.QueryConfig("Other").config->startType, t);
  }
  fake.services.SetManagerAvailable(false);
  EXPECT_FALSE(SetStartTypeRow(p, other, StartType::Disabled));
  EXPECT_EQ(other.startType, StartType::Manual);
}

TEST_F(ServicesTest, KeyNameOfDisplayName) {
  Add("KeyX", "Shown Name", "C:\\x.exe", "C:\\x.exe");
  EXPECT_EQ(ServiceKeyNameOf(p, "shown name"), "KeyX");
  EXPECT_EQ(ServiceKeyNameOf(p, "nobody"), "");
}

TEST_F(ServicesTest, StopByImagePathStopsTheFirstThatStops) {
  Add("First", "First", "C:\\Bad\\bad.exe -a", "C:\\Bad\\bad.exe");
  Add("Second", "Second", "c:\\bad\\BAD.exe -b", "");
  Add("Third", "Third", "C:\\Good\\good.exe", "C:\\Good\\good.exe");
  fake.services.SetState("Second", ServiceState::Running);
  fake.services.SetState("Third", ServiceState::Running);
  std::vector<ServiceRow> rows = {
      Row("Third", "C:\\Good\\good.exe", ServiceRunState::Running, StartType::Manual, "Third"),
      // the stop fails: it is not running
      Row("First", "C:\\Bad\\bad.exe -a", ServiceRunState::Running, StartType::Manual, "First"),
      Row("Second", "c:\\bad\\BAD.exe -b", ServiceRunState::Running, StartType::Manual, "Second"),
  };
  CountingPump counting;
  EXPECT_TRUE(StopServiceByImagePath(p, rows, "C:\\BAD\\bad.exe", counting));
  EXPECT_EQ(counting.calls, 3u);
  EXPECT_EQ(rows[0].state, ServiceRunState::Running);
  EXPECT_EQ(rows[1].state, ServiceRunState::Running);
  EXPECT_EQ(rows[2].state, ServiceRunState::Stopped);
  EXPECT_EQ(fake.services.QueryStatus("Third")->state, ServiceState::Running);
  EXPECT_FALSE(StopServiceByImagePath(p, rows, "C:\\nowhere", pump));
}

TEST_F(ServicesTest, AnEmptyImagePathStopsNothing) {
  Add("First", "First", "C:\\Bad\\bad.exe", "C:\\Bad\\bad.exe");
  fake.services.SetState("First", ServiceState::Running);
  std::vector<ServiceRow> rows = {
      Row("First", "C:\\Bad\\bad.exe", ServiceRunState::Running, StartType::Manual, "First")};
  EXPECT_FALSE(StopServiceByImagePath(p, rows, "", pump));
  EXPECT_EQ(fake.services.QueryStatus("First")->state, ServiceState::Running);
  EXPECT_EQ(rows[0].state, ServiceRunState::Running);
}

TEST(ServiceButtonStates, ChangeCmdStatusRules) {
  auto row = [](const char* caption, ServiceRunState state, StartType type) {
    return Row(caption, "C:\\x.exe", state, type, "k");
  };
  ServiceRow unreadable;
  unreadable.kind = ServiceRowKind::CannotQuery;
  unreadable.displayName = "A";
  unreadable.keyName = "k";
  const auto Running = ServiceRunState::Running, Stopped = ServiceRunState::Stopped,
             Paused = ServiceRunState::Paused;
  struct Case {
    bool enable;
    std::optional<ServiceRow> row;
    ServiceButtons want;  // start, stop, restart, startupMode
  } cases[] = {
      {true, row("A", Running, StartType::Manual), {false, true, true, true}},
      {true, row("A", Stopped, StartType::Automatic), {true, false, false, true}},
      {true, row("A", Paused, StartType::Manual), {true, false, false, true}},
      {true, row("A", Running, StartType::Boot), {false, true, true, true}},
      {true, row("A", Running, StartType::Disabled), {false, false, false, true}},
      {true, row("Nevrask", Running, StartType::Manual), {false, false, false, false}},
      {true, row("Nevrask", Stopped, StartType::Disabled), {false, false, false, false}},
      {true, row("nevrask", Running, StartType::Manual), {false, true, true, true}},
      {false, row("A", Running, StartType::Manual), {}},
      {true, std::nullopt, {}},
      {true, unreadable, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChangeCmdStatus(c.enable, c.row ? &*c.row : nullptr), c.want)
        << (c.row ? c.row->displayName + "/" + StatusCellText(*c.row) + "/" +
                        StartTypeCellText(*c.row)
                  : "none");
  }
}

}  // namespace
}  // namespace morvanta::inspect
