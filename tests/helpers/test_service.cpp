// Test helper: the smallest own-process service. It starts, runs until asked to stop, and
// stops. The service name comes from the arguments the manager passes (or the command line).
#include <cstdio>
#include <string>

#include "platform/win32/handle.h"

namespace {

using morvanta::platform::win32::KernelHandle;

std::string g_name;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;  // owned by the manager, never closed
KernelHandle g_stopEvent;
DWORD g_checkPoint = 0;

void Report(DWORD state, DWORD waitHint = 0) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWin32ExitCode = NO_ERROR;
  bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
  status.dwCheckPoint = pending ? ++g_checkPoint : 0;
  status.dwWaitHint = waitHint;
  ::SetServiceStatus(g_statusHandle, &status);
}

void WINAPI Control(DWORD control) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING, 2000);
    ::SetEvent(g_stopEvent.Get());
  }
}

void WINAPI ServiceMain(DWORD argc, char** argv) {
  if (argc > 0 && argv[0] && argv[0][0]) g_name = argv[0];
  g_statusHandle = ::RegisterServiceCtrlHandlerA(g_name.c_str(), Control);
  if (!g_statusHandle) return;
  Report(SERVICE_START_PENDING, 2000);
  g_stopEvent.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!g_stopEvent) {
    Report(SERVICE_STOPPED);
    return;
  }
  Report(SERVICE_RUNNING);
  ::WaitForSingleObject(g_stopEvent.Get(), INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) g_name = argv[1];
  // An own-process service may register under the empty name.
  char emptyName[] = "";
  SERVICE_TABLE_ENTRYA table[] = {{emptyName, ServiceMain}, {nullptr, nullptr}};
  if (!::StartServiceCtrlDispatcherA(table)) {
    std::fprintf(stderr, "test_service: not started by the service manager (error %lu)\n",
                 ::GetLastError());
    return 1;
  }
  return 0;
}
