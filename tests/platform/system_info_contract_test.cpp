#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

MORVANTA_CONTRACT_SUITE(SystemInfoContract);

TEST_P(SystemInfoContract, DescribesAnNtSystem) {
  auto p = P();
  auto version = p.system.QueryVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->platformId, 2u);
  EXPECT_GE(version->major, 5u);
  EXPECT_GT(version->build, 0u);
  EXPECT_EQ(p.system.PackedVersion() & 0x80000000u, 0u);  // not the 9x family
  EXPECT_EQ(p.system.PackedVersion() & 0xFF, version->major);
  EXPECT_FALSE(p.system.UserName().empty());
  const std::string module = platform::AsciiLower(p.system.ModulePath());
  ASSERT_GT(module.size(), 4u);
  EXPECT_EQ(module.substr(module.size() - 4), ".exe");
  EXPECT_NE(p.system.LongTimeText().find(':'), std::string::npos);
  // A date has its three numbers, whatever the separators.
  const std::string date = p.system.ShortDateText();
  EXPECT_GE(std::count_if(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; }), 4)
      << date;
}

TEST_P(SystemInfoContract, ReadsVersionStringsOfAProgram) {
  auto p = P();
  auto resource = p.system.OpenVersionResource(M().HelperPath("test_service.exe"));
  ASSERT_TRUE(resource);
  auto translations = resource->Translations();
  ASSERT_FALSE(translations.empty());
  EXPECT_EQ(translations[0].first, 0x0409);
  EXPECT_EQ(translations[0].second, 1252);
  EXPECT_EQ(resource->QueryString("\\StringFileInfo\\040904E4\\CompanyName"), "Morvanta Test");
  EXPECT_EQ(resource->QueryString("\\StringFileInfo\\040904E4\\LegalCopyright"),
            "Copyright (C) Morvanta Test");
  EXPECT_FALSE(resource->QueryString("\\StringFileInfo\\040904E4\\NoSuchKey"));
  EXPECT_FALSE(p.system.OpenVersionResource(M().HelperPath("sleeper.exe")));
  EXPECT_FALSE(p.system.OpenVersionResource(M().ScratchPath("missing.exe")));
}

TEST_P(SystemInfoContract, TheDecimalSeparatorIsOneCharacter) {
  const std::string separator = P().system.DecimalSeparator();
  ASSERT_EQ(separator.size(), 1u);
  EXPECT_TRUE(separator == "." || separator == ",") << separator;
}

TEST_P(SystemInfoContract, ClockMovesWithSleep) {
  auto p = P();
  uint32_t before = p.system.TickCount();
  p.system.Sleep(60);
  EXPECT_GT(p.system.TickCount() - before, 0u);
}

}  // namespace
}  // namespace morvanta::testing
