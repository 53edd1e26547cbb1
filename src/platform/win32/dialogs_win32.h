// Modal message boxes through user32.
#pragma once

#include "platform/dialogs.h"

namespace morvanta::platform::win32 {

class Win32Dialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message& message) override;
};

}  // namespace morvanta::platform::win32
