#include "ui/main_window.h"

#include <commctrl.h>

#include "app/os_name.h"
#include "app/window_components.h"
#include "database/threat_database.h"
#include "morvanta_version.h"
#include "remedy/regbase_file.h"
#include "runs/log_upload.h"
#include "ui/action_chooser.h"
#include "ui/frm_main.h"
#include "ui/full_scan_window.h"
#include "ui/upgrade_window.h"

namespace morvanta::ui {
namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 440;
constexpr UINT_PTR kTimer3 = 3;
constexpr UINT kTimer3Interval = 2000;
using common::Msg;
using M = common::Msg;

constexpr char kBugReportPage[] = "http://www.morvanta.example/bugreport.htm";
constexpr char kVirusReportPage[] = "http://www.morvanta.example/virusreport.htm";

constexpr char kDescription[] =
    "Morvanta Pro looks for known worms, viruses, spyware and adware on this computer and "
    "removes them, or keeps them in an encrypted quarantine.\r\n\r\n"
    "How to use it: press \"Scan for viruses\", look through the alerts, keep the ticks on "
    "what you want removed and press \"Fix\".\r\n\r\n"
    "What is new: process manager, startup files, services, full report log, quarantine.\r\n\r\n"
    "Questions and answers\r\n"
    "Q: Do I have to close my browser before scanning?\r\n"
    "A: Yes. Close your Internet browsers and all active applications first.\r\n"
    "Q: Where is the database?\r\n"
    "A: In the program folder (files.dat); \"Update\" keeps it current.";

}  // namespace

TForm1::TForm1(app::Session& session, WindowDirectory& windows, HWND owner)
    : session_(session),
      windows_(windows),
      prompts_(session.Platform().dialogs, session.Catalog()),
      processPage_(session.Platform(), session.Catalog(),
                   {list2Rows_, label3Text_, statusHint_, report_, prompts_}),
      startupPage_(session.Platform(), session.Catalog(), {list3Rows_, report_, prompts_},
                   session.ProgramFile(remedy::kRegBaseFileName), session.Lists().startupValues),
      update_(session, session.Tasks(),
              {prompts_, statusHint_, statusDate_, label2Text_, pump_, *this}) {
  WindowArgs args;
  args.caption = "Morvanta Pro - SE";
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.owner = owner;
  Create(args);
  prompts_.SetOwner(Handle());
  CreateControls();
}

TForm1::~TForm1() = default;

bool TForm1::FormCreate() {
  platform::Platform& p = session_.Platform();
  std::string os = app::OsDisplayName(p);
  if (app::IsUnsupportedOs(os)) {
    prompts_.Tell({common::PromptKind::UrgentError, Msg::UnsupportedSystem,
                   Msg(Msg::UnsupportedSystem), "Morvanta Pro"});
    return false;
  }
  const database::LoadResult loaded = session_.LoadDatabase();
  if (!loaded.ok()) {
    // The rest of the step is skipped; the program goes on with no database.
    prompts_.Tell({common::PromptKind::UrgentError, Msg::None, loaded.message});
    return true;
  }
  RefreshDateTexts();
  return true;
}

void TForm1::RefreshDateTexts() {
  const std::string text = Msg(Msg::LastUpdate) + session_.DatabaseDate();
  FitStatusPanels(text);
  sb1.SetPanelText(2, text);
  Label2.SetText(text);
}

void TForm1::FitStatusPanels(const std::string& dateText) {
  constexpr int kHint = 280, kTitle = 150, kPadding = 16, kShortestHint = 80;
  RECT client = {};
  ::GetClientRect(Handle(), &client);
  const int rest = ToDesign(client.right) - kHint - kTitle;
  const int needed = sb1.TextWidth(dateText) + kPadding;
  const int hint = needed > rest ? std::max(kShortestHint, kHint - (needed - rest)) : kHint;
  sb1.SetWidths({hint, kTitle, 0});
}

void TForm1::ShowPage(int page) {
  if (page < 0 || page >= kPageCount) return;
  activePage_ = page;
  for (int i = 0; i < kPageCount; ++i) ::ShowWindow(pages_[i], i == page ? SW_SHOW : SW_HIDE);
}

void TForm1::FormShow() {
  session_.Abort().Set();
  RefreshDateTexts();
  welcomeGroup.SetText(Msg(Msg::Welcome));
  ::SetTimer(Handle(), kTimer3, kTimer3Interval, nullptr);
}

void TForm1::Timer3Timer() {
  ::KillTimer(Handle(), kTimer3);
  // The check's result arrives later: this tick reads the state of the most recent
  // completed check.
  update_.Start();
  if (session_.updateCheckState == app::UpdateCheckState::UpdateOffered && chooser_ &&
      chooser_->c1.IsChecked())
    chooser_->EnableTimer();
}

void TForm1::Button8Click() {
  Button12Click();
  ShowPage(kProcessPage);
}

void TForm1::Note1Enter() {
  // A failure in either refresh leaves that page as it was.
  for (auto refresh : {&TForm1::Button12Click, &TForm1::Button15Click}) {
    try {
      (this->*refresh)();
    } catch (const std::exception& e) {
      TraceHandlerFailure("page refresh", e.what());
    }
  }
}

void TForm1::SetFixEnabled(bool enabled) {
  Button2.Enable(enabled);
  xpButton5.Enable(enabled);
}

bool TForm1::Ask(common::Msg textEntry) {
  return prompts_.Ask({common::PromptKind::Question, textEntry, Msg(textEntry)});
}

void TForm1::Button4Click() {
  ShowPage(kResultPage);
  Button1Click();
}

void TForm1::Button1Click() {
  const std::string text = Msg(Msg::ScanQuestion) + "\r\n\r\n" + Msg(Msg::ImportantNote) +
                           "\r\n" + Msg(Msg::CloseBrowsersFirst);
  if (!prompts_.Ask({common::PromptKind::Question, Msg::ScanQuestion, text})) return;
  RunQuickScan();
}

runs::QuickScanResult TForm1::RunQuickScan() {
  return runs::RunQuickScan(session_, {list1Rows_, memo2Lines_, statusHint_, prompts_, pump_,
                                       report_, list3Rows_, *this, *this});
}

// The drive window takes it from here; the page keeps its header line until the full scan
// or its abort path puts the page back.
void TForm1::StartFullDriveScan() { windows_.Show(WindowId::FullScan); }

// The exchange runs here, on the window's thread, the window's messages served while it
// waits for the server.
void TForm1::SendScanLog() { runs::UploadLog(session_, {prompts_, statusHint_, pump_}); }

runs::FullScanResult TForm1::RunFullDriveScan(const std::string& selectedDrives) {
  return runs::FullDriveScan(session_, {list1Rows_, memo2Lines_, statusHint_, prompts_, pump_, *this},
                             selectedDrives);
}

runs::AbortChoice TForm1::AbortFullScan() {
  return runs::AbortFullScan(session_, {list1Rows_, memo2Lines_, statusHint_, prompts_, pump_, *this});
}

runs::FixResult TForm1::FixAlerts() {
  return runs::FixAlerts(session_, {list1Rows_, memo2Lines_, statusHint_, prompts_, pump_, *this, *this});
}

bool TForm1::OnResultListNotify(const NMHDR& header, LRESULT& result) {
  if (header.code == LVN_ITEMCHANGING) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool checkChange = (change.uChanged & LVIF_STATE) &&
                             ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                             (change.uOldState & LVIS_STATEIMAGEMASK) != 0;
    if (checkChange && change.iItem >= 0 && !list1Rows_.IsEnabled(change.iItem)) {
      result = TRUE;  // refused
      return true;
    }
    return false;
  }
  if (header.code == NM_CUSTOMDRAW) {
    auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    }
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      if (!list1Rows_.IsEnabled(static_cast<int>(draw.nmcd.dwItemSpec)))
        draw.clrText = ::GetSysColor(COLOR_GRAYTEXT);
      result = CDRF_DODEFAULT;
      return true;
    }
  }
  return false;
}

void TForm1::Button2Click() {
  if (!Ask(Msg::FixQuestion)) return;
  FixAlerts();
}

void TForm1::xpButton5Click() {
  if (!Ask(Msg::QuarantineQuestion)) return;
  QuarantineAlerts();
  // The stored files are still in place: the fix is offered next.
  Button2Click();
}

runs::QuarantineResult TForm1::QuarantineAlerts() {
  return runs::QuarantineAlerts(session_, {list1Rows_, memo2Lines_, statusHint_, prompts_, pump_, *this});
}

void TForm1::Button7Click() { update_.UpdateClick(); }

void TForm1::SetUpdateButtonsEnabled(bool enabled) {
  Button4.Enable(enabled);
  Button7.Enable(enabled);
}

void TForm1::StartProgramUpgrade(const std::string& label1) {
  if (upgrade_) upgrade_->StartUpgrade(label1);
}

void TForm1::xpButton3Click() { session_.Platform().shell.Open(kBugReportPage); }
void TForm1::xpButton4Click() { session_.Platform().shell.Open(kVirusReportPage); }

void TForm1::Button17Click() { ::PostQuitMessage(0); }

bool TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header && header->hwndFrom == List1.Handle() && OnResultListNotify(*header, result);
    }
    case WM_SETCURSOR:
      // Leaving a control's hint for a control without one clears it. The panel also shows
      // the runs' status texts, which the mouse leaves alone.
      if (showingHint_ && hintControls_.count(reinterpret_cast<HWND>(wParam)) == 0) {
        showingHint_ = false;
        sb1.SetPanelText(0, "");
      }
      return false;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        for (auto& [id, click] : clicks_) {
          if (id == LOWORD(wParam)) {
            click();
            return true;
          }
        }
      }
      return false;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      return false;
    case WM_ACTIVATE:
      // Every control that takes the focus lies inside the notebook, so the focus enters it
      // once: when the window is first activated.
      if (LOWORD(wParam) != WA_INACTIVE && !notebookEntered_) {
        notebookEntered_ = true;
        Note1Enter();
      }
      return false;
    case WM_SIZE:
      ::SendMessageA(sb1.Handle(), WM_SIZE, 0, 0);
      RefreshDateTexts();
      return false;
    case WM_TIMER:
      if (wParam == kTimer3) Timer3Timer();
      result = 0;
      return true;
  }
  return false;
}

std::string TForm1::Design(const std::string& name) const {
  return app::DesignCaption(app::WindowId::Main, name);
}

void TForm1::AddButton(const std::string& name, Button& button, HWND page, const Rect& r,
                       common::Msg hintEntry, std::function<void()> click) {
  const int id = nextId_++;
  button.Create(page, id, Design(name), r);
  components_.Add(name, button);
  if (hintEntry != Msg::None) {
    button.OnHover([this, hintEntry] {
      sb1.SetPanelText(0, Msg(hintEntry));
      showingHint_ = true;
    });
    hintControls_.insert(button.Handle());
  }
  clicks_.emplace_back(id, std::move(click));
}

void TForm1::AddLabel(const std::string& name, Label& label, HWND page, const Rect& r,
                      DWORD style) {
  label.Create(page, Design(name), r, style);
  components_.Add(name, label);
}

void TForm1::CreateControls() {
  sb1.Create(Handle(), {280, 150, 50});
  sb1.SetPanelText(1, "Morvanta Pro - SE");
  const int pageHeight = kClientHeight - sb1.Height();
  for (auto& page : pages_) page = CreateNotebookPage(Handle(), {0, 0, kClientWidth, pageHeight});
  CreateStartPage(pages_[kStartPage]);
  CreateResultPage(pages_[kResultPage]);
  CreateProcessPage(pages_[kProcessPage]);
  CreateStartupPage(pages_[kStartupPage]);
  CreateAboutPage(pages_[kAboutPage]);
  CreateServicePage(pages_[kServicePage]);
  ShowPage(kStartPage);
}

void TForm1::CreateStartPage(HWND page) {
  AddLabel("bannerLabel", bannerLabel, page, {12, 10, 400, 28}, SS_LEFT);
  static HFONT titleFont = ::CreateFontA(ToScreen(24), 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                         CLEARTYPE_QUALITY, 0, "Tahoma");
  ::SendMessageA(bannerLabel.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), FALSE);

  welcomeGroup.Create(page, "Welcome", {10, 44, 410, 360});
  // Two lines: the texts after an update are longer than the date alone.
  AddLabel("Label2", Label2, page, {22, 62, 386, 30});
  Memo description;
  description.Create(page, nextId_++, {22, 96, 386, 296});
  description.SetText(kDescription);

  const int x = 432, w = 196, h = 26, step = 30;
  int y = 12;
  auto next = [&] {
    Rect r{x, y, w, h};
    y += step;
    return r;
  };
  AddButton("Button4", Button4, page, next(), M::HintScanForViruses, [this] { Button4Click(); });
  AddButton("Button7", Button7, page, next(), M::HintUpdate, [this] { Button7Click(); });
  AddButton("Button8", Button8, page, next(), M::HintProcessManager, [this] { Button8Click(); });
  AddButton("xpButton15", xpButton15, page, next(), M::HintServices, [this] { xpButton15Click(); });
  AddButton("Button9", Button9, page, next(), M::HintStartupFiles, [this] { Button9Click(); });
  AddButton("Button10", Button10, page, next(), M::HintFullReport, [this] { Button10Click(); });
  AddButton("xpButton6", xpButton6, page, next(), M::HintQuarantine, [this] { xpButton6Click(); });
  AddButton("xpButtonLanguage", xpButtonLanguage, page, next(), M::HintLanguage,
            [this] { windows_.Show(WindowId::Language); });
  AddButton("xpButtonIgnoreList", xpButtonIgnoreList, page, next(), M::None,
            [this] { windows_.Show(WindowId::IgnoreList); });
  AddButton("xpButton3", xpButton3, page, next(), M::HintReportBug, [this] { xpButton3Click(); });
  AddButton("xpButton4", xpButton4, page, next(), M::HintReportVirus, [this] { xpButton4Click(); });
  AddButton("Button18", Button18, page, next(), M::HintAbout, [this] { Button18Click(); });
  AddButton("Button17", Button17, page, next(), M::HintClose, [this] { Button17Click(); });
}

void TForm1::CreateResultPage(HWND page) {
  AddLabel("wormsLabel", wormsLabel, page, {10, 8, 300, 18});
  List1.Create(page, nextId_++, {10, 28, 620, 200}, {{"", 596}}, true, LVS_NOCOLUMNHEADER);
  Memo2.Create(page, nextId_++, {10, 234, 620, 140});
  const int y = 384, w = 116, h = 26;
  AddButton("Button1", Button1, page, {10, y, w, h}, M::HintQuickScan, [this] { Button1Click(); });
  AddButton("Button3", Button3, page, {136, y, w, h}, M::HintAbort, [this] { Button3Click(); });
  AddButton("xpButton5", xpButton5, page, {262, y, w, h}, M::HintAddToQuarantine, [this] { xpButton5Click(); });
  AddButton("Button2", Button2, page, {388, y, w, h}, M::HintFix, [this] { Button2Click(); });
  AddButton("Button6", Button6, page, {514, y, w, h}, M::HintBack, [this] { BackClick(); });
  SetFixEnabled(false);
  SetAbortEnabled(false);
}

void TForm1::CreateProcessPage(HWND page) {
  AddLabel("Label3", Label3, page, {10, 8, 300, 18});
  List2.Create(page, nextId_++, {10, 28, 620, 318}, {{"Active process", 550}}, true);
  cbx1.Create(page, nextId_++, Design("cbx1"), {10, 354, 400, 20});
  components_.Add("cbx1", cbx1);
  const int y = 384, w = 116, h = 26;
  AddButton("Button11", Button11, page, {10, y, w, h}, M::HintEndTask, [this] { Button11Click(); });
  AddButton("Button12", Button12, page, {136, y, w, h}, M::HintRefreshTasks, [this] { Button12Click(); });
  AddButton("Button13", Button13, page, {514, y, w, h}, M::HintBack, [this] { BackClick(); });
}

void TForm1::CreateStartupPage(HWND page) {
  AddLabel("startupLabel", startupLabel, page, {10, 8, 300, 18});
  List3.Create(page, nextId_++, {10, 28, 620, 346},
               {{"Program Key", 150}, {"Program Value", 300}}, true);
  const int y = 384, w = 116, h = 26;
  AddButton("Button14", Button14, page, {10, y, w, h}, M::HintDeleteValues, [this] { Button14Click(); });
  AddButton("Button15", Button15, page, {136, y, w, h}, M::HintRefreshStartup, [this] { Button15Click(); });
  AddButton("xpButton14", xpButton14, page, {262, y, w, h}, M::HintDetails, [this] { xpButton14Click(); });
  AddButton("Button16", Button16, page, {514, y, w, h}, M::HintBack, [this] { BackClick(); });
}

void TForm1::CreateAboutPage(HWND page) {
  AddLabel("aboutTitle", aboutTitle, page, {20, 30, 600, 20});
  AddLabel("aboutContact", aboutContact, page, {20, 64, 600, 60});
  Label version;  // the release's number, whatever the language file says
  version.Create(page, "Version " MORVANTA_VERSION, {20, 136, 600, 20});
  AddButton("Button19", Button19, page, {514, 384, 116, 26}, M::HintBack, [this] { BackClick(); });
}

void TForm1::CreateServicePage(HWND page) {
  ListView2.Create(page, nextId_++, {10, 10, 620, 364},
                   {{"Name", 130}, {"Path", 280}, {"Status", 60}, {"StartupType", 70}}, false,
                   LVS_SORTASCENDING | LVS_SINGLESEL);
  ListView_SetExtendedListViewStyleEx(ListView2.Handle(), LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  const int y = 384, w = 98, h = 26;
  AddButton("xpButton10", xpButton10, page, {10, y, w, h}, M::HintStartService, [this] { xpButton10Click(); });
  AddButton("xpButton9", xpButton9, page, {114, y, w, h}, M::HintStopService, [this] { xpButton9Click(); });
  AddButton("xpButton11", xpButton11, page, {218, y, w, h}, M::HintRestartService,
            [this] { xpButton11Click(); });
  AddButton("xpButton12", xpButton12, page, {322, y, w, h}, M::HintRefreshServices, [this] { xpButton12Click(); });
  AddButton("xpButton13", xpButton13, page, {426, y, w, h}, M::HintDetails, [this] { xpButton14Click(); });
  AddButton("xpButton8", xpButton8, page, {530, y, w, h}, M::HintBack, [this] { BackClick(); });
}

void TForm1::xpButton15Click() {
  xpButton12Click();
  ShowPage(kServicePage);
}

void TForm1::xpButton12Click() {
  session_.Lists().services = inspect::LoadServiceListing(session_.Platform(), pump_);
  // The tool window's tabs are reloaded too, and show the same service rows.
  windows_.ToolWindow().RefreshFromMain();
  ShowServiceRows();
}

std::string TForm1::StatusText(const inspect::ServiceRow& row) const {
  // The main window's own words for the two states its buttons lead to.
  if (row.IsComplete() && row.state == inspect::ServiceRunState::Running) return Msg(Msg::Running);
  if (row.IsComplete() && row.state == inspect::ServiceRunState::Stopped) return Msg(Msg::Stopped);
  return inspect::StatusCellText(row);
}

void TForm1::ShowServiceRows() {
  const inspect::ServiceListing& listing = session_.Lists().services;
  ListView2.Clear();
  for (size_t index = 0; index < listing.rows.size(); ++index) {
    const auto& row = listing.rows[index];
    const int item = ListView2.AddItem(row.displayName);
    // The list sorts its items: the data word leads back to the row.
    ListView2.SetItemData(item, static_cast<LPARAM>(index + 1));
    ListView2.SetSubItemText(item, 1, inspect::PathCellText(row, Msg(Msg::CannotGetServiceList)));
    ListView2.SetSubItemText(item, 2, StatusText(row));
    ListView2.SetSubItemText(item, 3, inspect::StartTypeCellText(row));
  }
  ::EnableWindow(ListView2.Handle(), listing.listEnabled ? TRUE : FALSE);
}

inspect::ServiceRow* TForm1::ServiceRowOf(int item) {
  return ItemOf(ListView2, session_.Lists().services.rows, item);
}

void TForm1::RunServiceAction(ServiceAction action) {
  const int item = ListView2.SelectedIndex();
  inspect::ServiceRow* row = ServiceRowOf(item);
  if (!row) return;
  auto step = [&](bool start) {
    ListView2.SetSubItemText(item, 2, "");
    HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    ::EnableWindow(ListView2.Handle(), FALSE);
    ::UpdateWindow(ListView2.Handle());
    platform::Platform& p = session_.Platform();
    if (start)
      inspect::StartServiceRow(p, *row);
    else
      inspect::StopServiceRow(p, *row);
    // The row holds its new state on success and its old one on failure.
    ListView2.SetSubItemText(item, 2, StatusText(*row));
    ::EnableWindow(ListView2.Handle(), TRUE);
    ::SetFocus(ListView2.Handle());
    ::SetCursor(cursor);
  };
  if (action != ServiceAction::Start) step(false);
  if (action != ServiceAction::Stop) step(true);
}

void TForm1::xpButton10Click() { RunServiceAction(ServiceAction::Start); }
void TForm1::xpButton9Click() { RunServiceAction(ServiceAction::Stop); }
void TForm1::xpButton11Click() { RunServiceAction(ServiceAction::Restart); }

}  // namespace morvanta::ui
