// HTTP through WinInet: a session, a connection and a request per transfer, closed in the
// reverse order when the answer goes.
#pragma once

#include "platform/internet.h"

namespace morvanta::platform::win32 {

class Win32Internet : public Internet {
 public:
  std::unique_ptr<HttpResponse> Send(const HttpRequest& request) override;
};

}  // namespace morvanta::platform::win32
