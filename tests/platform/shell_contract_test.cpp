#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

MORVANTA_CONTRACT_SUITE(ShellContract);

TEST_P(ShellContract, ShortcutsResolveToTheirTarget) {
  auto p = P();
  const std::string target = M().HelperPath("sleeper.exe");
  const std::string link = M().ScratchPath("Sleeper.lnk");
  ASSERT_TRUE(p.shell.CreateShortcut(link, target));
  auto resolved = p.shell.ShortcutTarget(link);
  ASSERT_TRUE(resolved);
  EXPECT_TRUE(platform::EqualsNoCase(*resolved, target)) << *resolved;

  ASSERT_TRUE(p.files.WriteAll(M().ScratchPath("desktop.ini"), "[.ShellClassInfo]\r\n"));
  EXPECT_FALSE(p.shell.ShortcutTarget(M().ScratchPath("desktop.ini")));
  EXPECT_FALSE(p.shell.ShortcutTarget(M().ScratchPath("missing.lnk")));
}

}  // namespace
}  // namespace morvanta::testing
