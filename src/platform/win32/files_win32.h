// Files and directories through kernel32.
#pragma once

#include "platform/files.h"
#include "platform/win32/handle.h"

namespace morvanta::platform::win32 {

class Win32File : public File {
 public:
  explicit Win32File(FileHandle file) : file_(std::move(file)) {}

  size_t Read(void* buffer, size_t count) override;
  bool Write(const void* data, size_t count) override;
  bool Seek(uint64_t position) override;
  uint64_t Size() override;

 private:
  FileHandle file_;
};

class Win32MappedFile : public MappedFile {
 public:
  Win32MappedFile(ViewHandle view, size_t size) : view_(std::move(view)), size_(size) {}

  const uint8_t* Data() const override { return static_cast<const uint8_t*>(view_.Get()); }
  size_t Size() const override { return size_; }

 private:
  ViewHandle view_;  // the view keeps the mapping and the file open by itself
  size_t size_;
};

class Win32Files : public Files {
 public:
  std::optional<std::vector<DirEntry>> List(const std::string& pattern) override;
  std::optional<uint32_t> GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  bool DeleteAtRestart(const std::string& path) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  std::unique_ptr<MappedFile> MapReadOnly(const std::string& path) override;
  std::optional<FileTime> LastWriteTime(const std::string& path) override;
  std::optional<uint32_t> ToLocalDosDateTime(FileTime time) override;
  std::string CurrentDirectory() override;
  std::string LastErrorText() override;
};

}  // namespace morvanta::platform::win32
