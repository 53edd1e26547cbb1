// The real platform: one object of each Win32 operation group, handed out as one bundle.
// The groups live behind a pointer so that including this does not bring in windows.h.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace morvanta::platform::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(Win32Platform&&) noexcept;
  Win32Platform& operator=(Win32Platform&&) noexcept;

  // Valid while this object (or the one it was moved to) lives.
  Platform Get();

 private:
  struct Groups;
  std::unique_ptr<Groups> groups_;
};

}  // namespace morvanta::platform::win32
