// The real machine: the Win32 implementation, with scratch places in the user's temp
// folder and HKEY_CURRENT_USER, and the helper programs beside the test executable.
#include <memory>
#include <string>

#include "machine.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"

namespace morvanta::testing {
namespace {

class Win32Machine : public Machine {
 public:
  Win32Machine() {
    auto p = Get();
    std::string temp = p.folders.TempPath();
    if (!temp.empty() && temp.back() == '\\') temp.pop_back();
    const std::string module = p.system.ModulePath();
    folder_ = module.substr(0, module.find_last_of('\\'));
    // Tests run in parallel processes: the process id keeps their places apart.
    MakeScratch(temp, "win32-" + std::to_string(::GetCurrentProcessId()) + "-" +
                          std::to_string(p.system.TickCount()));
  }
  platform::Platform Get() override { return real_.Get(); }
  bool IsReal() const override { return true; }
  std::string HelperPath(const std::string& exeName) override {
    return folder_ + "\\" + exeName;
  }

 private:
  platform::win32::Win32Platform real_;
  std::string folder_;
};

}  // namespace

std::unique_ptr<Machine> CreateWin32Machine() { return std::make_unique<Win32Machine>(); }

}  // namespace morvanta::testing
