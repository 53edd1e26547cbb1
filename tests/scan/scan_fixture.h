// A made-up machine for the scan engine's unit tests, with a few conveniences.
#pragma once

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/platform.h"

namespace morvanta::scan::testing {

class FakeMachine {
 public:
  FakeMachine() : platform_(fake_.Get()) {}
  platform::Platform& Get() { return platform_; }
  platform::fake::FakePlatform& Fake() { return fake_; }

  // A file with more than 10 bytes, so the presence test's opening branch also passes.
  void PutProgram(const std::string& path) { fake_.files.PutFile(path, "MZ program body"); }
  void SetCurrentVersionValue(const std::string& name, const platform::RegValue& value) {
    fake_.registry
        .CreateKey(platform::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion")
        ->WriteValue(name, value);
  }

 private:
  platform::fake::FakePlatform fake_;
  platform::Platform platform_;
};

}  // namespace morvanta::scan::testing
