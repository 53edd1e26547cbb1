// Charset specs: the input is "spec \0 candidate"; the charset also runs as a whole pattern
// against a small made-up machine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fake/fake_platform.h"
#include "scan/name_patterns.h"

using namespace morvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::fake::FakePlatform fake;
  static platform::Platform machine = fake.Get();
  static bool ready = false;
  static scan::FixedRunningObjects objects(
      {"Proc c:\\p\\5512.exe[0123456789abcdef0123456789abcdef][15]",
       "RegRun \"c:\\w\\svchxost.exe\" /s[x][1]", "Proc c:\\x\\servicesa.exe[y][2]"});
  if (!ready) {
    for (const char* path : {"c:\\p\\5512.exe", "c:\\w\\svchxost.exe", "c:\\x\\servicesa.exe",
                             "c:\\x\\services.exe", "c:\\w\\abc123.exe", "c:\\w\\abc.exe"})
      fake.files.PutFile(path, "MZ program body");
    ready = true;
  }
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string spec = input.substr(0, split);
  const std::string candidate = split == std::string::npos ? "" : input.substr(split + 1);
  (void)scan::CharsetCandidateMatches(spec, candidate);
  if (spec.size() < 512) {
    (void)scan::MatchNamePattern(machine, objects, "c:\\w\\" + spec);
    (void)scan::MatchNamePattern(machine, objects, "c:\\w\\abc&" + spec);
  }
  return 0;
}
