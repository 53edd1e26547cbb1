// The operation groups the logic is built on, handed around as one bundle.
#pragma once

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/internet.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/sockets.h"
#include "platform/system_info.h"

namespace morvanta::platform {

struct Platform {
  Registry& registry;
  Files& files;
  Folders& folders;
  Processes& processes;
  Services& services;
  Shell& shell;
  SystemInfo& system;
  Dialogs& dialogs;
  Sockets& sockets;
  Internet& internet;
};

}  // namespace morvanta::platform
