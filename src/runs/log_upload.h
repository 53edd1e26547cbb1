// The log upload: "SendLog.txt" written anew and stored on the maker's log server by FTP,
// under the user's logon name and a random number. Offered after a clean quick scan and
// after a fix while the last update check asked for logs; a successful store stops the
// offers until another check asks again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/session.h"
#include "common/views.h"

namespace morvanta::runs {

// What the upload reaches of its window.
struct LogUploadViews {
  common::Prompts& prompts;
  common::TextLine& status;  // the main window's status panel 0
  common::MessagePump& pump;
};

struct LogUploadResult {
  bool attempted = false;  // the last update check asked for logs
  bool sent = false;       // the server confirmed the stored file
  std::string remoteName;  // the name it was stored under; empty when none was chosen
};

// `Upload`. `randomNumber` stands in for the clock-seeded number of the remote name (tests).
LogUploadResult UploadLog(app::Session& session, LogUploadViews views,
                          std::optional<uint32_t> randomNumber = std::nullopt);

// The name the log is stored under: the logon name (characters a server path could take
// as a folder or a line end replaced by "_"), the number from 0 to 9999, ".txt".
std::string RemoteLogName(const std::string& logonName, uint32_t number);

}  // namespace morvanta::runs
