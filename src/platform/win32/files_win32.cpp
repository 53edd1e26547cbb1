#include "platform/win32/files_win32.h"

#include <cstdint>

#include "platform/win32/error_text.h"

#include <algorithm>

namespace morvanta::platform::win32 {
namespace {

// ReadFile and WriteFile count in DWORDs; larger requests go in pieces of this size.
constexpr size_t kMaxChunk = 1u << 30;

FileTime FromFileTime(const FILETIME& time) {
  return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME ToFileTime(FileTime time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}

}  // namespace

size_t Win32File::Read(void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    DWORD want = static_cast<DWORD>(std::min(count - done, kMaxChunk));
    DWORD got = 0;
    if (!::ReadFile(file_.Get(), out + done, want, &got, nullptr)) break;
    done += got;
    if (got < want) break;  // end of file
  }
  return done;
}

bool Win32File::Write(const void* data, size_t count) {
  const auto* in = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < count) {
    DWORD want = static_cast<DWORD>(std::min(count - done, kMaxChunk));
    DWORD written = 0;
    if (!::WriteFile(file_.Get(), in + done, want, &written, nullptr) || written != want)
      return false;
    done += written;
  }
  return true;
}

bool Win32File::Seek(uint64_t position) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(position);
  return ::SetFilePointerEx(file_.Get(), distance, nullptr, FILE_BEGIN) != 0;
}

uint64_t Win32File::Size() {
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file_.Get(), &size)) return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

std::optional<std::vector<DirEntry>> Win32Files::List(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  FindHandle find(::FindFirstFileA(pattern.c_str(), &data));
  if (!find) return std::nullopt;
  std::vector<DirEntry> entries;
  do {
    DirEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    entry.lastWrite = FromFileTime(data.ftLastWriteTime);
    entries.push_back(std::move(entry));
  } while (::FindNextFileA(find.Get(), &data));
  return entries;
}

std::optional<uint32_t> Win32Files::GetAttributes(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32Files::SetAttributes(const std::string& path, uint32_t attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Win32Files::DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool Win32Files::CreateDirectory(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32Files::RemoveDirectory(const std::string& path) {
  return ::RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32Files::MoveFile(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32Files::ReplaceFile(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32Files::DeleteAtRestart(const std::string& path) {
  return ::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

std::string Win32Files::LastErrorText() { return ErrorText(::GetLastError()); }

bool Win32Files::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

std::unique_ptr<File> Win32Files::Open(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_ALWAYS;
  switch (mode) {
    case OpenMode::Read:
      access = GENERIC_READ;
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      disposition = OPEN_EXISTING;
      break;
    case OpenMode::Write:
      access = GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
    case OpenMode::ReadWrite:
    case OpenMode::Append:
      break;
  }
  FileHandle file(::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  if (mode == OpenMode::Append) {
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) return nullptr;
  }
  return std::make_unique<Win32File>(std::move(file));
}

std::unique_ptr<MappedFile> Win32Files::MapReadOnly(const std::string& path) {
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0) return nullptr;
  if (static_cast<uint64_t>(size.QuadPart) > SIZE_MAX) return nullptr;
  // The mapping is made of exactly the size taken, so the view holds what Size() says: a
  // file cut shorter in between cannot be mapped read-only at that size (the mapping fails),
  // and one grown longer is mapped as far as the size taken.
  const auto high = static_cast<DWORD>(static_cast<uint64_t>(size.QuadPart) >> 32);
  const auto low = static_cast<DWORD>(size.QuadPart & 0xFFFFFFFF);
  MappingHandle mapping(::CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, high, low, nullptr));
  if (!mapping) return nullptr;
  ViewHandle view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size.QuadPart)));
  if (!view) return nullptr;
  return std::make_unique<Win32MappedFile>(std::move(view), static_cast<size_t>(size.QuadPart));
}

std::optional<FileTime> Win32Files::LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FromFileTime(data.ftLastWriteTime);
}

std::optional<uint32_t> Win32Files::ToLocalDosDateTime(FileTime time) {
  FILETIME utc = ToFileTime(time);
  FILETIME local;
  WORD date = 0, clock = 0;
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToDosDateTime(&local, &date, &clock))
    return std::nullopt;
  return static_cast<uint32_t>(date) << 16 | clock;
}

std::string Win32Files::CurrentDirectory() {
  std::string text(MAX_PATH, '\0');
  for (;;) {
    DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(text.size()), text.data());
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);  // too small: `length` is the size needed with the NUL
  }
}

}  // namespace morvanta::platform::win32
