// The real machine: the Win32 implementation, with scratch places in the user's temp
// folder and HKEY_CURRENT_USER, and the helper programs beside the test executable.
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "machine.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"

#include <winioctl.h>

namespace morvanta::testing {
namespace {

class Win32Machine : public Machine {
 public:
  Win32Machine() {
    auto p = Get();
    std::string temp = p.folders.TempPath();
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    const std::string module = p.system.ModulePath();
    folder_ = module.substr(0, module.find_last_of('\\'));
    // Tests run in parallel processes: the process id keeps their places apart.
    MakeScratch(temp, "win32-" + std::to_string(::GetCurrentProcessId()) + "-" +
                          std::to_string(p.system.TickCount()));
  }
  ~Win32Machine() override { RemoveScratch(); }
  platform::Platform Get() override { return real_.Get(); }
  bool IsReal() const override { return true; }
  std::string HelperPath(const std::string& exeName) override {
    return folder_ + "\\" + exeName;
  }
  bool MakeFolderLink(const std::string& link, const std::string& target) override;
  bool RemoveFolderLink(const std::string& link) override;
  std::vector<std::string> RestartDeletes() override;
  void ForgetRestartDelete(const std::string& path) override;

 private:
  platform::win32::Win32Platform real_;
  std::string folder_;
};

}  // namespace

namespace {

// A junction: the folder's reparse data names the target. Windows has it; Wine answers
// ERROR_NOT_SUPPORTED.
bool MakeJunction(const std::string& link, const std::string& target) {
  if (!::CreateDirectoryA(link.c_str(), nullptr)) return false;
  HANDLE folder = ::CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (folder == INVALID_HANDLE_VALUE) {
    ::RemoveDirectoryA(link.c_str());
    return false;
  }
  const std::wstring substitute = L"\\??\\" + std::wstring(target.begin(), target.end());
  const std::wstring print(target.begin(), target.end());
  struct {
    DWORD tag;
    WORD length, reserved;
    WORD substituteOffset, substituteLength, printOffset, printLength;
    WCHAR paths[1024];
  } data = {};
  const size_t s = substitute.size() * 2, p = print.size() * 2;
  data.tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(data.paths, substitute.data(), s);
  std::memcpy(reinterpret_cast<char*>(data.paths) + s + 2, print.data(), p);
  data.substituteLength = static_cast<WORD>(s);
  data.printOffset = static_cast<WORD>(s + 2);
  data.printLength = static_cast<WORD>(p);
  data.length = static_cast<WORD>(8 + s + 2 + p + 2);
  DWORD returned = 0;
  const bool made = ::DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, &data, data.length + 8,
                                      nullptr, 0, &returned, nullptr) != 0;
  ::CloseHandle(folder);
  if (!made) ::RemoveDirectoryA(link.c_str());
  return made;
}

// The Unix path of a Windows path under Wine; empty elsewhere.
std::string UnixPathOf(const std::string& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "";
  const std::wstring wide(path.begin(), path.end());
  char* name = unixName(wide.c_str());
  std::string text = name ? name : "";
  if (name) ::HeapFree(::GetProcessHeap(), 0, name);
  return text;
}

// Runs a program of the host system (Wine starts Unix programs too) and waits until `done`
// holds: the host program runs apart from Wine's process handles.
bool RunHostProgram(std::string command, const std::function<bool()>& done) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  for (int waited = 0; waited < 5000; waited += 50) {
    if (done()) return true;
    ::Sleep(50);
  }
  return done();
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wine makes no junction from Windows code, but shows a Unix symbolic link to a folder as
// one (a folder with the reparse-point attribute); the host's "ln" makes it.
bool MakeHostSymlink(const std::string& link, const std::string& target) {
  const std::string from = UnixPathOf(target), to = UnixPathOf(link);
  if (from.empty() || to.empty() || !Exists("Z:\\bin\\ln")) return false;
  return RunHostProgram("Z:\\bin\\ln -s \"" + from + "\" \"" + to + "\"", [&] { return Exists(link); });
}

}  // namespace

bool Win32Machine::MakeFolderLink(const std::string& link, const std::string& target) {
  return MakeJunction(link, target) || MakeHostSymlink(link, target);
}

bool Win32Machine::RemoveFolderLink(const std::string& link) {
  if (::RemoveDirectoryA(link.c_str())) return true;
  // Wine removes a Unix symbolic link neither as a folder nor as a file: the host's "rm"
  // does, without following it.
  const std::string unix = UnixPathOf(link);
  if (unix.empty() || !Exists("Z:\\bin\\rm")) return false;
  return RunHostProgram("Z:\\bin\\rm -f \"" + unix + "\"", [&] { return !Exists(link); });
}

namespace {

// Where the system keeps the renames and deletions it does at the next start: pairs of
// strings, the file ("\??\" and its path) and its new name, empty for a deletion.
constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingValue[] = L"PendingFileRenameOperations";

std::vector<std::wstring> ReadPendingOperations() {
  std::vector<std::wstring> strings;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return strings;
  DWORD type = 0, bytes = 0;
  if (::RegQueryValueExW(key, kPendingValue, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ && bytes > 0) {
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, kPendingValue, nullptr, &type,
                           reinterpret_cast<BYTE*>(&data[0]), &bytes) == ERROR_SUCCESS) {
      data.resize(bytes / sizeof(wchar_t));
      // Pairs until an empty first string or the end.
      for (size_t at = 0; at < data.size();) {
        const size_t end = data.find(L'\0', at);
        const std::wstring text = data.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
        if (strings.size() % 2 == 0 && text.empty()) break;
        strings.push_back(text);
        if (end == std::wstring::npos) break;
        at = end + 1;
      }
      if (strings.size() % 2) strings.emplace_back();
    }
  }
  ::RegCloseKey(key);
  return strings;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow;
}

std::string PathOf(const std::wstring& entry) {
  std::string path = Narrow(entry);
  if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
  if (!path.empty() && path[0] == '!') path.erase(0, 1);  // "replace an existing target"
  return path;
}

}  // namespace

std::vector<std::string> Win32Machine::RestartDeletes() {
  std::vector<std::string> paths;
  const auto strings = ReadPendingOperations();
  for (size_t i = 0; i + 1 < strings.size(); i += 2)
    if (strings[i + 1].empty()) paths.push_back(PathOf(strings[i]));
  return paths;
}

void Win32Machine::ForgetRestartDelete(const std::string& path) {
  const auto strings = ReadPendingOperations();
  std::wstring kept;
  bool any = false;
  for (size_t i = 0; i + 1 < strings.size(); i += 2) {
    if (strings[i + 1].empty() && _stricmp(PathOf(strings[i]).c_str(), path.c_str()) == 0) continue;
    kept += strings[i] + L'\0' + strings[i + 1] + L'\0';
    any = true;
  }
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  if (any) {
    kept += L'\0';
    ::RegSetValueExW(key, kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                     static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
  } else {
    ::RegDeleteValueW(key, kPendingValue);
  }
  ::RegCloseKey(key);
}

std::unique_ptr<Machine> CreateWin32Machine() { return std::make_unique<Win32Machine>(); }

}  // namespace morvanta::testing
