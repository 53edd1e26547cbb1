// Where the servers outside the program are: the log server the scan log goes to by FTP,
// and the update server. Built-in defaults, each overridable by a line of "morvanta.ini"
// beside the program, so that a technician (or a test) can point the program at another
// server:
//
//   ; comment
//   [LogServer]
//   Host=logs.example.net
//   Port=21
//   Account=logs@example.net
//   Password=...            (only for another server: the maker's own is built at run time;
//                           taken whole, to the line's end)
//   TimeoutSeconds=30       ; the longest wait for a reply or a data connection
//   [UpdateServer]
//   Host=update.example.net
//   Port=80
//
// Names of sections and keys are taken in any letter case; a line that makes no sense (no
// "=", an unknown key, a port that is no number from 1 to 65535) is ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace morvanta::app {

inline constexpr char kServerSettingsFile[] = "morvanta.ini";

struct LogServerSettings {
  std::string host = "logs.morvanta-pro.com";
  uint16_t port = 21;
  std::string account = "scanlogs@morvanta-pro.com";
  // Set only by the settings file; otherwise the upload builds the maker's password.
  std::optional<std::string> password;
  uint32_t timeoutSeconds = 30;
};

struct UpdateServerSettings {
  std::string host = "update.morvanta-pro.com";
  uint16_t port = 80;
};

struct ServerSettings {
  LogServerSettings log;
  UpdateServerSettings update;
};

// The defaults with the lines of a settings file's text laid over them.
ServerSettings ParseServerSettings(std::string_view text);

// The settings file in `programFolder` (ending with "\"); the defaults when there is none
// or it cannot be read.
ServerSettings LoadServerSettings(platform::Files& files, const std::string& programFolder);

}  // namespace morvanta::app
