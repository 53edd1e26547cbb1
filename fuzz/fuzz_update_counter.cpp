// Input surface: a database date line, as the list's line 2 and the local database give it,
// read for its partial-update counter; and the list's line 6.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "update/update_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace update = morvanta::update;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const uint64_t counter = update::PartialUpdateCounter(line);
  if (line.find(update::kCounterMarker) == std::string_view::npos && counter != 0) std::abort();
  const uint64_t lowest = update::ReadLowestCounter(line);
  const update::DatabaseUpdatePlan plan = update::PlanDatabaseUpdate(counter, lowest, line);
  if (plan.partial && plan.PieceCount() != 0 && (plan.first != counter + 1 || plan.last != lowest)) {
    std::abort();
  }
  return 0;
}
