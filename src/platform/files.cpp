#include "platform/files.h"

namespace morvanta::platform {

bool Files::FileExists(const std::string& path) {
  auto a = GetAttributes(path);
  return a && (*a & attr::Directory) == 0;
}

bool Files::DirectoryExists(const std::string& path) {
  auto a = GetAttributes(path);
  return a && (*a & attr::Directory) != 0;
}

std::optional<std::vector<uint8_t>> Files::ReadAll(const std::string& path) {
  auto file = Open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(file->Size()));
  size_t done = 0;
  while (done < bytes.size()) {
    size_t n = file->Read(bytes.data() + done, bytes.size() - done);
    if (n == 0) return std::nullopt;
    done += n;
  }
  return bytes;
}

bool Files::WriteAll(const std::string& path, const void* data, size_t size) {
  auto file = Open(path, OpenMode::Write);
  return file && file->Write(data, size);
}

bool Files::WriteAtomically(const std::string& path, const void* data, size_t size) {
  const std::string fresh = path + kNewFileSuffix;
  bool written = false;
  {
    auto file = Open(fresh, OpenMode::Write);
    written = file && file->Write(data, size);
  }  // closed before it replaces the old file
  if (written && ReplaceFile(fresh, path)) return true;
  DeleteFile(fresh);
  return false;
}

}  // namespace morvanta::platform
