// TfrmMain: creation, the tabs and their pages, the message trap, message dispatch, and the
// services and filters tabs.
#include "ui/frm_main.h"
#include "platform/text.h"

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
  if (header.hwndFrom == ListView4.Handle() && header.code == NM_CLICK) {
    ListView4MouseUp(ListView4.ItemAt(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction));
    return true;
  }
  if (header.hwndFrom == ListView5.Handle() && header.code == NM_CLICK) {
    ListView5MouseUp(ListView5.ItemAt(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction));
    return true;
  }
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
  mnuServiceStartupType.Create();
  mnuServiceStartupType.AddItem(kAutomaticCommand, "&Automatic");
  mnuServiceStartupType.AddItem(kManualCommand, "&Manual");
  mnuServiceStartupType.AddItem(kDisabledCommand, "&Disabled");
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
  legendIcon_ = ::CreateWindowExA(0, WC_STATICA, "", WS_CHILD | WS_VISIBLE | SS_ICON, 8,
                                  r.bottom - 71, 16, 16, page, nullptr, nullptr, nullptr);
  // The same shared system picture as image 6 of the list; shared icons are never freed.
  ::SendMessageA(legendIcon_, STM_SETICON,
                 reinterpret_cast<WPARAM>(::LoadIcon(nullptr, IDI_WARNING)), 0);
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

void TfrmMain::RefreshFromMain(const inspect::ServiceListing& services) {
  LoadStartupPrograms();
  ScanKeyboardFilterDriver();
  ScanSystemINI("System.ini");
  ScanSystemINI("Win.ini");
  ShowServiceRows(services);
}

inspect::InventorySources TfrmMain::InventorySourcesWith(
    const std::vector<inspect::StartupF>& startupValues,
    const std::vector<inspect::ServiceRow>& mainServiceRows) const {
  inspect::InventorySources sources;
  sources.startupValues = startupValues;
  for (const auto& row : folderRows_) sources.startupFolderTargets.push_back(row.target);
  for (const auto& row : mainServiceRows) sources.serviceImagePaths.push_back(row.SubItem(0));
  if (!systemIniRows_.notice)
    for (const auto& row : systemIniRows_.rows) sources.systemIniLines.push_back(row.line);
  return sources;
}

// Services tab.

void TfrmMain::LoadServices() {
  // The same text as catalogue entry 111, fixed at creation.
  ShowServiceRows(inspect::LoadServiceListing(p_, "Can not get Service List!"));
}

void TfrmMain::ShowServiceRows(const inspect::ServiceListing& listing) {
  ListView2.Clear();
  serviceRows_ = listing.rows;
  for (size_t index = 0; index < serviceRows_.size(); ++index) {
    const auto& row = serviceRows_[index];
    const int item = ListView2.AddItem(row.caption, row.nonMicrosoft
                                                        ? ImageList::kNonMicrosoftServiceImage
                                                        : ImageList::kServiceImage);
    // The key name (sub-item 3) has no column: the row's data word leads to the row.
    ListView2.SetItemData(item, static_cast<LPARAM>(index + 1));
    for (size_t i = 0; i < row.subItems.size() && i < 3; ++i)
      ListView2.SetSubItemText(item, static_cast<int>(i) + 1, row.subItems[i]);
  }
  ::EnableWindow(ListView2.Handle(), listing.listEnabled ? TRUE : FALSE);
  ChangeCmdStatus(true, ListView2.SelectedIndex());
}

int TfrmMain::ServiceRowIndex(int item) const {
  if (item < 0 || item >= ListView2.ItemCount()) return -1;
  const LPARAM data = ListView2.ItemData(item);
  if (data < 1 || static_cast<size_t>(data) > serviceRows_.size()) return -1;
  return static_cast<int>(data - 1);
}

std::vector<inspect::ServiceRow> TfrmMain::ServiceRows() const {
  std::vector<inspect::ServiceRow> rows;
  for (int item = 0; item < ListView2.ItemCount(); ++item) {
    const int index = ServiceRowIndex(item);
    if (index >= 0) rows.push_back(serviceRows_[static_cast<size_t>(index)]);
  }
  return rows;
}

void TfrmMain::ChangeCmdStatus(bool enable, int item) {
  const int index = ServiceRowIndex(item);
  const auto states = inspect::ChangeCmdStatus(
      enable, index < 0 ? nullptr : &serviceRows_[static_cast<size_t>(index)]);
  cmdServiceStart.Enable(states.start);
  cmdServiceStop.Enable(states.stop);
  cmdServiceRestart.Enable(states.restart);
  cmdServiceChangeStartupMode.Enable(states.startupMode);
}

void TfrmMain::RunServiceStep(int item, int cell,
                              const std::function<bool(inspect::ServiceRow&)>& op) {
  const int index = ServiceRowIndex(item);
  if (index < 0) return;
  inspect::ServiceRow& row = serviceRows_[static_cast<size_t>(index)];
  ChangeCmdStatus(false, item);
  const std::string remembered = row.SubItem(static_cast<size_t>(cell));
  ListView2.SetSubItemText(item, cell + 1, "");
  HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  ::EnableWindow(ListView2.Handle(), FALSE);
  ::UpdateWindow(ListView2.Handle());
  const bool ok = op(row);
  ListView2.SetSubItemText(item, cell + 1, ok ? row.SubItem(static_cast<size_t>(cell)) : remembered);
  ChangeCmdStatus(true, item);
  ::EnableWindow(ListView2.Handle(), TRUE);
  ::SetFocus(ListView2.Handle());
  ::SetCursor(cursor);
}

void TfrmMain::cmdServiceStartClick() {
  RunServiceStep(ListView2.SelectedIndex(), 1, [this](inspect::ServiceRow& row) {
    return inspect::StartServiceRow(p_, row, "Running");
  });
}

void TfrmMain::cmdServiceStopClick() {
  RunServiceStep(ListView2.SelectedIndex(), 1, [this](inspect::ServiceRow& row) {
    return inspect::StopServiceRow(p_, row, "Stopped");
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
    return inspect::SetStartTypeRow(p_, row, type);
  });
}

void TfrmMain::ListView2DblClick() {
  const int index = ServiceRowIndex(ListView2.SelectedIndex());
  if (index < 0) return;
  const std::string image = serviceRows_[static_cast<size_t>(index)].SubItem(0);
  if (image.find_first_not_of(" \t\r\n") == std::string::npos) return;
  HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  p_.shell.ShowProperties(inspect::ServiceImageFile(image, false), Handle());
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
  std::vector<inspect::ServiceRow> rows = ServiceRows();
  if (!inspect::StopServiceByImagePath(p_, rows, pathPrefix)) return false;
  // Show the stopped row's new status.
  for (int item = 0; item < ListView2.ItemCount(); ++item) {
    const int index = ServiceRowIndex(item);
    if (index < 0) continue;
    inspect::ServiceRow& row = serviceRows_[static_cast<size_t>(index)];
    if (rows[static_cast<size_t>(item)].SubItem(1) != row.SubItem(1)) {
      row = rows[static_cast<size_t>(item)];
      ListView2.SetSubItemText(item, 2, row.SubItem(1));
    }
  }
  return true;
}

// Filters tab.

void TfrmMain::ScanKeyboardFilterDriver() {
  filterRows_ = inspect::ListKeyboardFilters(p_);
  ListView3.Clear();
  for (const auto& row : filterRows_.rows) {
    const int item = ListView3.AddItem(row.name);
    if (!row.file.empty()) ListView3.SetSubItemText(item, 1, row.file);
  }
}

void TfrmMain::DelKBf() {
  const int item = ListView3.SelectedIndex();
  if (item < 0 || filterRows_.notice || item >= static_cast<int>(filterRows_.rows.size())) return;
  inspect::KeyboardFilterListing listing = filterRows_;
  inspect::RemoveKeyboardFilter(p_, filterRows_.rows[static_cast<size_t>(item)],
                                ListView3.Handle(), listing);
  ScanKeyboardFilterDriver();
}

void TfrmMain::ScanSystemINI(const std::string& fileName) {
  auto listing = inspect::ListIniLines(p_, fileName, Handle());
  if (!listing) return;
  const bool system = platform::EqualsNoCase(fileName, "System.ini");
  ListView& list = system ? ListView4 : ListView5;
  (system ? systemIniRows_ : winIniRows_) = *listing;
  list.Clear();
  list.SetCheckBoxes(!listing->notice);
  for (const auto& row : listing->rows) {
    const int item = list.AddItem(row.line);
    if (!listing->notice) list.SetChecked(item, row.ticked);
  }
}

void TfrmMain::IniMouseUp(const std::string& fileName, ListView& list, inspect::IniListing& rows,
                          int row) {
  if (row < 0 || rows.notice || row >= static_cast<int>(rows.rows.size())) return;
  const inspect::IniRow current = rows.rows[static_cast<size_t>(row)];
  auto changed = inspect::IniLineAfterCheck(current, list.IsChecked(row));
  if (!changed) return;
  list.Select(row);
  inspect::ChangeIniLine(p_, fileName, current.line, *changed, Handle());
  ScanSystemINI(fileName);
  ::SetFocus(list.Handle());
}

}  // namespace morvanta::ui
