// Processes: snapshots, image paths, termination; starting one for the tools and tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace morvanta::platform {

struct ProcessEntry {
  uint32_t pid = 0;
  std::string exeName;  // the snapshot's executable name
};

class Processes {
 public:
  virtual ~Processes() = default;
  // The processes in snapshot order; nothing when the snapshot fails.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
  // The full image path of a process; nothing when it cannot be opened or queried.
  virtual std::optional<std::string> ImagePath(uint32_t pid) = 0;
  // Ends a process with exit code 0. The termination call's result: nonzero on success,
  // 0 when it failed or the process could not be opened.
  virtual int Terminate(uint32_t pid) = 0;
  // Starts a program with a command line; its identifier, or nothing.
  virtual std::optional<uint32_t> Start(const std::string& commandLine) = 0;
  // Waits until the process has ended; false when it still runs after `milliseconds`.
  virtual bool WaitForExit(uint32_t pid, uint32_t milliseconds) = 0;
};

}  // namespace morvanta::platform
