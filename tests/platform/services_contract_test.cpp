#include <algorithm>

#include "contract_test.h"
#include "scoped_service.h"

namespace morvanta::testing {
namespace {

using platform::ConfigQueryError;
using platform::ServiceState;
using platform::StartType;

MORVANTA_CONTRACT_SUITE(ServicesContract);

// The buffer size the services page enumerates with.
constexpr size_t kListBuffer = 147492;

// Polls the state, within a bound, until it is `wanted`; the last state seen.
ServiceState WaitForState(platform::Platform p, const std::string& key, ServiceState wanted) {
  ServiceState seen = ServiceState::Stopped;
  for (int i = 0; i < 100; ++i) {
    auto status = p.services.QueryStatus(key);
    if (!status) break;
    seen = status->state;
    if (seen == wanted) break;
    p.system.Sleep(100);
  }
  return seen;
}

TEST_P(ServicesContract, ServiceLifecycle) {
  auto p = P();
  const std::string key = "MorvantaTestSvc";
  const std::string display = "Morvanta Test Service";
  const std::string path = "\"" + M().HelperPath("test_service.exe") + "\" " + key;
  ScopedService service(p.services, {key, display, path, StartType::Manual});
  ASSERT_TRUE(service.Created());

  auto listed = p.services.List(kListBuffer);
  ASSERT_TRUE(listed);
  auto entry = std::find_if(listed->begin(), listed->end(),
                            [&](const auto& e) { return e.keyName == key; });
  ASSERT_NE(entry, listed->end());
  EXPECT_EQ(entry->displayName, display);
  EXPECT_EQ(entry->state, ServiceState::Stopped);
  EXPECT_EQ(p.services.KeyNameOf(display), key);
  EXPECT_EQ(p.services.KeyNameOf("MORVANTA test SERVICE"), key);
  EXPECT_EQ(p.services.KeyNameOf("No Such Service Anywhere"), "");

  auto query = p.services.QueryConfig(key);
  ASSERT_TRUE(query.config);
  EXPECT_EQ(query.config->binaryPath, path);
  EXPECT_EQ(query.config->startType, StartType::Manual);

  EXPECT_FALSE(p.services.RequestStop(key));  // not running
  ASSERT_TRUE(p.services.RequestStart(key));
  EXPECT_EQ(WaitForState(p, key, ServiceState::Running), ServiceState::Running);
  EXPECT_FALSE(p.services.RequestStart(key));  // already running
  ASSERT_TRUE(p.services.RequestStop(key));
  EXPECT_EQ(WaitForState(p, key, ServiceState::Stopped), ServiceState::Stopped);

  ASSERT_TRUE(p.services.ChangeStartType(key, StartType::Disabled));
  EXPECT_EQ(p.services.QueryConfig(key).config->startType, StartType::Disabled);
  EXPECT_FALSE(p.services.RequestStart(key));
  ASSERT_TRUE(p.services.ChangeStartType(key, StartType::Automatic));
  EXPECT_EQ(p.services.QueryConfig(key).config->startType, StartType::Automatic);

  EXPECT_TRUE(p.services.Delete(key));
  EXPECT_FALSE(p.services.QueryConfig(key).config);
  EXPECT_EQ(p.services.QueryConfig(key).error, ConfigQueryError::CannotOpen);
  EXPECT_FALSE(p.services.QueryStatus(key));
  EXPECT_FALSE(p.services.Delete(key));
}

TEST_P(ServicesContract, ShortBufferListsFewerServices) {
  auto p = P();
  ScopedService a(p.services, {"MorvantaTestA", "Morvanta A", M().HelperPath("test_service.exe"),
                               StartType::Manual});
  ScopedService b(p.services, {"MorvantaTestB", "Morvanta B", M().HelperPath("test_service.exe"),
                               StartType::Manual});
  auto all = p.services.List(kListBuffer);
  auto few = p.services.List(100);
  ASSERT_TRUE(all);
  ASSERT_TRUE(few);
  EXPECT_GE(all->size(), 2u);
  EXPECT_LT(few->size(), all->size());
  for (const auto& e : *few) EXPECT_FALSE(e.keyName.empty());
}

}  // namespace
}  // namespace morvanta::testing
