// The machine a contract test runs on: one implementation of the platform, plus places of
// the test's own (a scratch folder, a scratch registry key) that are removed afterwards.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace morvanta::testing {

enum class MachineKind { Fake, Win32 };

class Machine {
 public:
  static std::unique_ptr<Machine> Create(MachineKind kind);
  // The kinds this build can test: the fake everywhere, Win32 on Windows.
  static std::vector<MachineKind> Available();
  static std::string KindName(MachineKind kind);

  virtual ~Machine();
  virtual platform::Platform Get() = 0;
  virtual bool IsReal() const = 0;
  // The full path of a helper program ("sleeper.exe", "test_service.exe").
  virtual std::string HelperPath(const std::string& exeName) = 0;
  // Makes a folder that leads to another (a junction, or what the machine has of the kind);
  // false when the machine cannot make one.
  virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
  // Removes such a link, never what it leads to.
  virtual bool RemoveFolderLink(const std::string& link) = 0;
  // The files the system will delete when it next starts, and taking one off that list
  // again (a test must not leave the machine's list longer).
  virtual std::vector<std::string> RestartDeletes() = 0;
  virtual void ForgetRestartDelete(const std::string& path) = 0;

  // An empty folder of this test's own, without a trailing backslash.
  const std::string& Scratch() const { return scratch_; }
  std::string ScratchPath(const std::string& name) const { return scratch_ + "\\" + name; }
  // A key below HKEY_CURRENT_USER of this test's own; it does not exist at first.
  const std::string& ScratchKey() const { return scratchKey_; }
  // A tag of this test's own for names in places other test processes share (the real Run
  // keys, the Startup folder); on the real machine it carries the process id.
  const std::string& Tag() const { return tag_; }

 protected:
  // Creates the scratch places; called by Create once the platform is up.
  void MakeScratch(const std::string& parentFolder, const std::string& uniqueTag);
  // Removes them again; called by each machine's destructor, while its platform still is.
  void RemoveScratch();

 private:
  std::string scratch_;
  std::string scratchKey_;
  std::string tag_;
  bool hasScratch_ = false;
};

// Deletes a folder with everything in it; false when something stayed. Folder links are
// removed with `removeLink` (RemoveDirectory when none is given), never entered.
bool DeleteTree(platform::Files& files, const std::string& folder,
                const std::function<bool(const std::string&)>& removeLink = {});

}  // namespace morvanta::testing
