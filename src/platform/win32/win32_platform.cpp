#include "platform/win32/win32_platform.h"

#include "platform/win32/dialogs_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/folders_win32.h"
#include "platform/win32/internet_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/sockets_win32.h"
#include "platform/win32/system_info_win32.h"

namespace morvanta::platform::win32 {

struct Win32Platform::Groups {
  Win32Registry registry;
  Win32Files files;
  Win32Folders folders;
  Win32Processes processes;
  Win32Services services;
  Win32Shell shell;
  Win32SystemInfo system;
  Win32Dialogs dialogs;
  Win32Sockets sockets;
  Win32Internet internet;
};

Win32Platform::Win32Platform() : groups_(std::make_unique<Groups>()) {}
Win32Platform::~Win32Platform() = default;
Win32Platform::Win32Platform(Win32Platform&&) noexcept = default;
Win32Platform& Win32Platform::operator=(Win32Platform&&) noexcept = default;

Platform Win32Platform::Get() {
  Groups& g = *groups_;
  return Platform{g.registry, g.files,  g.folders, g.processes,
                  g.services, g.shell, g.system,  g.dialogs,
                  g.sockets,  g.internet};
}

}  // namespace morvanta::platform::win32
