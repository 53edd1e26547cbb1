// A process table. Started processes hold their image file open, as a running program does,
// so it cannot be deleted while it runs.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"
#include "platform/files.h"
#include "platform/processes.h"

namespace morvanta::platform::fake {

class FakeProcesses : public Processes {
 public:
  explicit FakeProcesses(Files& files);

  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  std::optional<std::string> ImagePath(uint32_t pid) override;
  int Terminate(uint32_t pid) override;
  std::optional<uint32_t> Start(const std::string& commandLine) override;
  bool WaitForExit(uint32_t pid, uint32_t milliseconds) override;

  // Test set-up: a process whose image path cannot be queried, or that refuses to end.
  uint32_t AddProcess(const std::string& exeName, std::optional<std::string> imagePath,
                      bool canTerminate = true);
  void FailSnapshots(bool fail) { failSnapshots_ = fail; }

 private:
  struct Entry {
    std::string exeName;
    std::optional<std::string> imagePath;
    bool canTerminate = true;
    std::unique_ptr<File> image;  // held open while the process runs
  };

  Files& files_;
  std::map<uint32_t, Entry> table_;  // identifiers in start order
  uint32_t nextPid_ = 1000;
  bool failSnapshots_ = false;
};

}  // namespace morvanta::platform::fake
