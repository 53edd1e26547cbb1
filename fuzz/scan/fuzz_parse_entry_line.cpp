// Entry lines: the input is "base folder \n line"; the line also goes through the reader
// with the input's lines as a database.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "scan/entry_reader.h"

using namespace morvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::fake::FakePlatform fake;
  static platform::Platform machine = fake.Get();
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\n');
  const std::string base = split == std::string::npos ? "" : input.substr(0, split);
  const std::string line = split == std::string::npos ? input : input.substr(split + 1);

  const scan::EntryLine entry = scan::StripNoSubstitutionMarker(line);
  const scan::DatabaseEntry e = scan::ParseEntryLine(machine, entry.text, base);
  if (scan::KindOf(e) == scan::EntryKind::Digest && (!e.Target.empty() || !e.Folder.empty()))
    __builtin_trap();
  (void)scan::DerivedPath(e);

  database::ThreatDatabase db;
  db.SetText(std::vector<uint8_t>(data, data + size));
  scan::EntryLineReader reader(db, machine);
  reader.Start();
  for (int i = 0; i < 10000; ++i) {
    auto next = reader.Next();
    if (!next) break;
    (void)scan::ParseEntryLine(machine, next->text, reader.BaseFolder());
  }
  return 0;
}
