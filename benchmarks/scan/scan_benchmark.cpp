// FileDigest reads a whole file through Files::MapReadOnly. Natively the only Files is the
// made-up one, so the digest benchmark maps a real file with mmap behind the same interface;
// md5sum of the same file runs beside it as the yardstick.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "scan/file_digest.h"
#include "scan/path_tokens.h"

namespace {

using namespace morvanta;

class MmapView : public platform::MappedFile {
 public:
  MmapView(void* data, size_t size) : data_(data), size_(size) {}
  ~MmapView() override { ::munmap(data_, size_); }
  const uint8_t* Data() const override { return static_cast<const uint8_t*>(data_); }
  size_t Size() const override { return size_; }

 private:
  void* data_;
  size_t size_;
};

// The made-up file system, except that mappings come from the host's files.
class HostMappedFiles : public platform::fake::FakeFiles {
 public:
  std::unique_ptr<platform::MappedFile> MapReadOnly(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return nullptr;
    struct stat st;
    void* data = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
      data = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (data != MAP_FAILED) ::madvise(data, static_cast<size_t>(st.st_size), MADV_SEQUENTIAL);
    }
    ::close(fd);
    if (data == MAP_FAILED) return nullptr;
    return std::make_unique<MmapView>(data, static_cast<size_t>(st.st_size));
  }
};

const std::string& BigFile() {
  static const std::string path = [] {
    const char* dir = std::getenv("MORVANTA_BENCH_DIR");
    std::string p = std::string(dir ? dir : "/tmp") + "/morvanta-digest-bench.bin";
    std::ofstream out(p, std::ios::binary);
    std::mt19937_64 random(1);
    std::vector<uint64_t> block(1 << 17);  // 1 MiB
    for (int i = 0; i < 256; ++i) {
      for (auto& word : block) word = random();
      out.write(reinterpret_cast<const char*>(block.data()), block.size() * sizeof(uint64_t));
    }
    return p;
  }();
  return path;
}

void BM_FileDigest256MiB(benchmark::State& state) {
  HostMappedFiles files;
  const std::string& path = BigFile();
  for (auto _ : state) benchmark::DoNotOptimize(scan::FileDigest(files, path));
  state.SetBytesProcessed(state.iterations() * (int64_t{256} << 20));
}
BENCHMARK(BM_FileDigest256MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Md5sum256MiB(benchmark::State& state) {
  const std::string command = "md5sum '" + BigFile() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("md5sum failed");
  }
  state.SetBytesProcessed(state.iterations() * (int64_t{256} << 20));
}
BENCHMARK(BM_Md5sum256MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Command lines of typical lengths, the file present after N characters of decoration.
void BM_ResolveCommandPath(benchmark::State& state) {
  platform::fake::FakePlatform fake;
  fake.files.PutFile("C:\\Program Files\\App\\app.exe", "MZ program body");
  const std::string line = "\"C:\\Program Files\\App\\app.exe\" " +
                           std::string(static_cast<size_t>(state.range(0)), 'x');
  auto p = fake.Get();
  for (auto _ : state) benchmark::DoNotOptimize(scan::ResolveCommandPath(p, line));
}
BENCHMARK(BM_ResolveCommandPath)->Arg(0)->Arg(16)->Arg(64)->Arg(256);

}  // namespace

BENCHMARK_MAIN();
