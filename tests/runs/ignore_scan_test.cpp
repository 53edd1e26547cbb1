// The scans and the fix honouring the ignore lists, on every machine: threats planted in an
// ignored folder of the test's own and beside it, under Wine on the real file system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_test.h"
#include "platform/text.h"
#include "results_page.h"

namespace morvanta::runs {
namespace {

MORVANTA_CONTRACT_SUITE(IgnoredByScans);

// The same worm in "kept" (ignored, through a folder named in another letter case) and in
// "keptsmith" beside it (not ignored: the listed folder is not a whole component of it).
class Planted {
 public:
  explicit Planted(testing::Machine& m) : m_(m) {
    auto p = m.Get();
    for (const char* folder : {"kept", "kept\\deep", "keptsmith", "found"})
      p.files.CreateDirectory(m.ScratchPath(folder));
    for (const char* file : {"kept\\worm.exe", "kept\\deep\\copy.bin", "keptsmith\\worm.exe",
                             "found\\worm.exe"})
      p.files.WriteAll(m.ScratchPath(file), std::string(kWorm));
  }
  std::string Path(const char* name) const { return m_.ScratchPath(name); }
  // The ignore list entry the window would add for "kept".
  void Ignore(app::Session& session) const {
    session.Ignore().files.push_back(
        remedy::TFileIgnoreList::Folder(platform::AsciiUpper(m_.ScratchPath("kept"))));
  }
  static constexpr char kWorm[] = "the worm's bytes, wherever they lie";

 private:
  testing::Machine& m_;
};

// Paths to compare: lower-cased, without a folder's trailing backslash.
std::vector<std::string> Lower(std::vector<std::string> paths) {
  for (auto& p : paths) {
    p = platform::AsciiLower(p);
    while (!p.empty() && p.back() == '\\') p.pop_back();
  }
  return paths;
}

std::vector<std::string> AlertPaths(app::Session& session) {
  std::vector<std::string> paths;
  for (const auto& a : session.Scan().Alerts) paths.push_back(a.Path);
  return Lower(paths);
}

TEST_P(IgnoredByScans, TheQuickScanPassesOverAnIgnoredFileAndFindsTheOneBesideIt) {
  Planted planted(M());
  Page page(M());
  planted.Ignore(page.Session());
  page.QuickScan({"/0/[Worm.Kept]:" + planted.Path("kept\\worm.exe"),
                  "/0/[Worm.Smith]:" + planted.Path("keptsmith\\worm.exe"),
                  "[Worm.Dir]:" + planted.Path("kept\\deep") + "\\\\"});
  EXPECT_EQ(AlertPaths(page.Session()), Lower({planted.Path("keptsmith\\worm.exe")}));
  EXPECT_EQ(page.results.Captions(), std::vector<std::string>{"Infected with Worm.Smith"});
  EXPECT_EQ(page.Session().Scan().AlertCounter, 1);
  EXPECT_FALSE(page.Logged(planted.Path("kept\\worm.exe")));
  EXPECT_EQ(page.Session().ScanLog().Lines().size(), 1u);
  EXPECT_EQ(Lower(page.Session().Scan().Skipped.Paths()),
            Lower({planted.Path("kept\\worm.exe"), planted.Path("kept\\deep")}));
}

TEST_P(IgnoredByScans, AFlaggedFolderIsWalkedAroundAnIgnoredFolderInsideIt) {
  Planted planted(M());
  Page page(M());
  page.Session().Ignore().files.push_back(remedy::TFileIgnoreList::Folder(planted.Path("kept\\deep")));
  page.QuickScan({"[Worm.Dir]:" + planted.Path("kept") + "\\\\"});
  EXPECT_EQ(AlertPaths(page.Session()),
            Lower({planted.Path("kept"), planted.Path("kept\\worm.exe")}));
  EXPECT_EQ(Lower(page.Session().Scan().Skipped.Paths()), Lower({planted.Path("kept\\deep")}));
  // The fix removes what was flagged; the ignored folder keeps its file, so the flagged
  // folder holding it stays too.
  page.prompts.SetDefaultAnswer(false);
  page.Fix();
  auto p = P();
  EXPECT_FALSE(p.files.Exists(planted.Path("kept\\worm.exe")));
  EXPECT_TRUE(p.files.FileExists(planted.Path("kept\\deep\\copy.bin")));
}

TEST_P(IgnoredByScans, TheFullDriveScanFindsNoCopyInAnIgnoredFolder) {
  Planted planted(M());
  Page page(M());
  planted.Ignore(page.Session());
  page.QuickScan({"/0/[Worm.Found]:" + planted.Path("found\\worm.exe")}, /*fullScanAfter=*/true);
  ASSERT_EQ(page.offers.fullScans, 1);
  const FullScanResult result = page.FullScan(M().Scratch() + "\\;");
  EXPECT_EQ(result.copies, 1u);
  EXPECT_EQ(AlertPaths(page.Session()),
            Lower({planted.Path("found\\worm.exe"), planted.Path("keptsmith\\worm.exe")}));
  EXPECT_EQ(Lower(page.Session().Scan().Skipped.Paths()), Lower({planted.Path("kept")}));
  // A root the list covers is not walked at all.
  page.Session().Ignore().files.push_back(remedy::TFileIgnoreList::Folder(M().Scratch() + "\\"));
  EXPECT_EQ(page.FullScan(M().Scratch() + "\\;").files, 0u);
}

TEST_P(IgnoredByScans, TheFixLeavesWhatWasIgnoredSinceTheScan) {
  Planted planted(M());
  Page page(M());
  page.QuickScan({"/0/[Worm.Kept]:" + planted.Path("kept\\worm.exe"),
                  "/0/[Worm.Found]:" + planted.Path("found\\worm.exe"),
                  "[Worm.Dir]:" + planted.Path("kept\\deep") + "\\\\"});
  ASSERT_EQ(page.Session().Scan().Alerts.Size(), 4u);  // two files, the folder, its file
  planted.Ignore(page.Session());
  page.prompts.SetDefaultAnswer(false);
  const FixResult result = page.Fix();
  auto p = P();
  EXPECT_EQ(result.cleaned, 1u);
  EXPECT_FALSE(p.files.Exists(planted.Path("found\\worm.exe")));
  EXPECT_TRUE(p.files.FileExists(planted.Path("kept\\worm.exe")));
  EXPECT_TRUE(p.files.FileExists(planted.Path("kept\\deep\\copy.bin")));
  EXPECT_TRUE(p.files.DirectoryExists(planted.Path("kept\\deep")));
}

}  // namespace
}  // namespace morvanta::runs
