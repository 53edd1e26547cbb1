#include <gtest/gtest.h>

#include "app/os_name.h"
#include "platform/fake/fake_platform.h"

namespace morvanta::app {
namespace {

using platform::OsVersion;

OsVersion Make(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
               std::string servicePack, uint8_t productType = 1, uint16_t suite = 0) {
  OsVersion v;
  v.platformId = platformId;
  v.major = major;
  v.minor = minor;
  v.build = build;
  v.servicePack = std::move(servicePack);
  v.productType = productType;
  v.suiteMask = suite;
  return v;
}

struct NameCase {
  const char* label;
  OsVersion version;
  uint16_t architecture;
  bool hotfix;
  const char* name;
  bool refused;
};

const uint16_t x86 = platform::arch::Intel, x64 = platform::arch::Amd64;

class OsNameTable : public ::testing::TestWithParam<NameCase> {};

TEST_P(OsNameTable, ComposesAndJudges) {
  const NameCase& c = GetParam();
  std::string name = ComposeOsName(c.version, c.architecture, c.hotfix);
  EXPECT_EQ(name, c.name);
  EXPECT_EQ(IsUnsupportedOs(name), c.refused);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, OsNameTable,
    ::testing::Values(
        NameCase{"Win32s", Make(0, 3, 10, 0, ""), x86, false, "Microsoft Win32s", false},
        NameCase{"Win95", Make(1, 4, 0, 950, " A "), x86, false, "Microsoft Windows 95", true},
        NameCase{"Win95Osr2B", Make(1, 4, 0, 1111, " B "), x86, false, "Microsoft Windows 95 OSR2", true},
        NameCase{"Win95Osr2C", Make(1, 4, 0, 1212, " C"), x86, false, "Microsoft Windows 95 OSR2", true},
        NameCase{"Win98", Make(1, 4, 10, 1998, " "), x86, false, "Microsoft Windows 98", true},
        NameCase{"Win98Se", Make(1, 4, 10, 2222, " A "), x86, false, "Microsoft Windows 98 SE", true},
        NameCase{"WinMe", Make(1, 4, 90, 3000, ""), x86, false, "Microsoft Windows Millennium Edition", true},
        NameCase{"Win9xOther", Make(1, 4, 20, 1, ""), x86, false, "", false},
        NameCase{"Server2003Enterprise", Make(2, 5, 2, 3790, "Service Pack 2", 3, 0x0002), x86, false,
                 "Microsoft Windows Server 2003 Enterprise Edition Service Pack 2 (Build 3790)", false},
        NameCase{"Server2003Datacenter", Make(2, 5, 2, 3790, "", 3, 0x0082), x86, false,
                 "Microsoft Windows Server 2003 Datacenter Edition  (Build 3790)", false},
        NameCase{"Server2003Web", Make(2, 5, 2, 3790, "", 3, 0x0400), x86, false,
                 "Microsoft Windows Server 2003 Web Edition  (Build 3790)", false},
        NameCase{"Server2003Standard", Make(2, 5, 2, 3790, "", 3, 0x0410), x86, false,
                 "Microsoft Windows Server 2003 Standard Edition  (Build 3790)", false},
        NameCase{"XpProSp2", Make(2, 5, 1, 2600, "Service Pack 2"), x86, false,
                 "Microsoft Windows XP Professional Service Pack 2 (Build 2600)", false},
        NameCase{"XpHome", Make(2, 5, 1, 2600, "Service Pack 3", 1, 0x0200), x86, false,
                 "Microsoft Windows XP Home Edition Service Pack 3 (Build 2600)", false},
        NameCase{"Xp64OnAnyVersion", Make(2, 6, 1, 7601, "Service Pack 1"), x64, false,
                 "Microsoft Windows XP Professional x64 Edition  Professional Service Pack 1 (Build 7601)", false},
        NameCase{"Vista", Make(2, 6, 0, 6002, "Service Pack 2"), x86, false,
                 "Microsoft Windows Vista Professional Service Pack 2 (Build 6002)", false},
        NameCase{"Win2000", Make(2, 5, 0, 2195, "Service Pack 4"), x86, false,
                 "Microsoft Windows 2000 Professional Service Pack 4 (Build 2195)", true},
        NameCase{"Win2000AdvancedServer", Make(2, 5, 0, 2195, "", 3, 0x0002), x86, false,
                 "Microsoft Windows 2000 Advanced Server  (Build 2195)", true},
        NameCase{"Win2000Datacenter", Make(2, 5, 0, 2195, "", 3, 0x0080), x86, false,
                 "Microsoft Windows 2000 Datacenter Server  (Build 2195)", true},
        NameCase{"Win2000Server", Make(2, 5, 0, 2195, "", 3), x86, false,
                 "Microsoft Windows 2000 Server  (Build 2195)", true},
        NameCase{"Win7", Make(2, 6, 1, 7601, "Service Pack 1"), x86, false,
                 "Microsoft Windows NT Professional Service Pack 1 (Build 7601)", false},
        NameCase{"Server2008Enterprise", Make(2, 6, 0, 6001, "", 3, 0x0002), x86, false,
                 "Microsoft Windows Vista Server 6.0, Enterprise Edition  (Build 6001)", false},
        NameCase{"DomainController", Make(2, 6, 1, 7600, "", 2), x86, false,
                 "Microsoft Windows NT (Build 7600)", false},
        NameCase{"Nt4Workstation", Make(2, 4, 0, 1381, "Service Pack 5"), x86, false,
                 "Microsoft Windows NT Workstation 4.0Service Pack 5 (Build 1381)", false},
        NameCase{"Nt4Sp6aWithHotfix", Make(2, 4, 0, 1381, "service pack 6 "), x86, true,
                 "Microsoft Windows NT Workstation 4.0 Service Pack 6a  (Build 1381)", false},
        NameCase{"Nt4Sp6WithoutHotfix", Make(2, 4, 0, 1381, "Service Pack 6 "), x86, false,
                 "Microsoft Windows NT Workstation 4.0Service Pack 6  (Build 1381)", false},
        // The whole name is searched, the build number included.
        NameCase{"BuildWith95", Make(2, 5, 1, 2953, ""), x86, false,
                 "Microsoft Windows XP Professional  (Build 2953)", true},
        NameCase{"BuildWith98LowBits", Make(2, 5, 1, 0x12340000u + 2698, ""), x86, false,
                 "Microsoft Windows XP Professional  (Build 2698)", true}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.label; });

TEST(OsDisplayName, QueriesTwiceThenGivesAnEmptyName) {
  platform::fake::FakePlatform machine;
  machine.system.SetVersion(Make(2, 5, 1, 2600, "Service Pack 2"), 1);
  EXPECT_EQ(OsDisplayName(machine.Get()),
            "Microsoft Windows XP Professional Service Pack 2 (Build 2600)");
  EXPECT_EQ(machine.system.VersionQueries(), 2);

  machine.system.SetVersion(Make(2, 5, 1, 2600, "Service Pack 2"), 2);
  EXPECT_EQ(OsDisplayName(machine.Get()), "");
  EXPECT_FALSE(IsUnsupportedOs(""));  // an empty name lets the program start
}

TEST(OsDisplayName, LooksForTheNt4HotfixKey) {
  platform::fake::FakePlatform machine;
  machine.system.SetVersion(Make(2, 4, 0, 1381, "Service Pack 6 "));
  EXPECT_EQ(OsDisplayName(machine.Get()),
            "Microsoft Windows NT Workstation 4.0Service Pack 6  (Build 1381)");
  machine.registry.CreateKey(platform::RegRoot::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009");
  EXPECT_EQ(OsDisplayName(machine.Get()),
            "Microsoft Windows NT Workstation 4.0 Service Pack 6a  (Build 1381)");
}

}  // namespace
}  // namespace morvanta::app
