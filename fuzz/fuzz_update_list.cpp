// Input surface: the update list the program fetches ("updr2/list.htm"). What is read of
// it must hold together: the counters of its date line, the plan made from them.
#include <cstdint>
#include <cstdlib>

#include "update/update_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace update = morvanta::update;
  const auto list = update::ReadUpdateList(data, size);
  if (!list) return 0;
  for (const std::string* line : {&list->databaseDate, &list->programVersion, &list->lowestLine}) {
    if (line->find_first_of("\r\n") != std::string::npos) std::abort();
  }
  const update::DatabaseUpdatePlan plan =
      update::PlanDatabaseUpdate("Threat database 2026-01-12, Upd 5", *list);
  if (plan.partial && plan.PieceCount() != 0 &&
      (plan.first != 6 || plan.last != update::PartialUpdateCounter(list->databaseDate))) {
    std::abort();
  }
  return 0;
}
