// The quarantine store with real files: on the fake and, under Wine, in a scratch folder of
// the real machine. Adds and restores, letter case, files of one name, folder links planted
// after the add, an index that names files outside the store, failed writes that must leave
// everything as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contract_test.h"
#include "platform/text.h"
#include "remedy/quarantine_store.h"

namespace morvanta::remedy {
namespace {

using platform::FolderPart;

MORVANTA_CONTRACT_SUITE(QuarantineStoreOnMachine);

class Quarantine {
 public:
  explicit Quarantine(testing::Machine& m)
      : m_(m), program_(m.ScratchPath("prog") + "\\"), store_(m.Get(), program_, "12345678") {
    m_.Get().files.CreateDirectory(m.ScratchPath("prog"));
  }
  QuarantineStore& operator*() { return store_; }
  QuarantineStore* operator->() { return &store_; }
  // The same program folder as a later run sees it.
  QuarantineStore Again() { return QuarantineStore(m_.Get(), program_, "12345678"); }

  std::string Put(const std::string& relative, const std::string& content) {
    const std::string path = m_.ScratchPath(relative);
    MakeFolders(FolderPart(path));
    EXPECT_TRUE(m_.Get().files.WriteAll(path, content)) << path;
    return path;
  }
  void MakeFolders(std::string folder) {
    if (folder.size() <= 3 || m_.Get().files.DirectoryExists(folder)) return;
    folder.pop_back();
    MakeFolders(FolderPart(folder));
    m_.Get().files.CreateDirectory(folder);
  }
  std::string Read(const std::string& path) {
    const auto bytes = m_.Get().files.ReadAll(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
  }
  std::string IndexText() { return Read(store_.IndexFile()); }
  // The names in the quarantine folder.
  std::vector<std::string> Stored() {
    std::vector<std::string> names;
    if (auto entries = m_.Get().files.List(store_.Folder() + "\\*.*"))
      for (const auto& e : *entries)
        if (!e.IsDirectory()) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  bool Gone(const std::string& path) { return !m_.Get().files.Exists(path); }
  // Deletes the file and its folders up to `kept`, which stays.
  void RemoveFolderChain(const std::string& file, const std::string& kept) {
    auto& files = m_.Get().files;
    EXPECT_TRUE(files.DeleteFile(file));
    for (std::string folder = FolderPart(file); folder.size() > kept.size() + 1;
         folder = FolderPart(folder.substr(0, folder.size() - 1)))
      EXPECT_TRUE(files.RemoveDirectory(folder.substr(0, folder.size() - 1))) << folder;
  }

 private:
  testing::Machine& m_;
  std::string program_;
  QuarantineStore store_;
};

const std::string kHello = "Hello, world!";

TEST_P(QuarantineStoreOnMachine, AddsThenRestoresIntoAFolderChainThatWasDeleted) {
  Quarantine q(M());
  const std::string path = q.Put("a\\b\\c\\evil.exe", kHello);
  ASSERT_TRUE(q->AddToQuarantine(path, "Trojan.Evil", "0123456789abcdef0123456789abcdef"));
  // The stored copy has the file's size and none of its bytes as they were.
  const std::string stored = q->Folder() + "\\evil.exe";
  EXPECT_EQ(q.Read(stored), std::string("\xFC\x09\xEF\xC8\x77\xEE\x75\xA3\xBF\x08\x8E\x90\x63"));
  EXPECT_EQ(q.Read(path), kHello);  // the file stays where it was
  const std::string date = P().system.ShortDateText(), time = P().system.LongTimeText();
  ASSERT_EQ(q->Index().size(), 1u);
  EXPECT_EQ(q->Index()[0].AddedAt.substr(0, date.size() + 2), date + ", ");
  EXPECT_EQ(q.IndexText(), path + "\r\n" + stored + "\r\nTrojan.Evil\r\n" + q->Index()[0].AddedAt +
                               "\r\n0123456789abcdef0123456789abcdef\r\n");

  q.RemoveFolderChain(path, M().Scratch());
  ASSERT_TRUE(q->RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_EQ(q.Read(path), kHello);
  EXPECT_TRUE(q.Gone(stored));
  EXPECT_EQ(q.IndexText(), "");
  EXPECT_TRUE(q.Stored().empty());
  EXPECT_TRUE(q.Gone(path + ".new"));
  EXPECT_FALSE(q->IsInQuarantine(path));
}

TEST_P(QuarantineStoreOnMachine, KeepsSizesAndBytesOfLargerFiles) {
  Quarantine q(M());
  for (size_t size : {size_t{0}, size_t{8}, size_t{200003}}) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>(i * 7 + (i >> 11));
    const std::string path = q.Put("sizes\\file" + std::to_string(size) + ".bin", content);
    ASSERT_TRUE(q->AddToQuarantine(path, "Test", ""));
    const std::string stored = q->Index().back().StoredPath;
    EXPECT_EQ(q.Read(stored).size(), size);
    ASSERT_TRUE(P().files.DeleteFile(path));
    ASSERT_TRUE(q->RestoreFromQuarantine(path, FolderPart(path)));
    EXPECT_TRUE(q.Read(path) == content) << size;
  }
}

TEST_P(QuarantineStoreOnMachine, APathAlreadyStoredInAnyLetterCaseIsRefused) {
  Quarantine q(M());
  const std::string path = q.Put("case\\Evil.exe", kHello);
  ASSERT_TRUE(q->AddToQuarantine(path, "Trojan.Evil", ""));
  const std::string index = q.IndexText();
  EXPECT_FALSE(q->AddToQuarantine(platform::AsciiUpper(path), "Trojan.Evil", ""));
  EXPECT_FALSE(q->AddToQuarantine(platform::AsciiLower(path), "Other", ""));
  EXPECT_EQ(q.IndexText(), index);
  EXPECT_EQ(q.Stored(), std::vector<std::string>{"Evil.exe"});
  // A later run reads the index before its first question.
  QuarantineStore again = q.Again();
  EXPECT_TRUE(again.IsInQuarantine(platform::AsciiUpper(path)));
  EXPECT_FALSE(again.AddToQuarantine(path, "Trojan.Evil", ""));
}

TEST_P(QuarantineStoreOnMachine, AnotherProgramsAddsAreSeenAndNeverSavedOver) {
  Quarantine q(M());
  const std::string mine = q.Put("two-programs\\mine.exe", "mine");
  const std::string theirs = q.Put("two-programs\\theirs.exe", "theirs");
  ASSERT_TRUE(q->AddToQuarantine(mine, "A", ""));
  QuarantineStore other = q.Again();  // the console program, say
  ASSERT_TRUE(other.AddToQuarantine(theirs, "B", ""));
  EXPECT_TRUE(q->IsInQuarantine(theirs));
  const std::string third = q.Put("two-programs\\third.exe", "third");
  ASSERT_TRUE(q->AddToQuarantine(third, "C", ""));
  ASSERT_TRUE(other.LoadQuarantineIndex());
  ASSERT_EQ(other.Index().size(), 3u);
  EXPECT_EQ(other.Index()[1].SourcePath, theirs);
  // A restore by the other program is seen too: the entry is gone here as well.
  ASSERT_TRUE(P().files.DeleteFile(theirs));
  ASSERT_TRUE(other.RestoreFromQuarantine(theirs, FolderPart(theirs)));
  EXPECT_FALSE(q->IsInQuarantine(theirs));
  EXPECT_EQ(q.Read(theirs), "theirs");
}

TEST_P(QuarantineStoreOnMachine, TwoFilesOfOneNameFromTwoFoldersBothComeBack) {
  Quarantine q(M());
  const std::string first = q.Put("one\\evil.exe", "the first evil.exe");
  const std::string second = q.Put("two\\evil.exe", "the second evil.exe, longer");
  ASSERT_TRUE(q->AddToQuarantine(first, "A", ""));
  ASSERT_TRUE(q->AddToQuarantine(second, "B", ""));
  ASSERT_EQ(q->Index().size(), 2u);
  EXPECT_NE(q->Index()[0].StoredPath, q->Index()[1].StoredPath);
  EXPECT_EQ(q.Stored().size(), 2u);
  ASSERT_TRUE(P().files.DeleteFile(first));
  ASSERT_TRUE(P().files.DeleteFile(second));
  // In the other order than they came.
  ASSERT_TRUE(q->RestoreFromQuarantine(second, FolderPart(second)));
  ASSERT_TRUE(q->RestoreFromQuarantine(first, FolderPart(first)));
  EXPECT_EQ(q.Read(first), "the first evil.exe");
  EXPECT_EQ(q.Read(second), "the second evil.exe, longer");
  EXPECT_TRUE(q.Stored().empty());
}

TEST_P(QuarantineStoreOnMachine, AFileStoredUnderItsPlainNameWithoutEntryStaysReadable) {
  Quarantine q(M());
  const std::string path = q.Put("old\\tool.dll", kHello);
  ASSERT_TRUE(q->AddToQuarantine(path, "Old", ""));
  ASSERT_TRUE(P().files.DeleteFile(path));
  // An index of an older version, its stored path left empty: the copy is found by name.
  ASSERT_TRUE(P().files.WriteAll(q->IndexFile(), path + "\r\n\r\nOld\r\n1.1.2020, 1:00:00\r\n\r\n"));
  QuarantineStore older = q.Again();
  ASSERT_TRUE(older.LoadQuarantineIndex());
  ASSERT_TRUE(older.RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_EQ(q.Read(path), kHello);
}

TEST_P(QuarantineStoreOnMachine, ARestoreThroughAFolderLinkPlantedSinceIsRefused) {
  Quarantine q(M());
  const std::string path = q.Put("victim\\dir\\evil.exe", kHello);
  q.Put("elsewhere\\keep.txt", "the user's");
  ASSERT_TRUE(q->AddToQuarantine(path, "Trojan.Evil", ""));
  q.RemoveFolderChain(path, M().ScratchPath("victim"));
  ASSERT_TRUE(M().MakeFolderLink(M().ScratchPath("victim\\dir"), M().ScratchPath("elsewhere")));
  const std::string index = q.IndexText();
  const auto stored = q.Stored();
  EXPECT_FALSE(q->RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_TRUE(q.Gone(M().ScratchPath("elsewhere\\evil.exe")));
  EXPECT_TRUE(q.Gone(M().ScratchPath("elsewhere\\evil.exe.new")));
  EXPECT_EQ(q.IndexText(), index);
  EXPECT_EQ(q.Stored(), stored);
  // With the link gone the file can come back.
  ASSERT_TRUE(M().RemoveFolderLink(M().ScratchPath("victim\\dir")));
  ASSERT_TRUE(q->RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_EQ(q.Read(path), kHello);
}

TEST_P(QuarantineStoreOnMachine, AFailedRestoreKeepsTheStoredCopyForTheNextTry) {
  Quarantine q(M());
  const std::string path = q.Put("held\\evil.exe", kHello);
  ASSERT_TRUE(q->AddToQuarantine(path, "Trojan.Evil", ""));
  const std::string stored = q->Index()[0].StoredPath;
  const std::string storedBytes = q.Read(stored);
  // A file in the way that another program holds open cannot be replaced.
  ASSERT_TRUE(P().files.WriteAll(path, "in the way"));
  auto held = P().files.Open(path, platform::OpenMode::Read);
  ASSERT_TRUE(held);
  EXPECT_FALSE(q->RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_EQ(q.Read(stored), storedBytes);
  EXPECT_TRUE(q.Gone(path + ".new"));
  EXPECT_TRUE(q->IsInQuarantine(path));
  EXPECT_EQ(q.Read(path), "in the way");
  held.reset();
  ASSERT_TRUE(q->RestoreFromQuarantine(path, FolderPart(path)));
  EXPECT_EQ(q.Read(path), kHello);
}

TEST_P(QuarantineStoreOnMachine, AnAddThatCannotSaveTheIndexLeavesNothing) {
  Quarantine q(M());
  const std::string kept = q.Put("first\\kept.exe", "kept");
  ASSERT_TRUE(q->AddToQuarantine(kept, "A", ""));
  const std::string index = q.IndexText();
  auto held = P().files.Open(q->IndexFile(), platform::OpenMode::Read);
  ASSERT_TRUE(held);
  const std::string path = q.Put("second\\evil.exe", kHello);
  EXPECT_FALSE(q->AddToQuarantine(path, "B", ""));
  EXPECT_EQ(q->Index().size(), 1u);
  EXPECT_EQ(q.IndexText(), index);
  EXPECT_EQ(q.Stored(), std::vector<std::string>{"kept.exe"});
  held.reset();
  // Nor does a file that is not there.
  EXPECT_FALSE(q->AddToQuarantine(M().ScratchPath("second\\absent.exe"), "C", ""));
  EXPECT_EQ(q.IndexText(), index);
}

TEST_P(QuarantineStoreOnMachine, RemoveDropsEntriesAndCopiesAndClearEmptiesEverything) {
  Quarantine q(M());
  const std::string a = q.Put("r\\a.exe", "a"), b = q.Put("r\\b.exe", "b");
  ASSERT_TRUE(q->AddToQuarantine(a, "A", ""));
  ASSERT_TRUE(q->AddToQuarantine(b, "B", ""));
  EXPECT_TRUE(q->RemoveFromQuarantine(platform::AsciiUpper(a)));
  EXPECT_FALSE(q->RemoveFromQuarantine(a));  // no entry left
  EXPECT_EQ(q.Stored(), std::vector<std::string>{"b.exe"});
  EXPECT_NE(q.IndexText().find("a.exe"), std::string::npos);  // not saved until asked
  ASSERT_TRUE(q->SaveQuarantineIndex());
  EXPECT_EQ(q.IndexText().find("a.exe"), std::string::npos);

  ASSERT_TRUE(P().files.WriteAll(q->Folder() + "\\unnamed.txt", "no entry names me"));
  EXPECT_TRUE(q->ClearQuarantine());
  EXPECT_TRUE(q->Index().empty());
  EXPECT_TRUE(q.Gone(q->IndexFile()));
  EXPECT_EQ(q.Stored(), std::vector<std::string>{"unnamed.txt"});
  EXPECT_EQ(q.Read(a), "a");  // the files themselves stay
}

TEST_P(QuarantineStoreOnMachine, AnIndexNamingFilesOutsideTheStoreNeverTouchesThem) {
  Quarantine q(M());
  const std::string outside = q.Put("outside\\precious.txt", "the user's own");
  const std::string dotted = q->Folder() + "\\..\\prog-sibling.txt";
  q.Put("prog-sibling.txt", "also the user's");
  const std::string source = M().ScratchPath("somewhere\\precious.txt");
  q.Put("somewhere\\precious.txt", "stays");
  ASSERT_TRUE(P().files.WriteAll(
      q->IndexFile(), source + "\r\n" + outside + "\r\nX\r\nwhen\r\n\r\n" + "C:\\b.exe\r\n" + dotted +
                          "\r\nY\r\nwhen\r\n\r\n"));
  ASSERT_TRUE(q->LoadQuarantineIndex());
  ASSERT_EQ(q->Index().size(), 2u);
  EXPECT_FALSE(q->RestoreFromQuarantine(source, FolderPart(source)));
  EXPECT_EQ(q.Read(source), "stays");
  EXPECT_TRUE(q->RemoveFromQuarantine(source));  // the entry goes, the file it names stays
  EXPECT_TRUE(q->ClearQuarantine());
  EXPECT_EQ(q.Read(outside), "the user's own");
  EXPECT_EQ(q.Read(M().ScratchPath("prog-sibling.txt")), "also the user's");
}

TEST_P(QuarantineStoreOnMachine, AnUnreadableIndexLeavesItEmpty) {
  Quarantine q(M());
  ASSERT_TRUE(P().files.CreateDirectory(q->IndexFile()));  // a folder where the file should be
  EXPECT_FALSE(q->LoadQuarantineIndex());
  EXPECT_TRUE(q->Index().empty());
  // Nothing is stored or saved over what could not be read.
  const std::string path = q.Put("unreadable\\evil.exe", kHello);
  EXPECT_FALSE(q->AddToQuarantine(path, "A", ""));
  EXPECT_TRUE(q.Stored().empty());
  EXPECT_FALSE(q->SaveQuarantineIndex());
  ASSERT_TRUE(P().files.RemoveDirectory(q->IndexFile()));
  // Once it can be read (here: once it is gone) the store works again.
  EXPECT_TRUE(q->AddToQuarantine(path, "A", ""));
}

}  // namespace
}  // namespace morvanta::remedy
