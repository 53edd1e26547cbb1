#include "ui/report_manager_window.h"

#include <commctrl.h>
#include <windowsx.h>

namespace morvanta::ui {
namespace {

enum { kListId = 10, kRefreshId, kDeleteId, kSaveReportId };
constexpr int kClientWidth = 640, kClientHeight = 440;
// Posted by a click in the table: its tick changes only after the click's notification.
constexpr UINT kClickedMessage = WM_APP + 1;

constexpr COLORREF kTickedBackground = RGB(255, 255, 0);

COLORREF TextColourOf(runs::CellText text) {
  switch (text) {
    case runs::CellText::EmptyFile: return RGB(255, 0, 0);
    case runs::CellText::MissingFile: return RGB(0, 0, 255);
    case runs::CellText::Normal: break;
  }
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

}  // namespace

TFormR::TFormR(app::Session& session, HWND owner, std::function<void()> showLogOptimizer)
    : session_(session),
      showLogOptimizer_(std::move(showLogOptimizer)),
      prompts_(session.Platform().dialogs, session.Catalog()),
      manager_(session, {rows_, prompts_, pump_}) {
  WindowArgs args;
  args.caption = kCaption;
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  HWND w = Handle();
  prompts_.SetOwner(w);

  List1.Create(w, kListId, {8, 8, kClientWidth - 16, kClientHeight - 56},
               {{"ID", 80}, {"FileName", 330}, {"File Size", 70}, {"Key", 300}}, true,
               LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  ListView_SetExtendedListViewStyleEx(List1.Handle(), LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT,
                                      LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);
  const int y = kClientHeight - 38, h = 28;
  xpButton1.Create(w, kRefreshId, "Refresh", {8, y, 130, h});
  xpButton2.Create(w, kDeleteId, "Delete selected", {146, y, 130, h});
  xpButton3.Create(w, kSaveReportId, "Save full report log", {kClientWidth - 178, y, 170, h});

  GeneralMenu.Create();
  GeneralMenu.AddItem(kDeleteFiles, "Delete files");
  ProcessMenu.Create();
  ProcessMenu.AddItem(kTerminateProcesses, "Terminate proceses");
  ProcessMenu.AddItem(kDeleteProcesses, "Delete proceses");
  StartupValueMenu.Create();
  StartupValueMenu.AddItem(kDeleteValues, "Delete values");
  StartupValueMenu.AddItem(kDeleteValueFiles, "Delete files");
  ServiceMenu.Create();
  ServiceMenu.AddItem(kTerminateService, "Terminate service");
  ServiceMenu.AddItem(kDeleteServiceFile, "Delete file");
}

PopupMenu& TFormR::MenuOf(runs::ReportMenu menu) {
  switch (menu) {
    case runs::ReportMenu::Process: return ProcessMenu;
    case runs::ReportMenu::StartupValue: return StartupValueMenu;
    case runs::ReportMenu::Service: return ServiceMenu;
    case runs::ReportMenu::General: break;
  }
  return GeneralMenu;
}

bool TFormR::Run(int command) {
  switch (command) {
    case kDeleteFiles: manager_.DeleteSelected(); break;
    case kTerminateProcesses: manager_.TerminateProcesses(); break;
    case kDeleteProcesses: manager_.DeleteProcesses(); break;
    case kDeleteValues: manager_.DeleteValues(); break;
    case kDeleteValueFiles: manager_.DeleteFiles(); break;
    case kTerminateService: manager_.TerminateService(); break;
    case kDeleteServiceFile: manager_.DeleteServiceFile(); break;
    default: return false;
  }
  return true;
}

void TFormR::OnContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != List1.Handle()) return;
  POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (at.x == -1 && at.y == -1) {
    RECT r = {};
    ::GetWindowRect(List1.Handle(), &r);
    at = {r.left + 8, r.top + 8};
  }
  Run(MenuOf(menu_).Track(Handle(), at));
}

bool TFormR::OnListNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && change.iItem >= 0 &&
          ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
        List1SelectItem(change.iItem);
      if ((change.uChanged & LVIF_STATE) && change.iItem >= 0 &&
          ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK))
        ::InvalidateRect(List1.Handle(), nullptr, FALSE);  // the tick's colour
      return false;
    }
    case NM_CLICK:
      ::PostMessageA(Handle(), kClickedMessage, 0, 0);
      return false;
    case NM_CUSTOMDRAW: {
      auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
      const DWORD stage = draw.nmcd.dwDrawStage;
      if (stage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
        return true;
      }
      if (stage == CDDS_ITEMPREPAINT || stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        // The item's stage stands for its first cell (some list views draw that cell with
        // the item's colours, whatever its own stage set); each cell's stage then sets its
        // own. Both colours every time, for every cell: the structure carries what one cell
        // was given on to the cells after it (and on some systems to the next row's first).
        const int column = (stage & CDDS_SUBITEM) ? draw.iSubItem : runs::kKindColumn;
        PaintCell(draw, static_cast<int>(draw.nmcd.dwItemSpec), column);
        result = stage == CDDS_ITEMPREPAINT ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
        return true;
      }
      return false;
    }
  }
  return false;
}

void TFormR::PaintCell(NMLVCUSTOMDRAW& draw, int item, int column) {
  draw.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
  draw.clrTextBk = ::GetSysColor(COLOR_WINDOW);
  const runs::ReportRow* row = manager_.RowAt(item);
  if (!row) return;
  platform::Files& files = session_.Platform().files;
  const bool ticked = List1.IsChecked(item);
  const runs::CellColours colours = runs::ColoursOf(files, *row, ticked, column);
  draw.clrText = TextColourOf(colours.text);
  if (colours.yellow) draw.clrTextBk = kTickedBackground;
  // A selected row that the rules colour keeps its colours rather than the selection's,
  // in every cell alike.
  if (ticked || runs::ColoursOf(files, *row, ticked, runs::kSizeColumn).text != runs::CellText::Normal)
    draw.nmcd.uItemState &= ~CDIS_SELECTED;
}

bool TFormR::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        switch (LOWORD(wParam)) {
          case kRefreshId: xpButton1Click(); break;
          case kDeleteId: xpButton2Click(); break;
          case kSaveReportId: xpButton3Click(); break;
          default: return false;
        }
        result = 0;
        return true;
      }
      if (HIWORD(wParam) == 0 && lParam == 0 && Run(LOWORD(wParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header && header->hwndFrom == List1.Handle() && OnListNotify(*header, result);
    }
    case kClickedMessage:
      List1Click();
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      OnContextMenu(wParam, lParam);
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wParam && lParam == 0) FormShow();
      return false;
  }
  return false;
}

}  // namespace morvanta::ui
