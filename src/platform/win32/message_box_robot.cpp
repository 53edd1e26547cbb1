#include "platform/win32/message_box_robot.h"

#include "platform/win32/win_api.h"

namespace morvanta::platform::win32 {
namespace {

// The static control that holds a message box's text.
constexpr int kTextControlId = 0xFFFF;
// A file dialog's file name box: a combo box on Windows (cmb13), an edit box under Wine (edt1).
constexpr int kFileNameComboId = 0x47C, kFileNameEditId = 0x480;

struct Search {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
  char className[16] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  char caption[512] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  if (search->caption != caption) return TRUE;
  search->found = window;
  return FALSE;
}

int ButtonId(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok: return IDOK;
    case MessageAnswer::Cancel: return IDCANCEL;
    case MessageAnswer::Yes: return IDYES;
    case MessageAnswer::No: return IDNO;
  }
  return IDOK;
}

HWND WaitForDialog(const std::string& caption, uint32_t milliseconds) {
  const DWORD start = ::GetTickCount();
  Search search{caption};
  while (::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search)), !search.found) {
    if (::GetTickCount() - start > milliseconds) return nullptr;
    ::Sleep(20);
  }
  // A dialog sets its z-order, controls and default button while it initialises; let it
  // settle.
  ::Sleep(200);
  return search.found;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM param) {
  char className[16] = {};
  ::GetClassNameA(child, className, sizeof className);
  if (std::string(className) != "Edit") return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

}  // namespace

std::optional<SeenMessageBox> WaitForMessageBox(const std::string& caption,
                                                uint32_t milliseconds) {
  HWND found = WaitForDialog(caption, milliseconds);
  if (!found) return std::nullopt;
  SeenMessageBox seen;
  seen.window = found;
  char text[4096] = {};
  ::GetDlgItemTextA(found, kTextControlId, text, sizeof text);
  seen.text = text;
  seen.topmost = (::GetWindowLongA(found, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  for (MessageAnswer a : {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes,
                          MessageAnswer::No}) {
    HWND button = ::GetDlgItem(found, ButtonId(a));
    if (button && (::GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
      seen.defaultButton = a;
  }
  return seen;
}

bool PressMessageBoxButton(WindowHandle box, MessageAnswer answer) {
  HWND button = ::GetDlgItem(static_cast<HWND>(box), ButtonId(answer));
  if (!button) return false;
  ::PostMessageA(static_cast<HWND>(box), WM_COMMAND, MAKEWPARAM(ButtonId(answer), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  return true;
}

std::optional<WindowHandle> WaitForFileDialog(const std::string& title, uint32_t milliseconds) {
  HWND found = WaitForDialog(title, milliseconds);
  if (!found) return std::nullopt;
  return found;
}

bool AnswerFileDialog(WindowHandle dialog, const std::optional<std::string>& path) {
  HWND window = static_cast<HWND>(dialog);
  if (!path) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL)));
    return true;
  }
  HWND name = ::GetDlgItem(window, kFileNameComboId);
  if (!name) name = ::GetDlgItem(window, kFileNameEditId);
  if (!name) return false;
  ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path->c_str()));
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, IDOK)));
  return true;
}

std::optional<WindowHandle> WaitForFolderDialog(const std::string& title, uint32_t milliseconds) {
  HWND found = WaitForDialog(title, milliseconds);
  if (!found) return std::nullopt;
  return found;
}

bool AnswerFolderDialog(WindowHandle dialog, const std::optional<std::string>& folder) {
  HWND window = static_cast<HWND>(dialog);
  if (!folder) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL)));
    return true;
  }
  HWND edit = nullptr;
  ::EnumChildWindows(window, FindEdit, reinterpret_cast<LPARAM>(&edit));
  if (!edit) return false;
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder->c_str()));
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, IDOK)));
  return true;
}

}  // namespace morvanta::platform::win32
