#include "platform/win32/shell_win32.h"

#include <cstring>
#include <vector>

#include "platform/win32/handle.h"

#include <shellapi.h>
#include <shlobj.h>

namespace morvanta::platform::win32 {
namespace {

// COM for the calling thread while the object lives. A thread that already runs COM in
// another apartment model can still create the in-process shell link, so that is accepted.
class ComInit {
 public:
  ComInit() : result_(::CoInitialize(nullptr)) {}
  ~ComInit() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;

  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

std::wstring Wide(const std::string& text) {
  int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length));
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), length);
  return std::wstring(buffer.data());
}

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

ComPtr<IShellLinkA> NewShellLink() {
  ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Put()))))
    return ComPtr<IShellLinkA>();
  return link;
}

ComPtr<IPersistFile> PersistFileOf(IShellLinkA* link) {
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))))
    return ComPtr<IPersistFile>();
  return file;
}

}  // namespace

// ShellExecute may hand the work to shell extensions, which need COM on this thread.
bool Win32Shell::Open(const std::string& target) {
  ComInit com;
  HINSTANCE result =
      ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::ShowProperties(const std::string& path, WindowHandle owner) {
  ComInit com;
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = static_cast<HWND>(owner);
  info.lpVerb = "properties";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOW;
  return ::ShellExecuteExA(&info) != 0;
}

std::optional<std::string> Win32Shell::ShortcutTarget(const std::string& linkPath) {
  ComInit com;
  if (!com.Usable()) return std::nullopt;
  ComPtr<IShellLinkA> link = NewShellLink();
  if (!link) return std::nullopt;
  ComPtr<IPersistFile> file = PersistFileOf(link.Get());
  if (!file || FAILED(file.Get()->Load(Wide(linkPath).c_str(), STGM_READ)))
    return std::nullopt;
  char target[MAX_PATH] = {};
  if (FAILED(link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
    return std::nullopt;
  std::string text = Trimmed(std::string(target, ::strnlen(target, MAX_PATH)));
  if (text.empty()) return std::nullopt;
  return text;
}

bool Win32Shell::CreateShortcut(const std::string& linkPath, const std::string& target) {
  ComInit com;
  if (!com.Usable()) return false;
  ComPtr<IShellLinkA> link = NewShellLink();
  if (!link || FAILED(link.Get()->SetPath(target.c_str()))) return false;
  ComPtr<IPersistFile> file = PersistFileOf(link.Get());
  return file && SUCCEEDED(file.Get()->Save(Wide(linkPath).c_str(), TRUE));
}

}  // namespace morvanta::platform::win32
