// Name ranges: at most 5000 names per input, so huge ranges stay quick.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/name_range.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  size_t names = 0;
  (void)morvanta::scan::ExpandNameRange(path, [&](const std::string&) { return ++names < 5000; });
  return 0;
}
