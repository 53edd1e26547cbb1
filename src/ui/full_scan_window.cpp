#include "ui/full_scan_window.h"

#include <commctrl.h>

#include "app/window_components.h"
#include "runs/full_drive_scan.h"
#include "ui/main_window.h"

namespace morvanta::ui {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;  // the scan starts a second after the window closed
enum { kListId = 10, kScanId, kRefreshId, kAbortId };
// Posted when a tick changed: the list tells of the change before it reads as changed.
constexpr UINT kTicksChangedMessage = WM_APP + 1;

}  // namespace

TForm3::TForm3(app::Session& session, TForm1& main) : session_(session), main_(main) {
  WindowArgs args;
  args.caption = "Full scan process!";
  args.width = 420;
  args.height = 290;
  args.owner = main.Handle();
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Create(args);
  HWND w = Handle();
  auto design = [](const char* name) { return app::DesignCaption(app::WindowId::FullScan, name); };
  GroupBox group;
  group.Create(w, "Please select drives for full scan:", {10, 8, 400, 122});
  cList1.Create(w, kListId, {22, 30, 376, 88}, {{"", 352}}, true, LVS_NOCOLUMNHEADER);
  Label1.Create(w, design("Label1"), {10, 138, 400, 18}, SS_NOPREFIX);
  Memo1.Create(w, 0, {10, 160, 400, 84});
  xpButton1.Create(w, kScanId, design("xpButton1"), {10, 254, 126, 26});
  xpButton2.Create(w, kRefreshId, design("xpButton2"), {147, 254, 126, 26});
  xpButton3.Create(w, kAbortId, design("xpButton3"), {284, 254, 126, 26});
  components_.Add("xpButton1", xpButton1);
  components_.Add("xpButton2", xpButton2);
  components_.Add("xpButton3", xpButton3);
  components_.Add("Label1", Label1);
}

void TForm3::FormShow() {
  driveDialogAborted_ = false;
  closingForFix_ = false;
  main_.Enable(false);
  dsButton2Click();
  Memo1.SetText(session_.Catalog().Text(common::Msg::FullScanPrompt));
}

void TForm3::dsButton2Click() {
  const std::string fixed =
      runs::ListDrives(session_.Platform(), -1, platform::DriveType::Fixed);
  fillingList_ = true;
  cList1.Clear();
  for (const std::string& root : runs::SplitDrives(fixed)) cList1.SetChecked(cList1.AddItem(root), true);
  fillingList_ = false;
  selectedDrives_ = fixed;
  ShowSelection();
}

void TForm3::cList1ClickCheck() {
  selectedDrives_.clear();
  for (int i = 0; i < cList1.ItemCount(); ++i)
    if (cList1.IsChecked(i)) selectedDrives_ += cList1.ItemText(i) + ";";
  ShowSelection();
}

void TForm3::ShowSelection() {
  Label1.SetText(session_.Catalog().Text(common::Msg::ScanDrives) + selectedDrives_);
}

void TForm3::xpButton1Click() {
  StartTimer();
  Close();
}

void TForm3::Timer1Timer() {
  StopTimer();
  if (driveDialogAborted_) return;
  session_.Abort().Clear();
  main_.RunFullDriveScan(selectedDrives_);
}

void TForm3::xpButton3Click() {
  driveDialogAborted_ = true;
  StopTimer();
  Close();
}

void TForm3::Close() {
  if (!IsVisible()) return;
  // The owner first, so that it, not another program, becomes the active window.
  main_.Enable(true);
  Hide();
  FormClose();
}

void TForm3::FormClose() {
  main_.Enable(true);
  if (driveDialogAborted_ && !closingForFix_) {
    switch (main_.AbortFullScan()) {
      case runs::AbortChoice::ScanAnyway:
        driveDialogAborted_ = false;
        StartTimer();
        break;
      case runs::AbortChoice::Fix:
        closingForFix_ = true;
        main_.FixAlerts();
        break;
      case runs::AbortChoice::Back:
        break;
    }
  }
  main_.Enable(true);
}

void TForm3::StartTimer() {
  ::SetTimer(Handle(), kTimer1, kTimer1Interval, nullptr);
  timerRunning_ = true;
}

void TForm3::StopTimer() {
  ::KillTimer(Handle(), kTimer1);
  timerRunning_ = false;
}

bool TForm3::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == kScanId) xpButton1Click();
      if (LOWORD(wParam) == kRefreshId) dsButton2Click();
      if (LOWORD(wParam) == kAbortId) xpButton3Click();
      result = 0;
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->hwndFrom != cList1.Handle() || header->code != LVN_ITEMCHANGED)
        return false;
      const auto& change = *reinterpret_cast<const NMLISTVIEW*>(lParam);
      const bool checkChanged = (change.uChanged & LVIF_STATE) &&
                                ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                                (change.uOldState & LVIS_STATEIMAGEMASK) != 0;
      if (checkChanged && !fillingList_) ::PostMessageA(Handle(), kTicksChangedMessage, 0, 0);
      result = 0;
      return true;
    }
    case kTicksChangedMessage:
      cList1ClickCheck();
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      return false;
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      result = 0;
      return true;
  }
  return false;
}

}  // namespace morvanta::ui
