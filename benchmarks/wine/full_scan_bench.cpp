// The full drive scan on the real machine (under Wine) over a generated tree of FILES small
// files (20 folders of 20 folders of FILES/400 files), with 1, 100 and 10,000 reference alerts
// whose files lie outside the tree (a hundred to a folder), against a bare FindFirstFile/FindNextFile walk of the same
// tree. The reference files' sizes are none of the tree's, except for ten copies of the first
// reference planted in the tree, which every scan must find; so the scans differ only in the
// number of sizes they look each file's size up among.
//
// Each round runs the bare walk and the three scans in turn; the medians are printed, and for
// each scan also its fixed part (the same scan over no drive: indexing the references by size,
// the closing lines) and the cost per file without it. These scans have in-memory views; one
// more, with one alert, has a message pump like the main window's and a real control for its
// status line, whose costs under Wine are tens of microseconds a call. Whole-process timing: run it as it is,
// nothing else on the machine. The tree is made in the temporary folder and removed at the end.
//
//   full_scan_bench.exe [FILES] [ROUNDS]
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
#include "platform/win32/handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "runs/full_drive_scan.h"
#include "scan/file_digest.h"

namespace {

using namespace morvanta;

constexpr int kTop = 20, kSub = 20;
constexpr int kCopies = 10;
constexpr size_t kPerRefFolder = 100;
constexpr size_t kLargestTreeSize = 512;  // tree files have 1..512 bytes, references more

class NoControls : public runs::ScanPageControls {
 public:
  void SetFixEnabled(bool) override {}
  void SetAbortEnabled(bool) override {}
  void SetScanEnabled(bool) override {}
  void SetBackVisible(bool) override {}
};

// A status line as a control has it: the last text only.
class LastText : public common::TextLine {
 public:
  void SetText(const std::string& t) override { text = t; }
  std::string text;
};

// The window's ways, without the program's windows: a message pump as the main window's, and
// a status line that is a real control.
class PeekPump : public common::MessagePump {
 public:
  void ProcessPendingMessages() override {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
};

class LabelText : public common::TextLine {
 public:
  LabelText()
      : window_(::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 40, nullptr,
                                  nullptr, nullptr, nullptr)) {}
  ~LabelText() override {
    if (window_) ::DestroyWindow(window_);
  }
  LabelText(const LabelText&) = delete;
  LabelText& operator=(const LabelText&) = delete;
  void SetText(const std::string& t) override { ::SetWindowTextA(window_, t.c_str()); }

 private:
  HWND window_;
};

std::string Bytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  return bytes;
}

std::string SubFolder(const std::string& tree, int top, int sub) {
  return tree + "\\dir" + std::to_string(top) + "\\sub" + std::to_string(sub);
}

std::string FileName(size_t i) {
  char name[32];
  std::snprintf(name, sizeof name, "document_%06zu.txt", i);
  return name;
}

// The bare walk: every folder listed with FindFirstFileA/FindNextFileA, names beginning with
// "." and folder links not entered, as the scan walks; files counted and their sizes added up.
size_t BareWalk(const std::string& root, uint64_t& bytes) {
  size_t files = 0;
  std::vector<std::string> pending{root + "\\"};
  while (!pending.empty()) {
    const std::string folder = std::move(pending.back());
    pending.pop_back();
    WIN32_FIND_DATAA data;
    platform::win32::FindHandle find(::FindFirstFileA((folder + "*.*").c_str(), &data));
    if (!find) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (data.cFileName[0] == '.' || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          continue;
        pending.push_back(folder + data.cFileName + "\\");
        continue;
      }
      ++files;
      bytes += static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    } while (::FindNextFileA(find.Get(), &data));
  }
  return files;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const size_t files = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const size_t alertCounts[] = {1, 100, 10000};
  const size_t references = alertCounts[2];

  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  const std::string root =
      p.folders.TempPath() + "morvanta-fullscan-" + std::to_string(::GetCurrentProcessId());
  const std::string tree = root + "\\tree", refs = root + "\\refs";

  // The references: sizes past the tree's, so only the planted copies match any.
  std::printf("making %zu reference files and a tree of %zu files in %s\n", references, files,
              root.c_str());
  const auto madeStart = std::chrono::steady_clock::now();
  p.files.CreateDirectory(root);
  p.files.CreateDirectory(refs);
  std::vector<std::string> refPaths, refDigests;
  for (size_t k = 0; k < references; ++k) {
    // A hundred to a folder, as flagged files lie in many places.
    const std::string folder = refs + "\\r" + std::to_string(k / kPerRefFolder);
    if (k % kPerRefFolder == 0) p.files.CreateDirectory(folder);
    refPaths.push_back(folder + "\\worm" + std::to_string(k) + ".exe");
    p.files.WriteAll(refPaths.back(), Bytes(kLargestTreeSize + 1 + k, static_cast<uint32_t>(k)));
    refDigests.push_back(scan::FileDigest(p.files, refPaths.back()));
  }
  const std::string copy = Bytes(kLargestTreeSize + 1, 0);  // the first reference's bytes
  p.files.CreateDirectory(tree);
  const size_t perFolder = (files + kTop * kSub - 1) / (kTop * kSub);
  const size_t copyEvery = files / kCopies;
  std::vector<std::string> treeFiles;
  for (int top = 0; top < kTop; ++top) {
    p.files.CreateDirectory(tree + "\\dir" + std::to_string(top));
    for (int sub = 0; sub < kSub; ++sub) {
      const std::string folder = SubFolder(tree, top, sub);
      p.files.CreateDirectory(folder);
      for (size_t i = 0; i < perFolder && treeFiles.size() < files; ++i) {
        const size_t n = treeFiles.size();
        treeFiles.push_back(folder + "\\" + FileName(n));
        const bool planted = n % copyEvery == copyEvery / 2;
        p.files.WriteAll(treeFiles.back(),
                         planted ? copy : std::string(1 + n % kLargestTreeSize, 'x'));
      }
    }
  }
  std::printf("made in %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - madeStart).count());

  // One round: a fresh session with `count` reference alerts, as the quick scan leaves them.
  // With `window`, the status line and the pump are the window's kind.
  auto scan = [&](size_t count, const std::string& drives, runs::FullScanResult& result,
                  bool window = false) {
    app::Session session(p);
    for (size_t k = 0; k < count; ++k)
      session.Scan().Alerts.AddAlert(refPaths[k], "Worm.Bench" + std::to_string(k), refDigests[k],
                                     static_cast<int32_t>(k), false, false, false, false);
    common::MemoryCheckList results;
    common::MemoryLog log;
    LastText memoryStatus;
    LabelText label;
    common::ScriptedPrompts prompts(true);
    common::NoMessages noPump;
    PeekPump peekPump;
    NoControls controls;
    common::TextLine& status = window ? static_cast<common::TextLine&>(label) : memoryStatus;
    common::MessagePump& pump = window ? static_cast<common::MessagePump&>(peekPump) : noPump;
    return Seconds([&] {
      result = runs::FullDriveScan(session, {results, log, status, prompts, pump, controls}, drives);
    });
  };

  std::vector<double> walks;
  std::vector<std::vector<double>> scans(3), fixed(3);
  std::vector<double> windowed;
  size_t walked = 0;
  uint64_t bytes = 0;
  bool right = true;
  for (int r = 0; r < rounds; ++r) {
    walks.push_back(Seconds([&] { walked = BareWalk(tree, bytes); }));
    for (size_t c = 0; c < 3; ++c) {
      runs::FullScanResult result;
      scans[c].push_back(scan(alertCounts[c], tree + "\\;", result));
      if (result.files != files || result.copies != kCopies) {
        std::printf("scan with %zu alerts: %zu files, %zu copies (expected %zu, %d)\n",
                    alertCounts[c], result.files, result.copies, files, kCopies);
        right = false;
      }
      fixed[c].push_back(scan(alertCounts[c], "", result));
    }
    runs::FullScanResult result;
    windowed.push_back(scan(alertCounts[0], tree + "\\;", result, /*window=*/true));
    if (result.files != files || result.copies != kCopies) right = false;
  }
  if (walked != files) {
    std::printf("bare walk: %zu files (expected %zu)\n", walked, files);
    right = false;
  }

  const double walk = Median(walks);
  std::printf("files %zu in %d folders, %d copies planted, %d rounds, medians:\n", files,
              kTop + kTop * kSub, kCopies, rounds);
  std::printf("bare FindFirstFile walk       %.3f s  %6.2f us/file\n", walk, 1e6 * walk / files);
  for (size_t c = 0; c < 3; ++c) {
    const double total = Median(scans[c]), setup = Median(fixed[c]);
    std::printf("full scan, %5zu alerts       %.3f s  %6.2f us/file  (fixed %.3f s, %.2f us/file "
                "without it)  speed vs bare walk %.2f\n",
                alertCounts[c], total, 1e6 * total / files, setup, 1e6 * (total - setup) / files,
                walk / total);
  }
  const double inWindow = Median(windowed);
  std::printf("full scan,     1 alert, window's pump and a status control  %.3f s  %6.2f us/file  "
              "speed vs bare walk %.2f\n",
              inWindow, 1e6 * inWindow / files, walk / inWindow);

  const auto removeStart = std::chrono::steady_clock::now();
  for (const std::string& path : treeFiles) p.files.DeleteFile(path);
  for (int top = 0; top < kTop; ++top) {
    for (int sub = 0; sub < kSub; ++sub) p.files.RemoveDirectory(SubFolder(tree, top, sub));
    p.files.RemoveDirectory(tree + "\\dir" + std::to_string(top));
  }
  p.files.RemoveDirectory(tree);
  for (size_t k = 0; k < references; ++k) {
    p.files.DeleteFile(refPaths[k]);
    if (k % kPerRefFolder == kPerRefFolder - 1 || k + 1 == references)
      p.files.RemoveDirectory(refs + "\\r" + std::to_string(k / kPerRefFolder));
  }
  p.files.RemoveDirectory(refs);
  const bool removed = p.files.RemoveDirectory(root);
  std::printf("removed in %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - removeStart).count());
  if (!removed) std::printf("could not remove %s\n", root.c_str());
  return right && removed ? 0 : 1;
}
