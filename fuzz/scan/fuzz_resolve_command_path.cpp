// Command paths: the input is an autostart value or running-object line as malware may shape
// it, resolved against a small made-up machine. A path that comes back must name a file
// that is there.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fake/fake_platform.h"
#include "scan/path_tokens.h"

using namespace morvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::fake::FakePlatform fake;
  static platform::Platform machine = fake.Get();
  static bool ready = false;
  if (!ready) {
    fake.folders.SetWindowsDirectory("C:\\WINDOWS");
    fake.folders.SetSystemDirectory("C:\\WINDOWS\\system32");
    fake.files.MakeFolders("C:\\WINDOWS\\system32");
    fake.files.MakeFolders("C:\\Program Files\\x y\\b.exe");  // a folder named like a program
    for (const char* path :
         {"C:\\WINDOWS\\system32\\svchost.exe", "C:\\WINDOWS\\system32\\rundll32.exe",
          "C:\\WINDOWS\\notepad.exe", "C:\\Program Files\\x y\\a.exe", "C:\\dir\\file.exe",
          "C:\\dir\\x.dll"})
      fake.files.PutFile(path, "MZ program body");
    fake.files.PutFile("C:\\small.exe", "tiny");
    ready = true;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string path = scan::ResolveCommandPath(machine, text);
  if (!path.empty() && !scan::IsFilePresent(fake.files, path)) __builtin_trap();
  return 0;
}
