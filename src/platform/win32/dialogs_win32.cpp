#include "platform/win32/dialogs_win32.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "platform/win32/win_api.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

namespace morvanta::platform::win32 {
namespace {

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return 0;
    case MessageIcon::Error: return MB_ICONERROR;
    case MessageIcon::Warning: return MB_ICONWARNING;
    case MessageIcon::Information: return MB_ICONINFORMATION;
    case MessageIcon::Question: return MB_ICONQUESTION;
  }
  return 0;
}

UINT ButtonFlag(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MB_OK;
    case MessageButtons::OkCancel: return MB_OKCANCEL;
    case MessageButtons::YesNo: return MB_YESNO;
    case MessageButtons::YesNoCancel: return MB_YESNOCANCEL;
  }
  return MB_OK;
}

// What the folder chooser's hooks share with the call that shows it.
struct FolderChoice {
  const FolderDialog& dialog;
  std::optional<std::string> typed;  // a full path typed into the folder box and confirmed
};

constexpr UINT_PTR kOkHookId = 1;

BOOL CALLBACK FindFolderBox(HWND child, LPARAM param) {
  char className[16] = {};
  ::GetClassNameA(child, className, sizeof className);
  if (std::string(className) != "Edit") return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

bool IsFullPath(const std::string& path) {
  const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && path[2] == '\\';
  return drive || path.rfind("\\\\", 0) == 0;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

// The chooser's OK, before the chooser itself sees it: a full path typed into its folder box
// is the choice, a folder that is not there yet created once the user confirms it. Declined
// or failed, the chooser stays open.
LRESULT CALLBACK FolderOkHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR id, DWORD_PTR data) {
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, FolderOkHook, id);
  if (message != WM_COMMAND || LOWORD(wParam) != IDOK)
    return ::DefSubclassProc(window, message, wParam, lParam);
  auto& choice = *reinterpret_cast<FolderChoice*>(data);
  HWND box = nullptr;
  ::EnumChildWindows(window, FindFolderBox, reinterpret_cast<LPARAM>(&box));
  std::vector<char> text(32768, '\0');
  if (box) ::GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
  const std::string typed = Trimmed(text.data());
  if (!IsFullPath(typed)) return ::DefSubclassProc(window, message, wParam, lParam);
  const DWORD attributes = ::GetFileAttributesA(typed.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const std::string question = "The folder \"" + typed + "\" does not exist. Create it?";
    if (::MessageBoxA(window, question.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
      return 0;
    if (::SHCreateDirectoryExA(window, typed.c_str(), nullptr) != ERROR_SUCCESS) {
      const std::string failed = "The folder \"" + typed + "\" could not be created.";
      ::MessageBoxA(window, failed.c_str(), "Error", MB_OK | MB_ICONERROR);
      return 0;
    }
  } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return 0;  // a file: no folder to choose
  }
  choice.typed = typed;
  return ::DefSubclassProc(window, message, wParam, lParam);
}

int CALLBACK FolderChooserEvent(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  auto* choice = reinterpret_cast<FolderChoice*>(data);
  if (!choice->dialog.title.empty()) ::SetWindowTextA(window, choice->dialog.title.c_str());
  if (!choice->dialog.start.empty())
    ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE,
                   reinterpret_cast<LPARAM>(choice->dialog.start.c_str()));
  ::SetWindowSubclass(window, FolderOkHook, kOkHookId, reinterpret_cast<DWORD_PTR>(choice));
  return 0;
}

// COM for the chooser's new-style dialog, for as long as it is shown.
class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};

}  // namespace

unsigned MessageBoxStyle(const Message& message) {
  UINT flags = IconFlag(message.icon) | ButtonFlag(message.buttons);
  if (message.secondButtonDefault) flags |= MB_DEFBUTTON2;
  if (message.topmost) flags |= MB_TOPMOST;
  if (message.setForeground) flags |= MB_SETFOREGROUND;
  return flags;
}

MessageAnswer Win32Dialogs::Show(const Message& message) {
  switch (::MessageBoxA(static_cast<HWND>(message.owner), message.text.c_str(),
                        message.caption.c_str(), MessageBoxStyle(message))) {
    case IDOK: return MessageAnswer::Ok;
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;  // IDCANCEL, or the box could not be shown
  }
}

std::optional<std::string> Win32Dialogs::ChooseFileToOpen(const OpenFileDialog& dialog) {
  // Room for a long path; the dialog fails (as if cancelled) on one that does not fit.
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(dialog.owner);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  // The program names its files by full paths, but the process's current folder is left
  // as it was all the same.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file.data());
}

std::optional<std::string> Win32Dialogs::ChooseFileToSave(const SaveFileDialog& dialog) {
  std::vector<char> file(32768, '\0');
  dialog.fileName.copy(file.data(), std::min(dialog.fileName.size(), file.size() - 1));
  // The filter is its texts each ended by a NUL, and one NUL more.
  std::string filter;
  for (const std::string& part : dialog.filter) filter += part + '\0';
  filter += '\0';
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(dialog.owner);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFilter = dialog.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
              OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!::GetSaveFileNameA(&ofn)) return std::nullopt;
  return std::string(file.data());
}

std::optional<std::string> Win32Dialogs::ChooseFolder(const FolderDialog& dialog) {
  ComApartment com;
  FolderChoice choice{dialog, std::nullopt};
  char display[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = static_cast<HWND>(dialog.owner);
  info.pszDisplayName = display;
  info.lpszTitle = dialog.title.empty() ? nullptr : dialog.title.c_str();
  // The help context has no help file to lead to: the chooser shows no help button.
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  info.lpfn = FolderChooserEvent;
  info.lParam = reinterpret_cast<LPARAM>(&choice);
  const std::unique_ptr<ITEMIDLIST, ItemListFree> chosen(::SHBrowseForFolderA(&info));
  if (!chosen) return std::nullopt;
  if (choice.typed) return choice.typed;
  std::vector<char> path(MAX_PATH * 2, '\0');
  if (!::SHGetPathFromIDListA(chosen.get(), path.data()) || path[0] == '\0') return std::nullopt;
  return std::string(path.data());
}

}  // namespace morvanta::platform::win32
