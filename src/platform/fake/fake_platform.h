// The whole made-up machine: every operation group in memory, wired together.
#pragma once

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_folders.h"
#include "platform/fake/fake_internet.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_services.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_sockets.h"
#include "platform/fake/fake_system_info.h"
#include "platform/platform.h"

namespace morvanta::platform::fake {

class FakePlatform {
 public:
  // The machine starts with its system folders present in the file system.
  FakePlatform();
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  Platform Get() {
    return Platform{registry, files, folders, processes, services, shell, system, dialogs,
                    sockets, internet};
  }

  FakeRegistry registry;
  FakeFiles files;
  FakeFolders folders;
  FakeProcesses processes{files};
  FakeServices services{files};
  FakeShell shell{files};
  FakeSystemInfo system;
  FakeDialogs dialogs;
  FakeSockets sockets;
  FakeInternet internet;
};

}  // namespace morvanta::platform::fake
