// Loading and reading a large database: a generated text of realistic lines, packed as
// "files.dat" is. Throughput is given in bytes of decoded text.
//
// With MORVANTA_BENCH_DUMP=FOLDER set, the text and its bare bzip2 stream are written there
// as bench.txt and bench.bz2, to time `bzip2 -dc bench.bz2` on the same machine.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "database/container.h"
#include "database/threat_database.h"

namespace {

using namespace morvanta::database;

constexpr int kLines = 150000;

// Entry lines in the proportions of a real database: mostly file entries under sections
// and with folder tokens, some digest entries, some folder entries.
std::vector<uint8_t> GenerateText() {
  static const char* const kTokens[] = {
      "%%wt%%", "%%af%%", "%%sf%%", "%%WinTemp%%", "%%CommonAppdataFolder%%", "%%pf%%", "%%root%%"};
  static const char* const kSections[] = {"[Start]", "[Win32Root]", "[System32Root]",
                                          "[System32Root]\\drivers",
                                          "[ProgramFiles32Root]\\Common Files"};
  static const char* const kExtensions[] = {".exe", ".dll", ".sys", ".scr", ".pif", ".vbs"};
  std::string text = "Threat database 2026-01-12, Upd 1\r\n";
  uint32_t seed = 2463534242u;
  auto next = [&seed] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  auto word = [&next](size_t length) {
    std::string w;
    for (size_t i = 0; i < length; ++i) w += static_cast<char>('a' + next() % 26);
    return w;
  };
  bool inSection = false;
  for (int i = 0; i < kLines; ++i) {
    const uint32_t kind = next() % 100;
    const std::string name =
        "[Worm." + word(3 + next() % 6) + "." + static_cast<char>('A' + next() % 26) + "]";
    std::string line;
    if (kind < 3) {
      const uint32_t s = next() % 5;
      line = kSections[s];
      inSection = s != 0;
    } else if (kind < 18) {
      std::string digest;
      for (int d = 0; d < 32; ++d) digest += "0123456789abcdef"[next() % 16];
      line = "/" + digest + "/" + name + "::";
    } else if (kind < 23) {
      line = name + ":" + (inSection ? "" : std::string(kTokens[next() % 7]) + "\\") +
             word(4 + next() % 10) + "\\\\";
    } else {
      const std::string file = word(3 + next() % 12) + kExtensions[next() % 6];
      line = name + ":" +
             (inSection ? file : std::string(kTokens[next() % 7]) + "\\" + word(5) + "\\" + file);
    }
    text += line + "\r\n";
  }
  text += "_end\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

struct Fixture {
  std::vector<uint8_t> text = GenerateText();
  std::vector<uint8_t> stream = Bzip2Compress(text.data(), text.size());
  std::vector<uint8_t> packed = Scramble(stream.data(), stream.size());
};

const Fixture& Data() {
  static const Fixture data;
  return data;
}

void SetThroughput(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Data().text.size()));
}

// The whole load as at start-up: unscramble, then decompress in 64 KiB chunks.
void BM_LoadPackedDatabase(benchmark::State& state) {
  const auto& d = Data();
  for (auto _ : state) {
    ThreatDatabase db;
    db.LoadBytes(d.packed.data(), d.packed.size());
    benchmark::DoNotOptimize(db.Content().data());
  }
  SetThroughput(state);
}
BENCHMARK(BM_LoadPackedDatabase)->Unit(benchmark::kMillisecond);

// The decompression step alone, to compare with bzip2 -dc.
void BM_Bzip2Decompress(benchmark::State& state) {
  const auto& d = Data();
  for (auto _ : state) {
    auto text = Bzip2Decompress(d.stream.data(), d.stream.size());
    benchmark::DoNotOptimize(text->data());
  }
  SetThroughput(state);
}
BENCHMARK(BM_Bzip2Decompress)->Unit(benchmark::kMillisecond);

// A scan's pass over the text with the line reader.
void BM_ReadEveryLine(benchmark::State& state) {
  ThreatDatabase db;
  db.SetText(Data().text);
  for (auto _ : state) {
    db.Rewind();
    size_t lines = 0;
    while (db.ReadDatabaseLine() != "_end") ++lines;
    benchmark::DoNotOptimize(lines);
  }
  SetThroughput(state);
}
BENCHMARK(BM_ReadEveryLine)->Unit(benchmark::kMillisecond);

void DumpIfAsked() {
  const char* folder = std::getenv("MORVANTA_BENCH_DUMP");
  if (!folder) return;
  const auto& d = Data();
  std::ofstream(std::string(folder) + "/bench.txt", std::ios::binary)
      .write(reinterpret_cast<const char*>(d.text.data()),
             static_cast<std::streamsize>(d.text.size()));
  std::ofstream(std::string(folder) + "/bench.bz2", std::ios::binary)
      .write(reinterpret_cast<const char*>(d.stream.data()),
             static_cast<std::streamsize>(d.stream.size()));
  std::fprintf(stderr, "text %zu bytes, %d lines; bzip2 stream %zu bytes\n", d.text.size(),
               kLines + 2, d.stream.size());
}

}  // namespace

int main(int argc, char** argv) {
  DumpIfAsked();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
