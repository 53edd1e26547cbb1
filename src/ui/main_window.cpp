#include "ui/main_window.h"

#include <commctrl.h>

#include "app/os_name.h"
#include "app/questions.h"
#include "database/threat_database.h"
#include "remedy/regbase_file.h"
#include "ui/action_chooser.h"

namespace morvanta::ui {
namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 440;
constexpr UINT_PTR kTimer3 = 3;
constexpr int kNoHint = -1;
constexpr UINT kTimer3Interval = 2000;

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

TForm1::TForm1(MainWindowServices services)
    : services_(std::move(services)),
      processPage_(services_.platform, services_.catalog, list2Rows_, label3Text_, statusHint_,
                   report_),
      startupPage_(services_.platform, services_.catalog, list3Rows_, report_,
                   database::ProgramFolder(services_.platform.system) + remedy::kRegBaseFileName) {
  WindowArgs args;
  args.caption = "Morvanta Pro - SE";
  args.width = kClientWidth;
  args.height = kClientHeight;
  args.x = 80;
  args.y = 60;
  Create(args);
  CreateControls();
}

TForm1::~TForm1() = default;

bool TForm1::FormCreate() {
  std::string os = app::OsDisplayName(services_.platform);
  if (app::IsUnsupportedOs(os)) {
    platform::Message m;
    m.text = Msg(61);
    m.caption = "Morvanta Pro";
    m.icon = platform::MessageIcon::Error;
    m.topmost = m.setForeground = true;
    services_.platform.dialogs.Show(m);
    return false;
  }
  std::string error;
  if (!services_.loadDatabase(error)) {
    platform::Message m;
    m.text = error;
    m.caption = "Error";
    m.icon = platform::MessageIcon::Error;
    services_.platform.dialogs.Show(m);
    return true;  // the rest of the step is skipped; the program goes on with no database
  }
  RefreshDateTexts();
  return true;
}

void TForm1::RefreshDateTexts() {
  const std::string text = Msg(62) + services_.databaseDate();
  sb1.SetPanelText(2, text);
  Label2.SetText(text);
}

void TForm1::ShowPage(int page) {
  if (page < 0 || page >= kPageCount) return;
  activePage_ = page;
  for (int i = 0; i < kPageCount; ++i) ::ShowWindow(pages_[i], i == page ? SW_SHOW : SW_HIDE);
}

void TForm1::FormShow() {
  abort_ = true;
  RefreshDateTexts();
  welcomeGroup.SetText(Msg(178));
  ::SetTimer(Handle(), kTimer3, kTimer3Interval, nullptr);
}

void TForm1::Timer3Timer() {
  ::KillTimer(Handle(), kTimer3);
  // The update check starts here once the update protocol exists; its result arrives later,
  // so this tick reads the state of the most recent completed check.
  if (services_.updateCheckState() == 2 && chooser_ && chooser_->c1.IsChecked())
    chooser_->EnableTimer();
}

void TForm1::Button8Click() {
  Button12Click();
  ShowPage(kProcessPage);
}

void TForm1::Note1Enter() {
  // A failure in either refresh leaves that page as it was.
  try {
    Button12Click();
  } catch (...) {
  }
  try {
    Button15Click();
  } catch (...) {
  }
}

void TForm1::ListRows::AddRow(const std::string& caption, const std::vector<std::string>& subItems) {
  const int row = list_.AddItem(caption);
  for (size_t i = 0; i < subItems.size(); ++i)
    list_.SetSubItemText(row, static_cast<int>(i) + 1, subItems[i]);
}

void TForm1::SetFixEnabled(bool enabled) {
  Button2.Enable(enabled);
  xpButton5.Enable(enabled);
}

bool TForm1::Ask(int textEntry) {
  return services_.platform.dialogs.Show(app::MainWindowQuestion(services_.catalog, textEntry,
                                                                 Handle())) ==
         platform::MessageAnswer::Yes;
}

void TForm1::Button4Click() {
  ShowPage(kResultPage);
  Button1Click();
}

void TForm1::Button1Click() {
  platform::Message m = app::MainWindowQuestion(services_.catalog, 59, Handle());
  m.text += "\r\n\r\n" + Msg(134) + "\r\n" + Msg(135);
  if (services_.platform.dialogs.Show(m) != platform::MessageAnswer::Yes) return;
  // The quick scan runs here once the scan engine exists.
}

void TForm1::Button2Click() {
  if (!Ask(60)) return;
  // The fix process runs here once it exists.
}

void TForm1::xpButton5Click() {
  if (!Ask(108)) return;
  // The checked alerts go into the quarantine here once it exists.
}

void TForm1::Button7Click() {
  // The update check runs here once the update protocol exists.
}

void TForm1::xpButton3Click() { services_.platform.shell.Open(kBugReportPage); }
void TForm1::xpButton4Click() { services_.platform.shell.Open(kVirusReportPage); }

void TForm1::Button17Click() { ::PostQuitMessage(0); }

bool TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
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

void TForm1::AddButton(Button& button, HWND page, const std::string& caption, const Rect& r,
                       int hintEntry, std::function<void()> click) {
  const int id = nextId_++;
  button.Create(page, id, caption, r);
  if (hintEntry != kNoHint)
    button.OnHover([this, hintEntry] { sb1.SetPanelText(0, Msg(hintEntry)); });
  clicks_.emplace_back(id, std::move(click));
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
  Label banner;
  banner.Create(page, "Morvanta Pro - SE", {12, 10, 400, 28}, SS_LEFT);
  static HFONT titleFont = ::CreateFontA(24, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                         CLEARTYPE_QUALITY, 0, "Tahoma");
  ::SendMessageA(banner.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), FALSE);

  welcomeGroup.Create(page, "Welcome", {10, 44, 410, 360});
  Label2.Create(page, "Last update: 13.7.2005", {22, 66, 380, 18});
  Memo description;
  description.Create(page, nextId_++, {22, 90, 386, 302});
  description.SetText(kDescription);

  const int x = 432, w = 196, h = 26, step = 30;
  int y = 12;
  auto next = [&] {
    Rect r{x, y, w, h};
    y += step;
    return r;
  };
  AddButton(Button4, page, "Scan for viruses", next(), 74, [this] { Button4Click(); });
  AddButton(Button7, page, "Update", next(), 76, [this] { Button7Click(); });
  AddButton(Button8, page, "Process Manager", next(), 77, [this] { Button8Click(); });
  AddButton(xpButton15, page, "Services", next(), 120, [this] { xpButton15Click(); });
  AddButton(Button9, page, "Startup files", next(), 78, [this] { Button9Click(); });
  AddButton(Button10, page, "Full report log", next(), 79, [this] { Button10Click(); });
  AddButton(xpButton6, page, "Quarantine", next(), 109, [this] { xpButton6Click(); });
  AddButton(languageButton, page, "Language", next(), 127,
            [this] { services_.showWindow("TFormL"); });
  AddButton(ignoreListButton, page, "Ignore list", next(), kNoHint,
            [this] { services_.showWindow("TFormIG"); });
  AddButton(xpButton3, page, "Report bug", next(), 96, [this] { xpButton3Click(); });
  AddButton(xpButton4, page, "Report virus", next(), 97, [this] { xpButton4Click(); });
  AddButton(Button18, page, "About", next(), 81, [this] { Button18Click(); });
  AddButton(Button17, page, "Close", next(), 80, [this] { Button17Click(); });
}

void TForm1::CreateResultPage(HWND page) {
  wormsLabel.Create(page, "Worms && Viruses list:", {10, 8, 300, 18});
  List1.Create(page, nextId_++, {10, 28, 620, 200}, {{"", 596}}, true, LVS_NOCOLUMNHEADER);
  Memo2.Create(page, nextId_++, {10, 234, 620, 140});
  const int y = 384, w = 116, h = 26;
  AddButton(Button1, page, "Quick scan", {10, y, w, h}, 82, [this] { Button1Click(); });
  AddButton(Button3, page, "Abort", {136, y, w, h}, 83, [this] { Button3Click(); });
  AddButton(xpButton5, page, "Add to Quarantine", {262, y, w, h}, 110, [this] { xpButton5Click(); });
  AddButton(Button2, page, "Fix", {388, y, w, h}, 84, [this] { Button2Click(); });
  AddButton(Button6, page, "Back", {514, y, w, h}, 85, [this] { BackClick(); });
  SetFixEnabled(false);
}

void TForm1::CreateProcessPage(HWND page) {
  Label3.Create(page, "Active processes:", {10, 8, 300, 18});
  List2.Create(page, nextId_++, {10, 28, 620, 318}, {{"Active process", 550}}, true);
  cbx1.Create(page, nextId_++, "Delete process from your hard drive!", {10, 354, 400, 20});
  const int y = 384, w = 116, h = 26;
  AddButton(Button11, page, "End Task", {10, y, w, h}, 86, [this] { Button11Click(); });
  AddButton(Button12, page, "Refresh", {136, y, w, h}, 87, [this] { Button12Click(); });
  AddButton(Button13, page, "Back", {514, y, w, h}, 85, [this] { BackClick(); });
}

void TForm1::CreateStartupPage(HWND page) {
  startupLabel.Create(page, "Startup files:", {10, 8, 300, 18});
  List3.Create(page, nextId_++, {10, 28, 620, 346},
               {{"Program Key", 150}, {"Program Value", 300}}, true);
  const int y = 384, w = 116, h = 26;
  AddButton(Button14, page, "Delete values", {10, y, w, h}, 88, [this] { Button14Click(); });
  AddButton(Button15, page, "Refresh", {136, y, w, h}, 89, [this] { Button15Click(); });
  AddButton(xpButton14, page, "Details", {262, y, w, h}, 114, [this] { xpButton14Click(); });
  AddButton(Button16, page, "Back", {514, y, w, h}, 85, [this] { BackClick(); });
}

void TForm1::CreateAboutPage(HWND page) {
  aboutTitle.Create(page, "Morvanta Pro - SE (Buld date: 30.1.2012)", {20, 30, 600, 20});
  aboutContact.Create(page,
                      "Quorrin Software\r\nSupport: support@morvanta.example\r\n"
                      "Web: www.morvanta.example",
                      {20, 64, 600, 60});
  AddButton(Button19, page, "Back", {514, 384, 116, 26}, 85, [this] { BackClick(); });
}

void TForm1::CreateServicePage(HWND page) {
  ListView2.Create(page, nextId_++, {10, 10, 620, 364},
                   {{"Name", 130}, {"Path", 280}, {"Status", 60}, {"StartupType", 70}}, false,
                   LVS_SORTASCENDING | LVS_SINGLESEL);
  const int y = 384, w = 98, h = 26;
  AddButton(xpButton10, page, "Start Service", {10, y, w, h}, 118, [this] { xpButton10Click(); });
  AddButton(xpButton9, page, "Stop Service", {114, y, w, h}, 117, [this] { xpButton9Click(); });
  AddButton(xpButton11, page, "Restart Service", {218, y, w, h}, 116,
            [this] { xpButton11Click(); });
  AddButton(xpButton12, page, "Refresh", {322, y, w, h}, 115, [this] { xpButton12Click(); });
  AddButton(xpButton13, page, "Details", {426, y, w, h}, 114, [this] { xpButton14Click(); });
  AddButton(xpButton8, page, "Back", {530, y, w, h}, 85, [this] { BackClick(); });
}

void TForm1::xpButton15Click() {
  xpButton12Click();
  ShowPage(kServicePage);
}

void TForm1::xpButton12Click() {
  // Catalogue entry 111: "Can not get Service List!".
  const auto listing = inspect::LoadServiceListing(services_.platform, Msg(111));
  if (toolWindowRefresh_) toolWindowRefresh_(listing);
  ShowServiceRows(listing);
}

void TForm1::ShowServiceRows(const inspect::ServiceListing& listing) {
  ListView2.Clear();
  serviceRows_ = listing.rows;
  for (size_t index = 0; index < serviceRows_.size(); ++index) {
    const auto& row = serviceRows_[index];
    const int item = ListView2.AddItem(row.caption);
    // The key name (sub-item 3) has no column: the row's data word leads to the row.
    ListView2.SetItemData(item, static_cast<LPARAM>(index + 1));
    for (size_t i = 0; i < row.subItems.size() && i < 3; ++i)
      ListView2.SetSubItemText(item, static_cast<int>(i) + 1, row.subItems[i]);
  }
  ::EnableWindow(ListView2.Handle(), listing.listEnabled ? TRUE : FALSE);
}

int TForm1::ServiceRowIndex(int item) const {
  if (item < 0 || item >= ListView2.ItemCount()) return -1;
  const LPARAM data = ListView2.ItemData(item);
  if (data < 1 || static_cast<size_t>(data) > serviceRows_.size()) return -1;
  return static_cast<int>(data - 1);
}

std::vector<inspect::ServiceRow> TForm1::ServiceRows() const {
  std::vector<inspect::ServiceRow> rows;
  for (int item = 0; item < ListView2.ItemCount(); ++item) {
    const int index = ServiceRowIndex(item);
    if (index >= 0) rows.push_back(serviceRows_[static_cast<size_t>(index)]);
  }
  return rows;
}

void TForm1::RunServiceAction(ServiceAction action) {
  const int item = ListView2.SelectedIndex();
  const int index = ServiceRowIndex(item);
  if (index < 0) return;
  inspect::ServiceRow* row = &serviceRows_[static_cast<size_t>(index)];
  const std::string running = Msg(112), stopped = Msg(113);
  auto step = [&](bool start) {
    const std::string remembered = row->SubItem(1);
    ListView2.SetSubItemText(item, 2, "");
    HCURSOR cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    ::EnableWindow(ListView2.Handle(), FALSE);
    ::UpdateWindow(ListView2.Handle());
    const bool ok = start ? inspect::StartServiceRow(services_.platform, *row, running)
                          : inspect::StopServiceRow(services_.platform, *row, stopped);
    ListView2.SetSubItemText(item, 2, ok ? row->SubItem(1) : remembered);
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
