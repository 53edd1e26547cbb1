#include "ui/ignore_list_window.h"

#include <windowsx.h>

namespace morvanta::ui {
namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 400;
constexpr int kMargin = 8, kLabelHeight = 16, kListHeight = 170;
enum { kList1Id = 10, kList2Id };

}  // namespace

TFormIG::TFormIG(app::Session& session, HWND owner)
    : session_(session),
      prompts_(session.Platform().dialogs, session.Catalog()),
      manager_(session, {files_, registry_, prompts_}) {
  WindowArgs args;
  args.caption = kCaption;
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  HWND w = Handle();
  prompts_.SetOwner(w);

  MainMenu1.Create();
  const int files = MainMenu1.AddDropDown("Files");
  MainMenu1.AddItem(files, kDeleteFiles, "Delete file-s from ignore list");
  MainMenu1.AddItem(files, kClearFiles, "Clear file ignore list");
  MainMenu1.AddItem(files, kSelectAll, "Check All");
  MainMenu1.AddItem(files, kDeselectAll, "UnCheck All");
  MainMenu1.AddItem(files, kAddFolder, "Add folder to ignore list");
  const int registry = MainMenu1.AddDropDown("Registry");
  MainMenu1.AddItem(registry, kDeleteValues, "Delete registry values from ignore list");
  MainMenu1.AddItem(registry, kClearValues, "Clear registry ignore list");
  MainMenu1.AddItem(registry, kCheckAll, "Check All");
  MainMenu1.AddItem(registry, kUnCheckAll, "UnCheck All");
  MainMenu1.AddCommand(kClose, "Close");
  MainMenu1.AttachTo(w);
  // The bar takes its height from the client area: give it back.
  RECT frame = {0, 0, ToScreen(kClientWidth), ToScreen(kClientHeight)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongA(w, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(::GetWindowLongA(w, GWL_EXSTYLE)));
  ::SetWindowPos(w, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  PopupMenu1.Create();
  PopupMenu1.AddItem(kDeleteFiles, "Delete file-s from ignore list");
  PopupMenu1.AddItem(kClearFiles, "Clear file ignore list");
  PopupMenu1.AddItem(kSelectAll, "Check All");
  PopupMenu1.AddItem(kDeselectAll, "UnCheck All");

  const int listWidth = kClientWidth - 2 * kMargin;
  int y = kMargin;
  Label1.Create(w, "  File list:", {kMargin, y, listWidth, kLabelHeight});
  y += kLabelHeight + 2;
  // One column as wide as the list, less its scroll bar.
  List1.Create(w, kList1Id, {kMargin, y, listWidth, kListHeight}, {{"", listWidth - 24}}, true,
               LVS_NOCOLUMNHEADER);
  y += kListHeight + kMargin;
  Label2.Create(w, "  Registry list:", {kMargin, y, listWidth, kLabelHeight});
  y += kLabelHeight + 2;
  List2.Create(w, kList2Id, {kMargin, y, listWidth, kListHeight}, {{"", listWidth - 24}}, true,
               LVS_NOCOLUMNHEADER);
  // Shown, but not to be clicked: the window has no way to add a registry entry either.
  Label2.Enable(false);
  List2.Enable(false);

  Folder1.title = "Add folder to ignore list";
  Folder1.start = "C:\\";
  Folder1.helpContext = 1000;
  Folder1.owner = w;

  manager_.FormCreate();
}

void TFormIG::FormShow() { manager_.FormShow(); }

void TFormIG::FormClose() { manager_.FormClose(); }

void TFormIG::Addfoldertoignorelist1Click() {
  manager_.AddFolder(session_.Platform().dialogs.ChooseFolder(Folder1));
}

void TFormIG::Close1Click() {
  FormClose();
  Hide();
}

bool TFormIG::Run(int command) {
  switch (command) {
    case kDeleteFiles: Deletefilesfromignorelist1Click(); break;
    case kClearFiles: Clearfileignorelist1Click(); break;
    case kSelectAll: SelectAll1Click(); break;
    case kDeselectAll: DeselectAll1Click(); break;
    case kAddFolder: Addfoldertoignorelist1Click(); break;
    case kDeleteValues: Deleteregistryvaluesfromignorelist1Click(); break;
    case kClearValues: Clearregistryignorelist1Click(); break;
    case kCheckAll: CheckAll1Click(); break;
    case kUnCheckAll: UnCheckAll1Click(); break;
    case kClose: Close1Click(); break;
    default: return false;
  }
  return true;
}

void TFormIG::OnContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != List1.Handle()) return;
  POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: at the list's corner
    RECT r = {};
    ::GetWindowRect(List1.Handle(), &r);
    at = {r.left + 8, r.top + 8};
  }
  Run(PopupMenu1.Track(Handle(), at));
}

bool TFormIG::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      // Menu items send 0 in the high word; the lists' notifications come as WM_NOTIFY.
      if (HIWORD(wParam) != 0 || lParam != 0) return false;
      if (!Run(LOWORD(wParam))) return false;
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      OnContextMenu(wParam, lParam);
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      // Shown by a call, not brought back with its owner.
      if (wParam && lParam == 0) FormShow();
      return false;
  }
  return false;
}

}  // namespace morvanta::ui
