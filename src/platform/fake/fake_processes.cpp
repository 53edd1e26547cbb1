#include "platform/fake/fake_processes.h"

#include "platform/fake/command_line.h"

namespace morvanta::platform::fake {

FakeProcesses::FakeProcesses(Files& files) : files_(files) {
  // The two system entries every snapshot starts with; neither has an image path.
  table_[0].exeName = "[System Process]";
  table_[0].canTerminate = false;
  table_[4].exeName = "System";
  table_[4].canTerminate = false;
}

std::optional<std::vector<ProcessEntry>> FakeProcesses::Snapshot() {
  if (failSnapshots_) return std::nullopt;
  std::vector<ProcessEntry> entries;
  for (const auto& p : table_) entries.push_back({p.first, p.second.exeName});
  return entries;
}

std::optional<std::string> FakeProcesses::ImagePath(uint32_t pid) {
  auto it = table_.find(pid);
  if (it == table_.end()) return std::nullopt;
  return it->second.imagePath;
}

int FakeProcesses::Terminate(uint32_t pid) {
  auto it = table_.find(pid);
  if (it == table_.end() || !it->second.canTerminate) return 0;
  table_.erase(it);
  return 1;
}

std::optional<uint32_t> FakeProcesses::Start(const std::string& commandLine) {
  std::string program = ProgramOf(commandLine);
  if (!files_.FileExists(program)) return std::nullopt;
  std::string name = program.substr(program.find_last_of("\\:/") + 1);
  uint32_t pid = AddProcess(name, program);
  table_[pid].image = files_.Open(program, OpenMode::Read);
  return pid;
}

bool FakeProcesses::WaitForExit(uint32_t pid, uint32_t) { return table_.count(pid) == 0; }

uint32_t FakeProcesses::AddProcess(const std::string& exeName,
                                   std::optional<std::string> imagePath, bool canTerminate) {
  uint32_t pid = nextPid_;
  nextPid_ += 4;
  Entry& e = table_[pid];
  e.exeName = exeName;
  e.imagePath = std::move(imagePath);
  e.canTerminate = canTerminate;
  return pid;
}

}  // namespace morvanta::platform::fake
