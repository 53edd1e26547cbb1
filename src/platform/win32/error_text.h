// The system's own text for a Win32 error code, for logs and messages.
#pragma once

#include <string>

namespace morvanta::platform::win32 {

// The message text of `code` (as GetLastError returns it) without the trailing line break;
// "Error N" when the system has no text for it.
std::string ErrorText(unsigned long code);

}  // namespace morvanta::platform::win32
