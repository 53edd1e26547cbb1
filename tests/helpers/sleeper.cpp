// Test helper: a console program that does nothing until it is ended.
//
//   sleeper.exe [SECONDS] [--lock PATH]
//
// SECONDS makes it end by itself after that long, so a failed test cannot leave it running.
// --lock PATH holds PATH open for writing (others may only read) while it sleeps.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/handle.h"

using morvanta::platform::win32::FileHandle;

int main(int argc, char** argv) {
  long seconds = -1;
  const char* lockPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lock") == 0 && i + 1 < argc) {
      lockPath = argv[++i];
    } else {
      char* end = nullptr;
      long value = std::strtol(argv[i], &end, 10);
      if (end == argv[i] || *end != '\0' || value < 0) {
        std::fprintf(stderr, "usage: sleeper [SECONDS] [--lock PATH]\n");
        return 2;
      }
      seconds = value;
    }
  }

  FileHandle lock;
  if (lockPath) {
    lock.Reset(::CreateFileA(lockPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!lock) {
      std::fprintf(stderr, "sleeper: cannot open %s (error %lu)\n", lockPath, ::GetLastError());
      return 1;
    }
  }

  for (long elapsed = 0; seconds < 0 || elapsed < seconds; ++elapsed) ::Sleep(1000);
  return 0;
}
