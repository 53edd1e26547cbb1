// The quick scan of a generated 100,000-entry database on the real machine (under Wine), a
// few thousand files in place, against a loop that makes only the file presence tests those
// entries need: reading and parsing the lines, one test per plain path and range name, the
// folder test of a folder entry, the listing of a "<>" entry. Prints entries per second and
// the ratio of the two. Whole-process timing: run it as it is, nothing else on the machine.
//
//   quick_scan_bench.exe [ENTRIES] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/memory_views.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "runs/quick_scan.h"
#include "runs/recorded_page.h"
#include "scan/entry_reader.h"
#include "scan/name_patterns.h"
#include "scan/name_range.h"
#include "scan/path_tokens.h"

namespace {

using namespace morvanta;

// A realistic mix, most entries naming nothing on a clean machine, a few hitting the planted
// files: plain paths under sections and tokens, "/0/" entries, name patterns and "<>"
// listings, small ranges, folder entries and digest entries.
std::string MakeDatabase(size_t entries, const std::string& root) {
  std::mt19937 random(42);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const char* tokens[] = {"%%wt%%", "%%af%%", "%%pf%%", "%%sf%%", "%%caf%%", "%%root%%"};
  std::string text = "Threat database 2026-12-10, Upd 0100  \r\n";
  std::string relative;  // entries below the root sections, which come last
  size_t made = 0;
  auto add = [&](const std::string& line) {
    text += line + "\r\n";
    ++made;
  };
  while (made < entries) {
    const size_t kind = pick(100);
    const std::string name = "mw" + std::to_string(pick(1000000));
    if (kind < 39) {
      add("[Worm." + name + "]:" + tokens[pick(6)] + "\\" + name + ".exe");
    } else if (kind < 50) {
      relative += "[Trojan." + name + "]:" + name + (pick(2) ? ".dll" : ".sys") + "\r\n";
      ++made;
    } else if (kind < 60) {
      add("/0/[Worm." + name + "]:" + root + "\\f" + std::to_string(pick(30)) + "\\" + name + ".exe");
    } else if (kind < 61) {
      // a planted file, now and then
      add("[Worm.Planted]:" + root + "\\f" + std::to_string(pick(30)) + "\\file" +
          std::to_string(pick(200)) + ".dat");
    } else if (kind < 76) {
      add("[Worm.Listed]:" + root + "\\f" + std::to_string(pick(30)) + "\\" + name + "<>.exe");
    } else if (kind < 80) {
      add("[Worm.Parts]:%%wt%%\\" + name + "?x?.exe");
    } else if (kind < 86) {
      add("[Worm.Range]:" + root + "\\f" + std::to_string(pick(30)) + "\\r" + name + "??1?6?.exe");
    } else if (kind < 92) {
      add("[Adware." + name + "]:%%af%%\\" + name + "\\\\");
    } else {
      char digest[33];
      std::snprintf(digest, sizeof digest, "%08x%08x%08x%08x", static_cast<unsigned>(random()),
                    static_cast<unsigned>(random()), static_cast<unsigned>(random()),
                    static_cast<unsigned>(random()));
      add(std::string("/") + digest + "/[Worm.Digest]::");
    }
  }
  const size_t half = relative.find("\r\n", relative.size() / 2);
  if (half == std::string::npos) return text + "[Win32Root]\r\n" + relative + "_end\r\n";
  return text + "[Win32Root]\r\n" + relative.substr(0, half + 2) + "[System32Root]\\drivers\r\n" +
         relative.substr(half + 2) + "_end\r\n";
}

// The presence tests the entries need, and nothing else.
size_t PresenceOnly(app::Session& session) {
  platform::Platform& p = session.Platform();
  scan::EntryLineReader reader(session.Database(), p);
  reader.Start();
  scan::FolderCache folders(p);
  size_t tests = 0;
  while (auto line = reader.Next()) {
    scan::DatabaseEntry e = scan::ParseEntryLine(folders, line->text, reader.BaseFolder());
    if (scan::KindOf(e) == scan::EntryKind::Digest) continue;
    if (!e.Target.empty() && !e.Folder.empty() && e.Folder.back() != '\\') e.Folder += '\\';
    const std::string path = e.Folder + e.Target;
    if (scan::KindOf(e) == scan::EntryKind::Folder) {
      p.files.DirectoryExists(e.Folder);
      ++tests;
    } else if (platform::Contains(e.Target, "<>")) {
      scan::WildcardListing(p.files, path);
      ++tests;
    } else if (platform::Contains(platform::FileNamePart(path), "??")) {
      scan::ExpandNameRange(path, [&](const std::string& name) {
        scan::IsFilePresent(p.files, name);
        ++tests;
        return true;
      });
    } else {
      scan::IsFilePresent(p.files, path);
      ++tests;
    }
  }
  return tests;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const size_t entries = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  std::string root = p.folders.TempPath() + "morvanta-bench-" + std::to_string(::GetCurrentProcessId());
  p.files.CreateDirectory(root);
  size_t files = 0;
  for (int f = 0; f < 30; ++f) {
    const std::string folder = root + "\\f" + std::to_string(f);
    p.files.CreateDirectory(folder);
    for (int i = 0; i < 100; ++i, ++files)
      p.files.WriteAll(folder + "\\file" + std::to_string(i) + ".dat", "planted file " + std::to_string(i));
  }
  app::Session session(p);
  const std::string text = MakeDatabase(entries, root);
  session.Database().SetText(std::vector<uint8_t>(text.begin(), text.end()));

  std::vector<double> scans, baselines;
  size_t found = 0, tests = 0;
  for (int r = 0; r < rounds; ++r) {
    baselines.push_back(Seconds([&] { tests = PresenceOnly(session); }));
    common::MemoryCheckList results, startup;
    common::MemoryLog log;
    common::MemoryText status;
    common::ScriptedPrompts prompts(false);
    common::NoMessages pump;
    common::NoReport report;
    runs::RecordedControls controls;
    runs::RecordedOffers offers;
    scans.push_back(Seconds([&] {
      runs::RunQuickScan(session, {results, log, status, prompts, pump, report, startup, controls, offers});
    }));
    found = session.Scan().Alerts.Size();
  }
  std::sort(scans.begin(), scans.end());
  std::sort(baselines.begin(), baselines.end());
  const double scanTime = scans[scans.size() / 2], testTime = baselines[baselines.size() / 2];
  std::printf("entries %zu, files on disk %zu, alerts %zu, presence tests %zu\n", entries, files,
              found, tests);
  std::printf("quick scan        median %.3f s  %.0f entries/s\n", scanTime, entries / scanTime);
  std::printf("presence tests    median %.3f s  %.0f entries/s\n", testTime, entries / testTime);
  std::printf("ratio scan/tests  %.2f\n", scanTime / testTime);
  for (int f = 0; f < 30; ++f) {
    const std::string folder = root + "\\f" + std::to_string(f);
    for (int i = 0; i < 100; ++i) p.files.DeleteFile(folder + "\\file" + std::to_string(i) + ".dat");
    p.files.RemoveDirectory(folder);
  }
  p.files.RemoveDirectory(root);
  return 0;
}
