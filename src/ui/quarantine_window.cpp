#include "ui/quarantine_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/window_components.h"

namespace morvanta::ui {
namespace {

constexpr int kClientWidth = 720;
constexpr int kClientHeight = 374;
constexpr int kMargin = 8;
constexpr int kButtonTop = 316, kButtonHeight = 26, kButtonGap = 6;
constexpr int kNarrowestButton = 80, kButtonPadding = 24;
enum { kListId = 10, kCloseId, kRestoreId, kAddId, kRemoveId, kClearId, kRefreshId };

// How wide a caption is drawn in the controls' font, in design pixels.
int CaptionWidth(HWND window, const std::string& text) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, DefaultFont());
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return ToDesign(size.cx);
}

}  // namespace

TForm9::TForm9(app::Session& session, HWND owner)
    : session_(session),
      prompts_(session.Platform().dialogs, session.Catalog()),
      manager_(session, {rows_, barText_, prompts_, pump_}) {
  WindowArgs args;
  args.caption = "Quarantine Manager";
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  HWND w = Handle();
  prompts_.SetOwner(w);
  Open1.title = "Add task into Quaranteen";
  Open1.owner = w;

  // Room for a threat's name and the short date with the long time beside a scroll bar;
  // the path takes the rest.
  List1.Create(w, kListId, {kMargin, kMargin, kClientWidth - 2 * kMargin, 300},
               {{"Filename", 360}, {"Task", 170}, {"Added", 150}}, true);
  // Left to right, which is the order Tab takes too: what acts on the rows first, "Close"
  // on its own at the right. Each is as wide as its caption needs in the system's font.
  struct Place {
    Button& button;
    int id;
    const char* name;
  } places[] = {
      {xpButton2, kRestoreId, "xpButton2"}, {xpButton4, kRemoveId, "xpButton4"},
      {xpButton5, kClearId, "xpButton5"},   {xpButton3, kAddId, "xpButton3"},
      {xpButton6, kRefreshId, "xpButton6"}, {xpButton1, kCloseId, "xpButton1"},
  };
  int x = kMargin;
  for (const Place& p : places) {
    const std::string caption = app::DesignCaption(app::WindowId::QuarantineManager, p.name);
    const int width = std::max(kNarrowestButton, CaptionWidth(w, caption) + kButtonPadding);
    if (p.id == kCloseId) x = kClientWidth - kMargin - width;
    p.button.Create(w, p.id, caption, {x, kButtonTop, width, kButtonHeight});
    x += width + kButtonGap;
  }
  // A language file takes them in the table's order.
  components_.Add("xpButton1", xpButton1);
  components_.Add("xpButton2", xpButton2);
  components_.Add("xpButton3", xpButton3);
  components_.Add("xpButton4", xpButton4);
  components_.Add("xpButton5", xpButton5);
  components_.Add("xpButton6", xpButton6);
  Bar1.Create(w, {0});
}

void TForm9::FormShow() { RefreshList(); }

void TForm9::RefreshList() { manager_.RefreshList(); }

void TForm9::xpButton1Click() { Hide(); }

void TForm9::xpButton2Click() {
  EnableActions(false);
  manager_.RestoreSelectedTasks();
  EnableActions(true);
}

void TForm9::xpButton3Click() {
  if (manager_.Running()) return;
  const auto chosen = session_.Platform().dialogs.ChooseFileToOpen(Open1);
  EnableActions(false);
  manager_.AddTask(chosen);
  EnableActions(true);
}

void TForm9::xpButton4Click() {
  EnableActions(false);
  manager_.RemoveSelectedTasks();
  EnableActions(true);
}

void TForm9::xpButton5Click() { manager_.ClearQuarantine(); }

void TForm9::EnableActions(bool enabled) {
  for (Button* b : {&xpButton2, &xpButton3, &xpButton4, &xpButton5, &xpButton6}) b->Enable(enabled);
}

bool TForm9::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      switch (LOWORD(wParam)) {
        case kCloseId: xpButton1Click(); break;
        case kRestoreId: xpButton2Click(); break;
        case kAddId: xpButton3Click(); break;
        case kRemoveId: xpButton4Click(); break;
        case kClearId: xpButton5Click(); break;
        case kRefreshId: xpButton6Click(); break;
        default: return false;
      }
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
