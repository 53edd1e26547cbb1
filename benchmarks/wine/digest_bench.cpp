// FileDigest of one file on the real machine (under Wine): the engine's own path, a read-only
// mapping of the whole file through the Win32 platform and the MD5 over it, timed inside the
// process (Wine's start-up is not counted). Prints the digest, so the caller can check it
// against another tool's, and the median of the rounds. `./dev bench` runs it on a 256 MiB
// file beside Linux's md5sum on the same file.
//
//   digest_bench.exe FILE [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "scan/file_digest.h"

int main(int argc, char** argv) {
  using namespace morvanta;
  if (argc < 2) {
    std::fprintf(stderr, "usage: digest_bench.exe FILE [ROUNDS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  const auto file = p.files.Open(path, platform::OpenMode::Read);
  if (!file) {
    std::fprintf(stderr, "cannot open %s\n", path.c_str());
    return 2;
  }
  const double megabytes = static_cast<double>(file->Size()) / 1e6;
  std::vector<double> times;
  std::string digest;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    digest = scan::FileDigest(p.files, path);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("digest %s\n", digest.c_str());
  std::printf("FileDigest  %d rounds  median %.3f s  %.0f MB/s\n", rounds, median, megabytes / median);
  return 0;
}
