#include "platform/win32/message_box_robot.h"

#include "platform/win32/win_api.h"

namespace morvanta::platform::win32 {
namespace {

// The static control that holds a message box's text.
constexpr int kTextControlId = 0xFFFF;

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

}  // namespace

std::optional<SeenMessageBox> WaitForMessageBox(const std::string& caption,
                                                uint32_t milliseconds) {
  const DWORD start = ::GetTickCount();
  Search search{caption};
  while (::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search)), !search.found) {
    if (::GetTickCount() - start > milliseconds) return std::nullopt;
    ::Sleep(20);
  }
  // The box sets its z-order and default button while it initialises; let it settle.
  ::Sleep(200);
  SeenMessageBox seen;
  seen.window = search.found;
  char text[4096] = {};
  ::GetDlgItemTextA(search.found, kTextControlId, text, sizeof text);
  seen.text = text;
  seen.topmost = (::GetWindowLongA(search.found, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  for (MessageAnswer a : {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes,
                          MessageAnswer::No}) {
    HWND button = ::GetDlgItem(search.found, ButtonId(a));
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

}  // namespace morvanta::platform::win32
