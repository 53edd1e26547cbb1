#include "ui/action_chooser.h"

#include "app/settings.h"
#include "app/window_components.h"
#include "ui/main_window.h"

namespace morvanta::ui {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;
enum { kScanId = 10, kReportId, kCloseId, kShowAgainId };

}  // namespace

TForm2::TForm2(TForm1& main, platform::Registry& registry) : main_(main), registry_(registry) {
  WindowArgs args;
  args.caption = "Select your action";
  args.width = 320;
  args.height = 200;
  args.owner = main.Handle();
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Create(args);
  HWND w = Handle();
  auto design = [](const char* name) { return app::DesignCaption(app::WindowId::Chooser, name); };
  titleLabel.Create(w, design("titleLabel"), {12, 8, 296, 18});
  GroupBox group;
  group.Create(w, "Please Select your action:", {10, 30, 300, 86});
  scanButton.Create(w, kScanId, design("scanButton"), {24, 52, 272, 26});
  reportButton.Create(w, kReportId, design("reportButton"), {24, 82, 272, 26});
  c1.Create(w, kShowAgainId, design("c1"), {12, 128, 296, 20});
  c1.SetChecked(true);
  closeButton.Create(w, kCloseId, design("closeButton"), {176, 160, 134, 24});
  components_.Add("titleLabel", titleLabel);
  components_.Add("scanButton", scanButton);
  components_.Add("reportButton", reportButton);
  components_.Add("c1", c1);
  components_.Add("closeButton", closeButton);
  if (auto show = app::ReadShowChooser(registry_)) c1.SetChecked(*show);
}

void TForm2::EnableTimer() { ::SetTimer(Handle(), kTimer1, kTimer1Interval, nullptr); }

void TForm2::Timer1Timer() {
  ::KillTimer(Handle(), kTimer1);
  Show();
}

void TForm2::ScanClick() {
  FormClose();
  main_.Button4Click();
}

void TForm2::ReportClick() {
  main_.Button10Click();
  FormClose();
}

void TForm2::FormShow() { main_.Enable(false); }

void TForm2::FormClose() {
  if (!IsVisible()) return;
  Hide();
  main_.Enable(true);
  app::WriteShowChooser(registry_, c1.IsChecked());
}

bool TForm2::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == kScanId) ScanClick();
      if (LOWORD(wParam) == kReportId) ReportClick();
      if (LOWORD(wParam) == kCloseId) CloseClick();
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      return false;
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      return true;
  }
  return false;
}

}  // namespace morvanta::ui
