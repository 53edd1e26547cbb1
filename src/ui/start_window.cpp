#include "ui/start_window.h"

#include "platform/win32/win_api.h"

#include <commctrl.h>

#include "app/machine_summary.h"

namespace morvanta::ui {
namespace {

constexpr char kClassName[] = "MorvantaStartWindow";

struct State {
  platform::Platform* platform = nullptr;
  HWND list = nullptr;
};

void AddColumn(HWND list, int index, const char* caption, int width) {
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(caption);
  column.cx = width;
  ListView_InsertColumn(list, index, &column);
}

void Fill(State& state) {
  ListView_DeleteAllItems(state.list);
  int row = 0;
  for (const auto& [label, value] : app::DescribeMachine(*state.platform)) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(label.c_str());
    ListView_InsertItem(state.list, &item);
    ListView_SetItemText(state.list, row, 1, const_cast<char*>(value.c_str()));
    ++row;
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<State*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  try {
    switch (message) {
      case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
      }
      case WM_CREATE:
        state->list = ::CreateWindowExA(
            0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_NOSORTHEADER,
            8, 8, 600, 320, window, nullptr, nullptr, nullptr);
        ListView_SetExtendedListViewStyle(state->list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        AddColumn(state->list, 0, "Item", 150);
        AddColumn(state->list, 1, "Value", 430);
        Fill(*state);
        return 0;
      case WM_SIZE:
        if (state && state->list)
          ::MoveWindow(state->list, 8, 8, LOWORD(lParam) - 16, HIWORD(lParam) - 16, TRUE);
        return 0;
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
  } catch (...) {
    // Nothing escapes into Windows; the window simply keeps what it shows.
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunStartWindow(platform::Platform p) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExA(&wc);
  State state;
  state.platform = &p;
  HWND window = ::CreateWindowExA(0, kClassName, "Morvanta Pro - SE",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640, 380, nullptr,
                                  nullptr, instance, &state);
  if (!window) return 1;
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace morvanta::ui
