#include "machine.h"

#include <cstdio>

#include "platform/fake/fake_platform.h"

namespace morvanta::testing {

std::unique_ptr<Machine> CreateWin32Machine();  // machine_win32.cpp, Windows builds only

namespace {

class FakeMachine : public Machine {
 public:
  FakeMachine() {
    fake_.files.PutFile(HelperPath("sleeper.exe"), "MZ sleeper helper program");
    fake_.files.PutFile(HelperPath("test_service.exe"), "MZ test service program");
    platform::fake::FakeVersionInfo info;
    info.translations = {{0x0409, 1252}};
    const std::string block = "\\StringFileInfo\\040904E4\\";
    info.strings[block + "CompanyName"] = "Morvanta Test";
    info.strings[block + "LegalCopyright"] = "Copyright (C) Morvanta Test";
    fake_.system.SetVersionInfo(HelperPath("test_service.exe"), info);
    MakeScratch("C:\\scratch", "fake");
  }
  ~FakeMachine() override { RemoveScratch(); }
  platform::Platform Get() override { return fake_.Get(); }
  bool IsReal() const override { return false; }
  std::string HelperPath(const std::string& exeName) override {
    return "C:\\helpers\\" + exeName;
  }
  bool MakeFolderLink(const std::string& link, const std::string& target) override {
    fake_.files.MakeFolderLink(link, target);
    return true;
  }
  bool RemoveFolderLink(const std::string& link) override { return fake_.files.RemoveDirectory(link); }
  std::vector<std::string> RestartDeletes() override { return fake_.files.RestartDeletes(); }
  void ForgetRestartDelete(const std::string& path) override { fake_.files.ForgetRestartDelete(path); }

 private:
  platform::fake::FakePlatform fake_;
};

}  // namespace

std::unique_ptr<Machine> Machine::Create(MachineKind kind) {
#ifdef _WIN32
  if (kind == MachineKind::Win32) return CreateWin32Machine();
#endif
  (void)kind;
  return std::make_unique<FakeMachine>();
}

std::vector<MachineKind> Machine::Available() {
#ifdef _WIN32
  return {MachineKind::Fake, MachineKind::Win32};
#else
  return {MachineKind::Fake};
#endif
}

std::string Machine::KindName(MachineKind kind) {
  return kind == MachineKind::Fake ? "Fake" : "Win32";
}

Machine::~Machine() {}

void Machine::MakeScratch(const std::string& parentFolder, const std::string& uniqueTag) {
  static int counter = 0;
  auto p = Get();
  p.files.CreateDirectory(parentFolder);
  tag_ = uniqueTag + "-" + std::to_string(++counter);
  scratch_ = parentFolder + "\\morvanta-test-" + tag_;
  DeleteTree(p.files, scratch_, [this](const std::string& link) { return RemoveFolderLink(link); });
  p.files.CreateDirectory(scratch_);
  scratchKey_ = "Software\\MorvantaTest\\" + tag_;
  p.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, scratchKey_);
  hasScratch_ = true;
}

void Machine::RemoveScratch() {
  if (!hasScratch_) return;
  auto p = Get();
  DeleteTree(p.files, scratch_, [this](const std::string& link) { return RemoveFolderLink(link); });
  p.registry.DeleteKeyTree(platform::RegRoot::CurrentUser, scratchKey_);
  hasScratch_ = false;
}

bool DeleteTree(platform::Files& files, const std::string& folder,
                const std::function<bool(const std::string&)>& removeLink) {
  if (auto entries = files.List(folder + "\\*")) {
    for (const auto& e : *entries) {
      if (e.name == "." || e.name == "..") continue;
      std::string path = folder + "\\" + e.name;
      if (e.attributes & platform::attr::ReparsePoint) {
        if (removeLink ? !removeLink(path) : !files.RemoveDirectory(path)) files.DeleteFile(path);
      } else if (e.IsDirectory()) {
        DeleteTree(files, path, removeLink);
      } else {
        files.SetAttributes(path, platform::attr::Normal);
        files.DeleteFile(path);
      }
    }
  }
  files.RemoveDirectory(folder);
  return !files.Exists(folder);
}

}  // namespace morvanta::testing
