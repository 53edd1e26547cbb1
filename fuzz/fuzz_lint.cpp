// Input surface: whatever file the signature tool is asked to check.
#include <cstdint>

#include "database/container.h"
#include "scan/lint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvanta::scan::LintDatabaseText(data, size);
  const auto decoded = morvanta::database::DecodeAnyForm(data, size);
  morvanta::scan::LintDatabaseText(decoded.text.data(), decoded.text.size());
  return 0;
}
