#include "platform/win32/services_win32.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/handle.h"

namespace morvanta::platform::win32 {
namespace {

// Each operation asks only for the manager rights it needs, so that the read-only ones
// also work without administrator rights.
ServiceHandle OpenManager(DWORD access) {
  return ServiceHandle(::OpenSCManagerA(nullptr, nullptr, access));
}

ServiceHandle OpenNamedService(const std::string& keyName, DWORD access) {
  ServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return ServiceHandle();
  return ServiceHandle(::OpenServiceA(manager.Get(), keyName.c_str(), access));
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

// 8-byte aligned storage for the records the manager writes.
std::vector<uint64_t> AlignedBuffer(size_t bytes) { return std::vector<uint64_t>((bytes + 7) / 8); }

}  // namespace

std::optional<std::vector<ServiceListEntry>> Win32Services::List(size_t bufferBytes) {
  ServiceHandle manager = OpenManager(SC_MANAGER_ENUMERATE_SERVICE);
  if (!manager) return std::nullopt;
  DWORD size = static_cast<DWORD>(std::min<size_t>(bufferBytes, 0xFFFFFFF0u));
  std::vector<uint64_t> buffer = AlignedBuffer(std::max<DWORD>(size, 1));
  auto* records = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
  DWORD needed = 0, returned = 0, resume = 0;
  // One call only: with a short buffer the entries that fit are listed and the rest left out.
  ::EnumServicesStatusA(manager.Get(), SERVICE_WIN32, SERVICE_STATE_ALL, records, size, &needed,
                        &returned, &resume);
  std::vector<ServiceListEntry> services;
  for (DWORD i = 0; i < returned; ++i) {
    // Wine can report more records than it filled when the names run out of room; the
    // unfilled ones have no names and are the ones that did not fit.
    if (!records[i].lpServiceName || !records[i].lpDisplayName) break;
    ServiceListEntry entry;
    entry.keyName = Text(records[i].lpServiceName);
    entry.displayName = Text(records[i].lpDisplayName);
    entry.state = static_cast<ServiceState>(records[i].ServiceStatus.dwCurrentState);
    services.push_back(std::move(entry));
  }
  return services;
}

std::string Win32Services::KeyNameOf(const std::string& displayName) {
  ServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return {};
  char name[256] = {};
  DWORD size = 255;
  if (!::GetServiceKeyNameA(manager.Get(), displayName.c_str(), name, &size)) return {};
  return std::string(name, ::strnlen(name, sizeof(name)));
}

ConfigQuery Win32Services::QueryConfig(const std::string& keyName) {
  ConfigQuery query;
  ServiceHandle service =
      OpenNamedService(keyName, SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
  if (!service) {
    query.error = ConfigQueryError::CannotOpen;
    return query;
  }
  DWORD needed = 0;
  if (::QueryServiceConfigA(service.Get(), nullptr, 0, &needed) ||
      ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    query.error = ConfigQueryError::CannotGetSize;
    return query;
  }
  DWORD size = needed + 1;
  std::vector<uint64_t> buffer = AlignedBuffer(size);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  if (!::QueryServiceConfigA(service.Get(), config, size, &needed)) {
    query.error = ConfigQueryError::CannotQuery;
    return query;
  }
  ServiceConfig result;
  result.binaryPath = Text(config->lpBinaryPathName);
  result.startType = static_cast<StartType>(config->dwStartType);
  result.displayName = Text(config->lpDisplayName);
  query.config = std::move(result);
  return query;
}

std::optional<ServiceStatus> Win32Services::QueryStatus(const std::string& keyName) {
  ServiceHandle service = OpenNamedService(keyName, SERVICE_QUERY_STATUS);
  if (!service) return std::nullopt;
  SERVICE_STATUS status;
  if (!::QueryServiceStatus(service.Get(), &status)) return std::nullopt;
  ServiceStatus result;
  result.state = static_cast<ServiceState>(status.dwCurrentState);
  result.checkPoint = status.dwCheckPoint;
  result.waitHint = status.dwWaitHint;
  return result;
}

bool Win32Services::RequestStart(const std::string& keyName) {
  ServiceHandle service = OpenNamedService(keyName, SERVICE_START | SERVICE_QUERY_STATUS);
  return service && ::StartServiceA(service.Get(), 0, nullptr);
}

bool Win32Services::RequestStop(const std::string& keyName) {
  ServiceHandle service = OpenNamedService(keyName, SERVICE_STOP | SERVICE_QUERY_STATUS);
  SERVICE_STATUS status;
  return service && ::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
}

bool Win32Services::ChangeStartType(const std::string& keyName, StartType type) {
  ServiceHandle service = OpenNamedService(keyName, SERVICE_CHANGE_CONFIG);
  return service && ::ChangeServiceConfigA(service.Get(), SERVICE_NO_CHANGE,
                                           static_cast<DWORD>(type), SERVICE_NO_CHANGE, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

bool Win32Services::Create(const NewService& service) {
  ServiceHandle manager = OpenManager(SC_MANAGER_CREATE_SERVICE);
  if (!manager) return false;
  ServiceHandle created(::CreateServiceA(
      manager.Get(), service.keyName.c_str(), service.displayName.c_str(), SERVICE_QUERY_STATUS,
      SERVICE_WIN32_OWN_PROCESS, static_cast<DWORD>(service.startType), SERVICE_ERROR_NORMAL,
      service.binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  return created.Valid();
}

bool Win32Services::Delete(const std::string& keyName) {
  ServiceHandle service = OpenNamedService(keyName, DELETE);
  return service && ::DeleteService(service.Get());
}

}  // namespace morvanta::platform::win32
