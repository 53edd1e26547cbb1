// A service a test registers and that goes again, stopped and deleted, when the test ends.
#pragma once

#include <string>

#include "platform/services.h"

namespace morvanta::testing {

class ScopedService {
 public:
  ScopedService(platform::Services& services, platform::NewService definition)
      : services_(services), key_(definition.keyName) {
    services_.Delete(key_);
    created_ = services_.Create(definition);
  }
  ~ScopedService() {
    services_.RequestStop(key_);
    services_.Delete(key_);
  }
  ScopedService(const ScopedService&) = delete;
  ScopedService& operator=(const ScopedService&) = delete;
  bool Created() const { return created_; }

 private:
  platform::Services& services_;
  std::string key_;
  bool created_ = false;
};

}  // namespace morvanta::testing
