#include "ui/upgrade_window.h"

#include "app/window_components.h"

namespace morvanta::ui {
namespace {

enum { kCancelId = 10 };

}  // namespace

TForm4::TForm4(app::Session& session, HWND mainWindow)
    : mainWindow_(mainWindow),
      prompts_(session.Platform().dialogs, session.Catalog()),
      upgrade_(session, session.Tasks(), {prompts_, label2Text_, pump_, *this}),
      end_([](int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }) {
  WindowArgs args;
  args.caption = kCaption;
  args.width = 380;
  args.height = 128;
  args.owner = mainWindow;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Create(args);
  prompts_.SetOwner(Handle());
  HWND w = Handle();
  auto design = [](const char* name) { return app::DesignCaption(app::WindowId::Upgrade, name); };
  Label1.Create(w, design("Label1"), {12, 12, 356, 18});
  Label2.Create(w, design("Label2"), {12, 34, 356, 18});
  pb1.Create(w, {12, 58, 356, 20});
  Button1.Create(w, kCancelId, design("Button1"), {268, 90, 100, 26});
  components_.Add("Label1", Label1);
  components_.Add("Label2", Label2);
  components_.Add("Button1", Button1);
}

void TForm4::StartUpgrade(const std::string& label1) {
  Label1.SetText(label1);
  pb1.SetPosition(0);
  upgrade_.Start();
  Show();
  SetMainEnabled(false);
}

void TForm4::Button1Click() {
  if (upgrade_.CloseQuery()) CloseWindow();
}

void TForm4::CloseWindow() {
  Hide();
  SetMainEnabled(true);
}

bool TForm4::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && LOWORD(wParam) == kCancelId && HIWORD(wParam) == BN_CLICKED) {
    Button1Click();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace morvanta::ui
