// The transform a stored copy passes through, on one block of the store's size, each way.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "remedy/quarantine_store.h"
#include "remedy/quarantine_transform.h"

namespace {

using morvanta::remedy::QuarantineCipher;
using morvanta::remedy::QuarantineStore;
using morvanta::remedy::QuarantineTransform;

void Transform(benchmark::State& state, QuarantineTransform::Direction direction) {
  const QuarantineCipher cipher;
  QuarantineTransform transform(cipher, direction);
  std::vector<uint8_t> block(QuarantineStore::kBlockSize);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 31);
  for (auto _ : state) {
    transform.Process(block.data(), block.size());
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(block.size()));
}

void BM_QuarantineStoreTransform(benchmark::State& state) {
  Transform(state, QuarantineTransform::Direction::Store);
}
void BM_QuarantineRestoreTransform(benchmark::State& state) {
  Transform(state, QuarantineTransform::Direction::Restore);
}
BENCHMARK(BM_QuarantineStoreTransform);
BENCHMARK(BM_QuarantineRestoreTransform);

}  // namespace

BENCHMARK_MAIN();
