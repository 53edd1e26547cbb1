#include "inspect/startup_programs.h"
#include "platform/text.h"

namespace morvanta::inspect {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunServicesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr char kBakSuffix[] = "_Bak";
constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string PairKey(const std::string& code, bool disabled) {
  std::string key = platform::Contains(code, "_S") ? kRunServicesKey : kRunKey;
  if (disabled) key += kBakSuffix;
  return key;
}

}  // namespace

const std::array<const char*, 8>& RegistryPlaceCodes() {
  static const std::array<const char*, 8> codes = {"HKCU", "HKCU_B", "HKCU_S", "HKCU_S_B",
                                                   "HKLM", "HKLM_B", "HKLM_S", "HKLM_S_B"};
  return codes;
}

const std::array<const char*, 2>& FolderPlaceCodes() {
  static const std::array<const char*, 2> codes = {"CU", "LM"};
  return codes;
}

platform::RegRoot RootOfCode(const std::string& code) {
  return platform::Contains(code, "HKCU") || code == "CU" ? platform::RegRoot::CurrentUser
                                                 : platform::RegRoot::LocalMachine;
}

std::string KeyOfCode(const std::string& code) { return PairKey(code, IsDisabledCode(code)); }

bool IsDisabledCode(const std::string& code) { return platform::Contains(code, "_B"); }

std::string DerivedProgramPath(const std::string& command) {
  std::string path = command;
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  path = TrimControls(platform::AsciiLower(path));
  const size_t quote = path.rfind('"');
  if (quote != std::string::npos) return path.substr(0, quote);
  if (path.compare(0, 12, "rundll32.exe") == 0) {
    path = path.size() > 13 ? path.substr(13) : std::string();
    const size_t dll = path.find(".dll");
    if (dll != std::string::npos) path.resize(dll + 4);
    return path;
  }
  const size_t exe = path.find(".exe ");
  if (exe != std::string::npos) path.resize(exe + 4);
  return path;
}

std::vector<StartupRegEntry> LoadFromReg(platform::Registry& registry, const std::string& code) {
  std::vector<StartupRegEntry> entries;
  auto key = registry.OpenKey(RootOfCode(code), KeyOfCode(code), platform::RegAccess::All);
  if (!key) return entries;
  for (const std::string& name : key->ListValueNames()) {
    auto value = key->ReadValue(name);
    if (!value || !value->IsText()) continue;
    StartupRegEntry entry;
    entry.name = name;
    entry.command = value->AsText();
    entry.code = code;
    entry.programPath = DerivedProgramPath(entry.command);
    entry.enabled = !IsDisabledCode(code);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<StartupRegEntry> LoadAllFromReg(platform::Registry& registry) {
  std::vector<StartupRegEntry> all;
  for (const char* code : RegistryPlaceCodes()) {
    auto place = LoadFromReg(registry, code);
    all.insert(all.end(), place.begin(), place.end());
  }
  return all;
}

std::vector<StartupFolderEntry> LoadFromDir(platform::Platform p, const std::string& code) {
  std::vector<StartupFolderEntry> entries;
  platform::RegistryObject reg(p.registry);
  reg.SetRootKey(RootOfCode(code));
  if (!reg.OpenKey(kShellFolders, false)) return entries;
  const std::string folder =
      reg.ReadString(code == "CU" ? "Startup" : "Common Startup").value_or("");
  reg.CloseKey();
  if (folder.empty()) return entries;
  auto listing = p.files.List(folder + "\\*");
  if (!listing) return entries;
  for (const platform::DirEntry& file : *listing) {
    if (file.name == "." || file.name == "..") continue;
    StartupFolderEntry entry;
    entry.fileName = file.name;
    entry.code = code;
    entry.fullPath = folder + "\\" + file.name;
    entry.target = TrimControls(p.shell.ShortcutTarget(entry.fullPath).value_or(""));
    if (entry.target.empty()) entry.target = entry.fullPath;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<StartupFolderEntry> LoadAllFromDirs(platform::Platform p) {
  std::vector<StartupFolderEntry> all;
  for (const char* code : FolderPlaceCodes()) {
    auto place = LoadFromDir(p, code);
    all.insert(all.end(), place.begin(), place.end());
  }
  return all;
}

ChangeResult ChangeReg(platform::Registry& registry, const StartupRegEntry& entry, bool ticked,
                       bool remove) {
  const platform::RegRoot root = RootOfCode(entry.code);
  const std::string current = PairKey(entry.code, !entry.enabled);
  {
    // The row may be stale: the value must still be there and still say what the row shows.
    auto key = registry.OpenKey(root, current, platform::RegAccess::Read);
    auto value = key ? key->ReadValue(entry.name) : std::nullopt;
    if (!value || !value->IsText() || value->AsText() != entry.command) return ChangeResult::Stale;
  }
  const std::string target = PairKey(entry.code, !ticked);
  const std::string source = PairKey(entry.code, ticked);
  auto targetKey = registry.CreateKey(root, target);
  if (!targetKey) return ChangeResult::Failed;
  if (remove) {
    targetKey->DeleteValue(entry.name);
  } else {
    // A value stored for expansion ("%ProgramFiles%\...") keeps its type on the move.
    platform::RegType type = platform::RegType::String;
    if (auto sourceKey = registry.OpenKey(root, source, platform::RegAccess::Read)) {
      auto old = sourceKey->ReadValue(entry.name);
      if (old && old->type == platform::RegType::ExpandString) type = old->type;
    }
    if (!targetKey->WriteValue(entry.name, platform::RegValue::FromString(entry.command, type)))
      return ChangeResult::Failed;
  }
  targetKey.reset();
  if (auto sourceKey = registry.OpenKey(root, source, platform::RegAccess::All))
    sourceKey->DeleteValue(entry.name);
  return ChangeResult::Done;
}

CheckChange CheckChangeOf(bool ticked, bool enabledMarker) {
  if (ticked && !enabledMarker) return CheckChange::Enable;
  if (!ticked && enabledMarker) return CheckChange::Disable;
  return CheckChange::None;
}

}  // namespace morvanta::inspect
