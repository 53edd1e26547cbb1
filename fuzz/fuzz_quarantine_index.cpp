// Input surface: "Quarantine.info" as any program (or a damaged disk) may have left it. The
// entries read from it must write back to a text that reads as the same entries, or a save
// after a load would change what the quarantine holds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "remedy/quarantine_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace morvanta::remedy;
  const QuarantineIndex index =
      ParseQuarantineIndex(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string saved = FormatQuarantineIndex(index);
  if (ParseQuarantineIndex(saved) != index) std::abort();
  return 0;
}
