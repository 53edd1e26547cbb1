#include "app/machine_summary.h"

namespace morvanta::app {
namespace {

std::string VersionText(platform::SystemInfo& system) {
  auto v = system.QueryVersion();
  if (!v) return "unknown";
  return std::to_string(v->major) + "." + std::to_string(v->minor) + " build " +
         std::to_string(v->build) + (v->servicePack.empty() ? "" : ", " + v->servicePack);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> DescribeMachine(platform::Platform p) {
  std::vector<std::pair<std::string, std::string>> rows;
  rows.emplace_back("Windows version", VersionText(p.system));
  rows.emplace_back("User", p.system.UserName());
  rows.emplace_back("Program", p.system.ModulePath());
  rows.emplace_back("Windows folder", p.folders.WindowsDirectory());
  rows.emplace_back("System folder", p.folders.SystemDirectory());
  rows.emplace_back("Temp folder", p.folders.TempPath());
  std::string drives;
  for (const auto& d : p.folders.LogicalDrives()) drives += (drives.empty() ? "" : " ") + d;
  rows.emplace_back("Drives", drives);
  auto processes = p.processes.Snapshot();
  rows.emplace_back("Running processes", processes ? std::to_string(processes->size()) : "?");
  auto services = p.services.List(147492);
  rows.emplace_back("Services", services ? std::to_string(services->size()) : "?");
  rows.emplace_back("Time", p.system.LongTimeText());
  return rows;
}

}  // namespace morvanta::app
