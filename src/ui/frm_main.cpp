// TfrmMain: creation, the tabs and their pages, the message trap, message dispatch.
#include "ui/frm_main.h"

#include <commctrl.h>

namespace morvanta::ui {
namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

HWND CreatePage(HWND parent, const Rect& r) {
  HWND page = CreateNotebookPage(parent, r);
  // Above the tab control, which is created first.
  ::SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return page;
}

}  // namespace

TfrmMain::TfrmMain(HWND owner, platform::Platform platform) : p_(platform) {
  WindowArgs args;
  args.caption = "Runtime & Process Manager";
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  CreateControls();
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate() {
  // The message trap is OnMessage's first case: it is in place as soon as the window is.
  LoadStartupPrograms();
}

void TfrmMain::ShowTab(int tab) {
  if (tab < 0 || tab >= kTabCount) return;
  activeTab_ = tab;
  PageControl1.SetSelected(tab);
  for (int i = 0; i < kTabCount; ++i) ::ShowWindow(pages_[i], i == tab ? SW_SHOW : SW_HIDE);
}

bool TfrmMain::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case kEndApplicationMessage:
      ::PostQuitMessage(0);
      result = 0;
      return true;
    case WM_NOTIFY:
      if (lParam && OnNotify(*reinterpret_cast<const NMHDR*>(lParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_CONTEXTMENU:
      OnContextMenu(lParam);
      result = 0;
      return true;
  }
  return false;
}

bool TfrmMain::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == PageControl1.Handle() && header.code == TCN_SELCHANGE) {
    ShowTab(PageControl1.Selected());
    return true;
  }
  if (header.hwndFrom == ListView1.Handle() && header.code == NM_CLICK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    ListView1MouseUp(ListView1.ItemAt(click.ptAction));
    return true;
  }
  return false;
}

void TfrmMain::OnContextMenu(LPARAM lParam) {
  POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (lParam == -1) ::GetCursorPos(&at);  // from the keyboard
  PopupMenu1Popup();
  switch (PopupMenu1.Track(Handle(), at)) {
    case kRemoveCommand: mnuDelClick(); break;
    case kDetailCommand: mnuInfClick(); break;
    default: break;
  }
}

void TfrmMain::CreateControls() {
  PageControl1.Create(Handle(), nextId_++, {6, 6, kClientWidth - 12, kClientHeight - 12},
                      {"&Startup Programs", "Services &Manager",
                       "&Keyboard Filter Drivers / Win.ini && System.ini (Special key)"});
  const Rect area = PageControl1.PageArea();
  for (auto& page : pages_) page = CreatePage(Handle(), area);
  images_.Create();
  designImages_ = images_.Count();
  PopupMenu1.Create();
  PopupMenu1.AddItem(kRemoveCommand, "&Remove from Startup List");
  PopupMenu1.AddItem(kDetailCommand, "&Detail Information");
  CreateStartupTab(pages_[kStartupTab]);
  CreateServicesTab(pages_[kServicesTab]);
  CreateFiltersTab(pages_[kFiltersTab]);
  ShowTab(kStartupTab);
}

void TfrmMain::CreateServicesTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  const int width = r.right - 16;
  ListView2.Create(page, nextId_++, {8, 8, width, r.bottom - 84},
                   {{"Name", 130}, {"Path", 280}, {"Status", 60}, {"StartupType", 70}}, false,
                   LVS_SORTASCENDING | LVS_SINGLESEL);
  ListView_SetExtendedListViewStyleEx(ListView2.Handle(), LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  ListView2.SetSmallImages(images_.Handle());
  legendLabel.Create(page, "= Non-Microsoft Service", {30, r.bottom - 70, 300, 18});
  const int y = r.bottom - 40, w = 110, h = 26;
  cmdServiceStart.Create(page, nextId_++, "Start Service", {8, y, w, h});
  cmdServiceStop.Create(page, nextId_++, "Stop Service", {8 + (w + 6), y, w, h});
  cmdServiceRestart.Create(page, nextId_++, "Restart Service", {8 + 2 * (w + 6), y, w, h});
  cmdServiceChangeStartupMode.Create(page, nextId_++, "Startup mode", {8 + 3 * (w + 6), y, w, h});
  for (Button* b : {&cmdServiceStart, &cmdServiceStop, &cmdServiceRestart,
                    &cmdServiceChangeStartupMode})
    b->Enable(false);
}

void TfrmMain::CreateFiltersTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  const int width = r.right - 16;
  filterLabel.Create(page, "Keyboard Filter Driver:", {8, 6, 300, 16});
  ListView3.Create(page, nextId_++, {8, 24, width, 110}, {{"Name", 150}, {"Path", 400}}, false,
                   LVS_SINGLESEL);
  ListView3.DiscardKeys();
  filterNote.Create(page,
                    "NOTE: Some Keyboard Filter Drivers is Parts of Spyware. In Standard Windows "
                    "OS, there is no Keyboard Filter Driver. You should remove all Keyboard "
                    "Filter Drivers in your Computer!",
                    {8, 138, width, 32});
  const int half = (width - 8) / 2;
  systemIniLabel.Create(page, "System.ini:", {8, 176, half, 16});
  winIniLabel.Create(page, "Win.ini:", {16 + half, 176, half, 16});
  ListView4.Create(page, nextId_++, {8, 194, half, r.bottom - 194 - 44}, {{"Item", 260}}, true);
  ListView5.Create(page, nextId_++, {16 + half, 194, half, r.bottom - 194 - 44}, {{"Item", 260}},
                   true);
  ListView4.DiscardKeys();
  ListView5.DiscardKeys();
  iniNote.Create(page,
                 "NOTE: Some Drivers maybe Parts of SpyWare. You should disable all unknown "
                 "Drivers in your Computer!",
                 {8, r.bottom - 38, width, 32});
}

}  // namespace morvanta::ui
