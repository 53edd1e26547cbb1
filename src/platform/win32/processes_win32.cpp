#include "platform/win32/processes_win32.h"

#include <cstring>

#include "platform/win32/handle.h"

#include <tlhelp32.h>

namespace morvanta::platform::win32 {
namespace {

using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);

template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  FARPROC proc = module ? ::GetProcAddress(module, name) : nullptr;
  // Through the generic function pointer type, which converts to any other silently.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// PSAPI is looked up when first needed and stays loaded for the rest of the run.
struct Psapi {
  ModuleHandle module;
  GetModuleFileNameExFn getModuleFileNameEx = nullptr;
  // Newer systems only; reads the image name from the kernel, so it also answers for a
  // process whose loader has not yet filled in its module list (just started).
  QueryFullProcessImageNameFn queryFullProcessImageName = nullptr;

  Psapi() : module(::LoadLibraryA("PSAPI.dll")) {
    getModuleFileNameEx = LookUp<GetModuleFileNameExFn>(module.Get(), "GetModuleFileNameExA");
    queryFullProcessImageName = LookUp<QueryFullProcessImageNameFn>(
        ::GetModuleHandleA("KERNEL32.dll"), "QueryFullProcessImageNameA");
  }
};

const Psapi& PsapiFunctions() {
  static const Psapi psapi;
  return psapi;
}

}  // namespace

std::optional<std::vector<ProcessEntry>> Win32Processes::Snapshot() {
  SnapshotHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<ProcessEntry> processes;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof(entry);
  if (!::Process32First(snapshot.Get(), &entry)) return processes;
  do {
    ProcessEntry process;
    process.pid = entry.th32ProcessID;
    process.exeName.assign(entry.szExeFile, ::strnlen(entry.szExeFile, sizeof(entry.szExeFile)));
    processes.push_back(std::move(process));
    entry.dwSize = sizeof(entry);
  } while (::Process32Next(snapshot.Get(), &entry));
  return processes;
}

std::optional<std::string> Win32Processes::ImagePath(uint32_t pid) {
  const Psapi& psapi = PsapiFunctions();
  ProcessHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return std::nullopt;
  char path[MAX_PATH] = {};
  if (psapi.getModuleFileNameEx &&
      psapi.getModuleFileNameEx(process.Get(), nullptr, path, MAX_PATH) != 0)
    return std::string(path, ::strnlen(path, MAX_PATH));
  DWORD size = MAX_PATH;
  if (psapi.queryFullProcessImageName &&
      psapi.queryFullProcessImageName(process.Get(), 0, path, &size) && size < MAX_PATH)
    return std::string(path, size);
  return std::nullopt;
}

int Win32Processes::Terminate(uint32_t pid) {
  ProcessHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, pid));
  if (!process) return 0;
  return ::TerminateProcess(process.Get(), 0);
}

std::optional<uint32_t> Win32Processes::Start(const std::string& commandLine) {
  // CreateProcessA may write into the command line, so it gets its own copy.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof(startup));
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof(info));
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
    return std::nullopt;
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);
  return static_cast<uint32_t>(info.dwProcessId);
}

bool Win32Processes::WaitForExit(uint32_t pid, uint32_t milliseconds) {
  ProcessHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!process) return true;  // gone already (or never there)
  return ::WaitForSingleObject(process.Get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace morvanta::platform::win32
