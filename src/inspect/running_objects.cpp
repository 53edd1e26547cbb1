#include "inspect/running_objects.h"

#include <algorithm>

#include "inspect/process_manager.h"
#include "platform/text.h"
#include "platform/types.h"
#include "scan/file_digest.h"
#include "scan/path_tokens.h"

namespace morvanta::inspect {

using platform::RegRoot;

namespace {

unsigned char LowerByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return LowerByte(x) < LowerByte(y); });
}

class AutostartCollector {
 public:
  AutostartCollector(platform::Platform& p, common::MessagePump& pump) : p_(p), pump_(pump) {}

  void AddDistinct(const std::string& path) {
    for (const auto& f : files_)
      if (platform::EqualsNoCase(f, path)) return;
    files_.push_back(path);
  }

  // Every text value of the key, resolved, kept when present.
  void ValuesOf(RegRoot root, const std::string& path) {
    auto key = p_.registry.OpenKey(root, path, platform::RegAccess::Read);
    if (!key) return;
    for (const auto& name : key->ListValueNames()) {
      pump_.ProcessPendingMessages();
      auto value = key->ReadValue(name);
      if (!value || !value->IsText()) continue;
      const std::string resolved = scan::ResolveCommandPath(p_, value->AsText());
      if (IsFilePresent(p_.files, resolved)) AddDistinct(resolved);
    }
  }

  void ClassServers(const std::string& clsid) {
    if (clsid.empty()) return;
    ValuesOf(RegRoot::ClassesRoot, "CLSID\\" + clsid + "\\InProcServer32");
    ValuesOf(RegRoot::ClassesRoot, "CLSID\\" + clsid + "\\LocalServer32");
  }

  std::vector<std::string> Run() {
    const std::string windows = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
    const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const std::string notify = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify";
    // 1
    ValuesOf(RegRoot::LocalMachine, windows);
    // 2: value data are class identifiers
    if (auto key = Open(RegRoot::LocalMachine,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad"))
      for (const auto& name : key->ListValueNames()) {
        auto value = key->ReadValue(name);
        if (value && value->IsText()) ClassServers(value->AsText());
      }
    // 3
    if (auto key = Open(RegRoot::LocalMachine, notify))
      for (const auto& sub : key->ListSubKeys()) ValuesOf(RegRoot::LocalMachine, notify + "\\" + sub);
    // 4: value names are class identifiers
    if (auto key = Open(RegRoot::LocalMachine, explorer + "SharedTaskScheduler"))
      for (const auto& name : key->ListValueNames()) ClassServers(name);
    // 5, 6: subkey names are class identifiers
    for (const char* place : {"Browser Helper Objects", "ShellExecuteHooks"})
      if (auto key = Open(RegRoot::LocalMachine, explorer + place))
        for (const auto& sub : key->ListSubKeys()) ClassServers(sub);
    // 7: the comma-separated libraries, without the presence test
    if (auto key = Open(RegRoot::LocalMachine, windows)) {
      auto value = key->ReadValue("AppInit_DLLs");
      if (value && value->IsText()) {
        const std::string text = value->AsText() + ",";
        size_t start = 0;
        for (size_t comma = text.find(','); comma != std::string::npos;
             start = comma + 1, comma = text.find(',', start)) {
          const std::string part = text.substr(start, comma - start);
          const std::string resolved = scan::ResolveCommandPath(p_, part);
          AddDistinct(resolved.empty() ? part : resolved);
        }
      }
    }
    // 8: uninstall commands without their quotes, without the presence test
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    if (auto key = Open(RegRoot::CurrentUser, uninstall))
      for (const auto& sub : key->ListSubKeys()) {
        std::string command;
        if (auto subKey = Open(RegRoot::CurrentUser, uninstall + "\\" + sub)) {
          auto value = subKey->ReadValue("UninstallString");
          if (value && value->IsText()) command = value->AsText();
        }
        command.erase(std::remove(command.begin(), command.end(), '"'), command.end());
        AddDistinct(command);
      }
    return std::move(files_);
  }

 private:
  std::unique_ptr<platform::RegistryKey> Open(RegRoot root, const std::string& path) {
    return p_.registry.OpenKey(root, path, platform::RegAccess::Read);
  }
  platform::Platform& p_;
  common::MessagePump& pump_;
  std::vector<std::string> files_;
};

}  // namespace

bool RunningObjectList::Add(const std::string& line) {
  auto it = std::lower_bound(lines_.begin(), lines_.end(), line, LessNoCase);
  if (it != lines_.end() && platform::EqualsNoCase(*it, line)) return false;
  lines_.insert(it, line);
  return true;
}

std::vector<std::string> CollectAutostartFiles(platform::Platform& p, common::MessagePump& pump) {
  return AutostartCollector(p, pump).Run();
}

void CollectRunningObjects(platform::Platform& p, const common::MessageCatalog& catalog,
                           const InventorySources& sources, RunningObjectList& list,
                           common::MessagePump& pump, common::TextLine* status) {
  list.Clear();
  auto add = [&](const std::string& kind, const std::string& path) {
    list.Add(kind + path + "[" + scan::FileDigest(p.files, path) + "][" +
             std::to_string(scan::FileSize(p.files, path)) + "]");
    if (status) status->SetText(path);
    pump.ProcessPendingMessages();
  };
  for (const auto& process : ListRunningProcesses(p.processes))
    if (IsFilePresent(p.files, process.path)) add("Proc ", process.path);
  for (const auto& value : sources.startupValues)
    add("RegRun ", scan::ResolveCommandPath(p, value.Value));
  const std::pair<const std::vector<std::string>*, std::string> places[] = {
      {&sources.startupFolderTargets, catalog.Text(common::Msg::StartupKind)},
      {&sources.serviceImagePaths, catalog.Text(common::Msg::ServiceKind)},
      {&sources.systemIniLines, "System.ini "},
  };
  for (const auto& place : places)
    for (const auto& text : *place.first) {
      const std::string path = scan::ResolveCommandPath(p, text);
      if (!path.empty()) add(place.second, path);
    }
  for (const auto& path : CollectAutostartFiles(p, pump))
    if (!path.empty()) add("Clsid ", path);
}

}  // namespace morvanta::inspect
