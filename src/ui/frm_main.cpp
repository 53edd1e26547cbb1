// TfrmMain: creation, the tabs and their pages, the message trap, message dispatch, and the
// services and filters tabs.
#include "ui/frm_main.h"
#include "platform/text.h"

#include <commctrl.h>

#include "app/window_components.h"

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

TfrmMain::TfrmMain(HWND owner, app::Session& session)
    : session_(session), prompts_(session.Platform().dialogs, session.Catalog()) {
  WindowArgs args;
  args.caption = "Runtime & Process Manager";
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  prompts_.SetOwner(Handle());
  CreateControls();
  FormCreate();
}

TfrmMain::~TfrmMain() {
  if (legendPicture_) ::DestroyIcon(legendPicture_);
}

void TfrmMain::FormCreate() {
  LoadStartupPrograms();
  ScanKeyboardFilterDriver();
  ScanSystemINI("System.ini");
  ScanSystemINI("Win.ini");
  LoadServices();
}

void TfrmMain::ShowTab(int tab) {
  if (tab < 0 || tab >= kTabCount) return;
  activeTab_ = tab;
  PageControl1.SetSelected(tab);
  for (int i = 0; i < kTabCount; ++i) ::ShowWindow(pages_[i], i == tab ? SW_SHOW : SW_HIDE);
}

bool TfrmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The message trap comes first, so it is in place from creation.
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(wParam, lParam)) {
        result = 0;
        return true;
      }
      return false;
    case kEndApplicationMessage:
      ::PostQuitMessage(0);
      result = 0;
      return true;
    case kReloadIniMessage:
      ScanSystemINI(wParam ? "System.ini" : "Win.ini");
      result = 0;
      return true;
    case kReloadStartupMessage:
      LoadStartupPrograms();
      result = 0;
      return true;
    case kTickChangedMessage:
      OnTickChanged(wParam, static_cast<int>(lParam));
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
  if (header.code == LVN_ITEMCHANGED &&
      (header.hwndFrom == ListView1.Handle() || header.hwndFrom == ListView4.Handle() ||
       header.hwndFrom == ListView5.Handle()))
    return OnCheckChanged(reinterpret_cast<const NMLISTVIEW&>(header));
  if (header.hwndFrom == ListView2.Handle()) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
        ListView2SelectItem();
      return true;
    }
    if (header.code == NM_DBLCLK) {
      ListView2DblClick();
      return true;
    }
  }
  return false;
}

bool TfrmMain::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED || lParam == 0) return false;
  const HWND from = reinterpret_cast<HWND>(lParam);
  if (from == cmdServiceStart.Handle()) cmdServiceStartClick();
  else if (from == cmdServiceStop.Handle()) cmdServiceStopClick();
  else if (from == cmdServiceRestart.Handle()) cmdServiceRestartClick();
  else if (from == cmdServiceChangeStartupMode.Handle()) cmdServiceChangeStartupModeClick();
  else return false;
  return true;
}

bool TfrmMain::OnCheckChanged(const NMLISTVIEW& change) {
  // Act on the state change itself, after the list has toggled the box: a click
  // notification comes before it. Keys are discarded, so what the program does not set, the
  // mouse did.
  const bool checkChanged = (change.uChanged & LVIF_STATE) &&
                            ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                            (change.uOldState & LVIS_STATEIMAGEMASK) != 0;
  if (!checkChanged || settingChecks_ || change.iItem < 0) return false;
  const WPARAM list = change.hdr.hwndFrom == ListView1.Handle()   ? 1
                      : change.hdr.hwndFrom == ListView4.Handle() ? 4
                      : change.hdr.hwndFrom == ListView5.Handle() ? 5
                                                                  : 0;
  if (list) ::PostMessageA(Handle(), kTickChangedMessage, list, change.iItem);
  return true;
}

void TfrmMain::OnTickChanged(WPARAM list, int row) {
  if (list == 1) ListView1MouseUp(row);
  if (list == 4) ListView4MouseUp(row);
  if (list == 5) ListView5MouseUp(row);
}

void TfrmMain::SetCheckQuietly(ListView& list, int row, bool checked) {
  const bool was = settingChecks_;
  settingChecks_ = true;
  list.SetChecked(row, checked);
  settingChecks_ = was;
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
  mnuServiceStartupType.Create();
  const struct {
    const char* name;
    PopupMenu& menu;
    int command;
  } items[] = {{"mnuDel", PopupMenu1, kRemoveCommand},
               {"mnuInf", PopupMenu1, kDetailCommand},
               {"mnuAutomatic", mnuServiceStartupType, kAutomaticCommand},
               {"mnuManual", mnuServiceStartupType, kManualCommand},
               {"mnuDisabled", mnuServiceStartupType, kDisabledCommand}};
  for (const auto& item : items) {
    item.menu.AddItem(item.command, Design(item.name));
    components_.Add(item.name, item.menu, item.command);
  }
  CreateStartupTab(pages_[kStartupTab]);
  CreateServicesTab(pages_[kServicesTab]);
  CreateFiltersTab(pages_[kFiltersTab]);
  ShowTab(kStartupTab);
}

void TfrmMain::CreateServicesTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  r.right = ToDesign(r.right);
  r.bottom = ToDesign(r.bottom);
  const int width = r.right - 16;
  ListView2.Create(page, nextId_++, {8, 8, width, r.bottom - 84},
                   {{"Name", 130}, {"Path", 280}, {"Status", 60}, {"StartupType", 70}}, false,
                   LVS_SORTASCENDING | LVS_SINGLESEL);
  ListView_SetExtendedListViewStyleEx(ListView2.Handle(), LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  ListView2.SetSmallImages(images_.Handle());
  // Image 6 of the list at the list's size; the control keeps its own 16 x 16 size.
  legendIcon_ = ::CreateWindowExA(0, WC_STATICA, "",
                                  WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL,
                                  ToScreen(8), ToScreen(r.bottom - 71), 16, 16, page, nullptr,
                                  nullptr, nullptr);
  legendPicture_ = ::ImageList_GetIcon(images_.Handle(), ImageList::kNonMicrosoftServiceImage,
                                       ILD_NORMAL);
  ::SendMessageA(legendIcon_, STM_SETICON, reinterpret_cast<WPARAM>(legendPicture_), 0);
  AddLabel("legendLabel", legendLabel, page, {30, r.bottom - 70, 300, 18});
  const int y = r.bottom - 40, w = 110, h = 26;
  const struct {
    const char* name;
    Button& button;
  } buttons[] = {{"cmdServiceStart", cmdServiceStart},
                 {"cmdServiceStop", cmdServiceStop},
                 {"cmdServiceRestart", cmdServiceRestart},
                 {"cmdServiceChangeStartupMode", cmdServiceChangeStartupMode}};
  int x = 8;
  for (const auto& b : buttons) {
    b.button.Create(page, nextId_++, Design(b.name), {x, y, w, h});
    components_.Add(b.name, b.button);
    x += w + 6;
  }
  for (Button* b : {&cmdServiceStart, &cmdServiceStop, &cmdServiceRestart,
                    &cmdServiceChangeStartupMode})
    b->Enable(false);
}

void TfrmMain::CreateFiltersTab(HWND page) {
  RECT r = {};
  ::GetClientRect(page, &r);
  r.right = ToDesign(r.right);
  r.bottom = ToDesign(r.bottom);
  const int width = r.right - 16;
  AddLabel("filterLabel", filterLabel, page, {8, 6, 300, 16});
  ListView3.Create(page, nextId_++, {8, 24, width, 110}, {{"Name", 150}, {"Path", 400}}, false,
                   LVS_SINGLESEL);
  ListView3.DiscardKeys();
  AddLabel("filterNote", filterNote, page, {8, 138, width, 32});
  const int half = (width - 8) / 2;
  AddLabel("systemIniLabel", systemIniLabel, page, {8, 176, half, 16});
  AddLabel("winIniLabel", winIniLabel, page, {16 + half, 176, half, 16});
  ListView4.Create(page, nextId_++, {8, 194, half, r.bottom - 194 - 44}, {{"Item", 260}}, true);
  ListView5.Create(page, nextId_++, {16 + half, 194, half, r.bottom - 194 - 44}, {{"Item", 260}},
                   true);
  ListView4.DiscardKeys();
  ListView5.DiscardKeys();
  AddLabel("iniNote", iniNote, page, {8, r.bottom - 38, width, 32});
}

std::string TfrmMain::Design(const std::string& name) const {
  return app::DesignCaption(app::WindowId::ToolWindow, name);
}

void TfrmMain::AddLabel(const std::string& name, Label& label, HWND page, const Rect& r) {
  label.Create(page, Design(name), r);
  components_.Add(name, label);
}

void TfrmMain::RefreshFromMain() {
  LoadStartupPrograms();
  ScanKeyboardFilterDriver();
  ScanSystemINI("System.ini");
  ScanSystemINI("Win.ini");
  ShowServiceRows();
}

// Services tab.

void TfrmMain::LoadServices() {
  Lists().services = inspect::LoadServiceListing(P(), pump_);
  ShowServiceRows();
}

void TfrmMain::SetServiceCells(int item, const inspect::ServiceRow& row) {
  // The failure notice has the same text fixed here as catalogue entry 111 on refresh.
  ListView2.SetSubItemText(item, 1, inspect::PathCellText(row, "Can not get Service List!"));
  ListView2.SetSubItemText(item, 2, inspect::StatusCellText(row));
  ListView2.SetSubItemText(item, 3, inspect::StartTypeCellText(row));
}

void TfrmMain::ShowServiceRows() {
  const inspect::ServiceListing& listing = Lists().services;
  ListView2.Clear();
  for (size_t index = 0; index < listing.rows.size(); ++index) {
    const auto& row = listing.rows[index];
    const int item = ListView2.AddItem(row.displayName, row.nonMicrosoft
                                                            ? ImageList::kNonMicrosoftServiceImage
                                                            : ImageList::kServiceImage);
    // The list sorts its items: the data word leads back to the row.
    ListView2.SetItemData(item, static_cast<LPARAM>(index + 1));
    SetServiceCells(item, row);
  }
  ::EnableWindow(ListView2.Handle(), listing.listEnabled ? TRUE : FALSE);
  ChangeCmdStatus(true, ListView2.SelectedIndex());
}

inspect::ServiceRow* TfrmMain::ServiceRowOf(int item) {
  return ItemOf(ListView2, Lists().services.rows, item);
}

void TfrmMain::ChangeCmdStatus(bool enable, int item) {
  const auto states = inspect::ChangeCmdStatus(enable, ServiceRowOf(item));
  cmdServiceStart.Enable(states.start);
  cmdServiceStop.Enable(states.stop);
  cmdServiceRestart.Enable(states.restart);
  cmdServiceChangeStartupMode.Enable(states.startupMode);
}

void TfrmMain::RunServiceStep(int item, int cell,
                              const std::function<bool(inspect::ServiceRow&)>& op) {
  inspect::ServiceRow* row = ServiceRowOf(item);
  if (!row) return;
  ChangeCmdStatus(false, item);
  ListView2.SetSubItemText(item, cell + 1, "");
  HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  ::EnableWindow(ListView2.Handle(), FALSE);
  ::UpdateWindow(ListView2.Handle());
  op(*row);
  // The row holds its new state on success and its old one on failure.
  SetServiceCells(item, *row);
  ChangeCmdStatus(true, item);
  ::EnableWindow(ListView2.Handle(), TRUE);
  ::SetFocus(ListView2.Handle());
  ::SetCursor(cursor);
}

void TfrmMain::cmdServiceStartClick() {
  RunServiceStep(ListView2.SelectedIndex(), 1, [this](inspect::ServiceRow& row) {
    return inspect::StartServiceRow(P(), row);
  });
}

void TfrmMain::cmdServiceStopClick() {
  RunServiceStep(ListView2.SelectedIndex(), 1, [this](inspect::ServiceRow& row) {
    return inspect::StopServiceRow(P(), row);
  });
}

void TfrmMain::cmdServiceRestartClick() {
  cmdServiceStopClick();
  cmdServiceStartClick();
}

void TfrmMain::cmdServiceChangeStartupModeClick() {
  ::SetFocus(ListView2.Handle());
  POINT at = {};
  ::GetCursorPos(&at);
  switch (mnuServiceStartupType.Track(Handle(), at)) {
    case kAutomaticCommand: mnuServiceStartupTypeClick(platform::StartType::Automatic); break;
    case kManualCommand: mnuServiceStartupTypeClick(platform::StartType::Manual); break;
    case kDisabledCommand: mnuServiceStartupTypeClick(platform::StartType::Disabled); break;
    default: break;
  }
}

void TfrmMain::mnuServiceStartupTypeClick(platform::StartType type) {
  RunServiceStep(ListView2.SelectedIndex(), 2, [this, type](inspect::ServiceRow& row) {
    return inspect::SetStartTypeRow(P(), row, type);
  });
}

void TfrmMain::ListView2DblClick() {
  const inspect::ServiceRow* row = ServiceRowOf(ListView2.SelectedIndex());
  if (!row || !row->IsComplete()) return;
  const std::string image = row->imagePath;
  if (image.find_first_not_of(" \t\r\n") == std::string::npos) return;
  HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  P().shell.ShowProperties(inspect::ServiceImageFile(image, false), Handle());
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < 500) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(10);
  }
  ::SetCursor(cursor);
}

bool TfrmMain::StopServiceByImagePath(const std::string& pathPrefix) {
  if (!inspect::StopServiceByImagePath(P(), Lists().services.rows, pathPrefix, pump_)) return false;
  // Show the stopped row's new status.
  for (int item = 0; item < ListView2.ItemCount(); ++item)
    if (const inspect::ServiceRow* row = ServiceRowOf(item)) SetServiceCells(item, *row);
  return true;
}

// Filters tab.

void TfrmMain::ScanKeyboardFilterDriver() {
  Lists().keyboardFilters = inspect::ListKeyboardFilters(P());
  ListView3.Clear();
  for (const auto& row : Lists().keyboardFilters.rows) {
    const int item = ListView3.AddItem(row.name);
    const std::string path = inspect::FilterPathCellText(row);
    if (!path.empty()) ListView3.SetSubItemText(item, 1, path);
  }
}

void TfrmMain::DelKBf() {
  const auto& filters = Lists().keyboardFilters;
  const int item = ListView3.SelectedIndex();
  if (item < 0 || filters.notice || item >= static_cast<int>(filters.rows.size())) return;
  inspect::KeyboardFilterListing listing = filters;
  inspect::RemoveKeyboardFilter(P(), filters.rows[static_cast<size_t>(item)], prompts_, listing);
  ScanKeyboardFilterDriver();
}

void TfrmMain::ScanSystemINI(const std::string& fileName) {
  auto listing = inspect::ListIniLines(P(), fileName, prompts_);
  if (!listing) return;
  const bool system = platform::EqualsNoCase(fileName, "System.ini");
  ListView& list = system ? ListView4 : ListView5;
  (system ? Lists().systemIni : Lists().winIni) = *listing;
  const bool was = settingChecks_;
  settingChecks_ = true;
  list.Clear();
  list.SetCheckBoxes(!listing->notice);
  for (const auto& row : listing->rows) {
    const int item = list.AddItem(row.line);
    if (!listing->notice) list.SetChecked(item, row.ticked);
  }
  settingChecks_ = was;
}

void TfrmMain::IniMouseUp(const std::string& fileName, ListView& list, inspect::IniListing& rows,
                          int row) {
  if (row < 0 || rows.notice || row >= static_cast<int>(rows.rows.size())) return;
  const inspect::IniRow current = rows.rows[static_cast<size_t>(row)];
  auto changed = inspect::IniLineAfterCheck(current, list.IsChecked(row));
  if (!changed) return;
  list.Select(row);
  inspect::ChangeIniLine(P(), fileName, current.line, *changed, prompts_);
  // The list shows the file as it now is, whatever the rewrite did. Not from inside the
  // list's own notification: the reload waits for the window's next turn.
  ::PostMessageA(Handle(), kReloadIniMessage, fileName == "System.ini" ? 1 : 0, 0);
  ::SetFocus(list.Handle());
}

}  // namespace morvanta::ui
