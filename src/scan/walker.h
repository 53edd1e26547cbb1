// The folder walker that flags everything inside an infected folder, and the lookups that
// tie a database entry to a running program.
#pragma once

#include <string>
#include <vector>

#include "common/message_catalog.h"
#include "common/views.h"
#include "platform/platform.h"
#include "scan/alerts.h"
#include "scan/name_patterns.h"

namespace morvanta::scan {

// The running-process list: full image paths in snapshot order.
class RunningProcesses {
 public:
  virtual ~RunningProcesses() = default;
  virtual std::vector<std::string> ImagePaths() = 0;
};

class FixedRunningProcesses : public RunningProcesses {
 public:
  explicit FixedRunningProcesses(std::vector<std::string> paths = {})
      : paths_(std::move(paths)) {}
  std::vector<std::string> ImagePaths() override { return paths_; }

 private:
  std::vector<std::string> paths_;
};

// The list taken from a process snapshot at every call; processes whose image path cannot
// be queried are left out, and a failed snapshot is an empty list.
class SnapshotProcesses : public RunningProcesses {
 public:
  explicit SnapshotProcesses(platform::Processes& processes) : processes_(processes) {}
  std::vector<std::string> ImagePaths() override;

 private:
  platform::Processes& processes_;
};

// Flags every file in `folder` (with `recurse`, every subfolder and everything below it) as
// walk alerts of `threatName`, depth first in listing order; folders whose names begin
// with "." are neither flagged nor entered. A folder that is a link (junction, symbolic
// link, mount point) is flagged but never entered, and a `folder` that is one is not
// walked at all (false). Each file that was hashed and added (or was
// already listed) raises the session's alert counter by one and logs "T: Infected file
// (threat) path"; a file that fails on the way is not counted and logs "T: Cannot open
// file (path) path". What the session's ignore lists cover is neither flagged nor entered,
// and goes to the session's skipped paths. False when `folder` itself cannot be listed or
// is covered.
bool FlagFolderContents(platform::Platform& platform, ScanSession& session, common::LogLines& log,
                        const common::MessageCatalog& catalog, const std::string& folder,
                        const std::string& threatName, bool recurse);

// The first running program, among those that pass the presence test, whose lower-cased
// path contains the lower-cased fragment; with an empty fragment, the first whose digest
// equals `digest`. Empty when none does.
std::string FindRunningProcess(platform::Platform& platform, RunningProcesses& processes,
                               const std::string& nameFragment, const std::string& digest);

// The same lookup over a list taken once: the running programs and their presence tests,
// for a scan that asks once per database line.
class RunningProcessIndex {
 public:
  RunningProcessIndex(platform::Platform& platform, RunningProcesses& processes);
  std::string Find(const std::string& nameFragment, const std::string& digest) const;

 private:
  platform::Platform& platform_;
  std::vector<std::string> present_;  // in list order
  std::vector<std::string> lower_;    // the same, lower-cased
};

// `ResolveCommandPath` of the first running object whose line contains the digest; empty
// when none does, for an empty digest, or on any error.
std::string FindRunningObjectByDigest(platform::Platform& platform, RunningObjects& objects,
                                      const std::string& digest);

}  // namespace morvanta::scan
