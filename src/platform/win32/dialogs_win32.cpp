#include "platform/win32/dialogs_win32.h"

#include <vector>

#include "platform/win32/win_api.h"

#include <commdlg.h>

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

}  // namespace morvanta::platform::win32
