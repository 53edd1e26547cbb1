// The quarantine on the real machine (under Wine): a file stored (read, transformed, written
// beside its place in the quarantine folder, moved there, the index saved) and restored
// (the way back, then the stored copy deleted), timed inside the process. The restored
// file's digest is checked against the original's every round. `./dev bench` runs it on a
// 256 MiB file.
//
//   quarantine_bench.exe FOLDER [MIB] [ROUNDS]     FOLDER: an empty scratch folder
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "remedy/quarantine_store.h"
#include "scan/file_digest.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvanta;
  if (argc < 2) {
    std::fprintf(stderr, "usage: quarantine_bench.exe FOLDER [MIB] [ROUNDS]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  const int mib = argc > 2 ? std::max(1, std::atoi(argv[2])) : 256;
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();

  const std::string original = folder + "sample\\suspect.bin";
  p.files.CreateDirectory(folder + "sample");
  {
    const auto file = p.files.Open(original, platform::OpenMode::Write);
    if (!file) {
      std::fprintf(stderr, "cannot create %s\n", original.c_str());
      return 2;
    }
    std::vector<uint8_t> block(1 << 20);
    uint32_t x = 2463534242u;
    for (int m = 0; m < mib; ++m) {
      for (auto& b : block) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = static_cast<uint8_t>(x);
      }
      if (!file->Write(block.data(), block.size())) {
        std::fprintf(stderr, "cannot write %s\n", original.c_str());
        return 2;
      }
    }
  }
  const std::string digest = scan::FileDigest(p.files, original);

  remedy::QuarantineStore store(p, folder + "program\\");
  p.files.CreateDirectory(folder + "program");
  std::vector<double> stores, restores;
  for (int r = 0; r < rounds; ++r) {
    auto start = std::chrono::steady_clock::now();
    if (!store.AddToQuarantine(original, "Bench", digest)) {
      std::fprintf(stderr, "round %d: the store failed\n", r);
      return 1;
    }
    stores.push_back(Seconds(start));
    p.files.DeleteFile(original);
    start = std::chrono::steady_clock::now();
    if (!store.RestoreFromQuarantine(original, folder + "sample\\")) {
      std::fprintf(stderr, "round %d: the restore failed\n", r);
      return 1;
    }
    restores.push_back(Seconds(start));
    if (scan::FileDigest(p.files, original) != digest) {
      std::fprintf(stderr, "round %d: the restored file differs\n", r);
      return 1;
    }
  }
  store.ClearQuarantine();
  p.files.DeleteFile(original);
  p.files.RemoveDirectory(folder + "sample");
  p.files.RemoveDirectory(store.Folder());
  p.files.RemoveDirectory(folder + "program");

  std::printf("quarantine  %d MiB  %d rounds\n", mib, rounds);
  std::printf("store    median %.3f s  %.0f MiB/s\n", Median(stores), mib / Median(stores));
  std::printf("restore  median %.3f s  %.0f MiB/s\n", Median(restores), mib / Median(restores));
  return 0;
}
