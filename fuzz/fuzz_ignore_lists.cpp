// Input surface: "FileIgnoreL.fil" and "RegIgnoreL.fil" as a damaged disk or another program
// may have left them; the same bytes are read as both. What is read must write back to a
// text that reads as the same entries, or closing the window would change the lists.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "remedy/ignore_lists.h"

namespace {

template <typename Parse, typename Format>
void RoundTrip(const uint8_t* data, size_t size, Parse parse, Format format) {
  const auto list = parse(data, size);
  const std::string saved = format(list);
  if (parse(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()) != list) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace morvanta::remedy;
  RoundTrip(data, size, ParseFileIgnoreList, FormatFileIgnoreList);
  RoundTrip(data, size, ParseRegIgnoreList, FormatRegIgnoreList);
  return 0;
}
