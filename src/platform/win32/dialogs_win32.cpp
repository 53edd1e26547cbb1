#include "platform/win32/dialogs_win32.h"

#include "platform/win32/win_api.h"

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

}  // namespace morvanta::platform::win32
