// One move-only owner for every kind of system handle; each kind brings its deleter.
#pragma once

#include <utility>

#include "platform/win32/win_api.h"

#include <objbase.h>
#include <shtypes.h>
#include <winsvc.h>

namespace morvanta::platform::win32 {

// Deleter: `static T Invalid()` names the empty value, `static void Close(T)` frees one.
template <class T, class Deleter>
class UniqueHandle {
 public:
  UniqueHandle() noexcept : value_(Deleter::Invalid()) {}
  explicit UniqueHandle(T value) noexcept : value_(value) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  T Get() const noexcept { return value_; }
  bool Valid() const noexcept { return value_ != Deleter::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  T Release() noexcept { return std::exchange(value_, Deleter::Invalid()); }
  void Reset(T value = Deleter::Invalid()) noexcept {
    T old = std::exchange(value_, value);
    if (old != Deleter::Invalid()) Deleter::Close(old);
  }
  // For out-parameters: frees the current value and hands out the slot to fill.
  T* Put() noexcept {
    Reset();
    return &value_;
  }

 private:
  T value_;
};

struct KernelHandleDeleter {  // processes, threads, events, mappings: empty is null
  static HANDLE Invalid() noexcept { return nullptr; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleDeleter {  // CreateFile and toolhelp snapshots: empty is INVALID_HANDLE_VALUE
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleDeleter {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct ViewDeleter {
  static const void* Invalid() noexcept { return nullptr; }
  static void Close(const void* view) noexcept { ::UnmapViewOfFile(view); }
};
struct KeyDeleter {
  static HKEY Invalid() noexcept { return nullptr; }
  static void Close(HKEY key) noexcept { ::RegCloseKey(key); }
};
struct ServiceHandleDeleter {
  static SC_HANDLE Invalid() noexcept { return nullptr; }
  static void Close(SC_HANDLE h) noexcept { ::CloseServiceHandle(h); }
};
struct ModuleDeleter {
  static HMODULE Invalid() noexcept { return nullptr; }
  static void Close(HMODULE module) noexcept { ::FreeLibrary(module); }
};
struct LocalMemoryDeleter {  // buffers the system allocates with LocalAlloc
  static char* Invalid() noexcept { return nullptr; }
  static void Close(char* p) noexcept { ::LocalFree(p); }
};
struct PidlDeleter {
  static LPITEMIDLIST Invalid() noexcept { return nullptr; }
  static void Close(LPITEMIDLIST pidl) noexcept { ::CoTaskMemFree(pidl); }
};
template <class Interface>
struct ComDeleter {
  static Interface* Invalid() noexcept { return nullptr; }
  static void Close(Interface* p) noexcept { p->Release(); }
};

using KernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using ProcessHandle = KernelHandle;
using MappingHandle = KernelHandle;
using FileHandle = UniqueHandle<HANDLE, FileHandleDeleter>;
using SnapshotHandle = FileHandle;
using FindHandle = UniqueHandle<HANDLE, FindHandleDeleter>;
using ViewHandle = UniqueHandle<const void*, ViewDeleter>;
using KeyHandle = UniqueHandle<HKEY, KeyDeleter>;
using ServiceHandle = UniqueHandle<SC_HANDLE, ServiceHandleDeleter>;
using ModuleHandle = UniqueHandle<HMODULE, ModuleDeleter>;
using LocalMemory = UniqueHandle<char*, LocalMemoryDeleter>;
using PidlHandle = UniqueHandle<LPITEMIDLIST, PidlDeleter>;
template <class Interface>
using ComPtr = UniqueHandle<Interface*, ComDeleter<Interface>>;

}  // namespace morvanta::platform::win32
