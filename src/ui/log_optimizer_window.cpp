#include "ui/log_optimizer_window.h"

#include "app/window_components.h"
#include "ui/main_window.h"

namespace morvanta::ui {
namespace {

enum { kCheck1Id = 10, kCheck2Id, kCheck3Id, kCheck4Id, kBuildId, kCancelId };

// The main window's pages, writing into the report file while it is written.
class MainWindowPages : public runs::ReportPages {
 public:
  MainWindowPages(TForm1& main, common::ReportSink& report) : main_(main) {
    main_.SetReportSink(&report);
  }
  ~MainWindowPages() override { main_.SetReportSink(nullptr); }
  MainWindowPages(const MainWindowPages&) = delete;
  MainWindowPages& operator=(const MainWindowPages&) = delete;

  void QuickScan() override { main_.RunQuickScan(); }
  void RefreshProcesses() override { main_.Button12Click(); }
  void RefreshStartup() override { main_.Button15Click(); }
  // Reloads the tool window's lists too.
  void RefreshServices() override { main_.xpButton12Click(); }

 private:
  TForm1& main_;
};

}  // namespace

TForm12::TForm12(app::Session& session, TForm1& main)
    : session_(session),
      main_(main),
      prompts_(session.Platform().dialogs, session.Catalog()),
      builder_(session, prompts_, pump_, *this) {
  WindowArgs args;
  args.caption = kCaption;
  args.width = 300;
  args.height = 196;
  args.owner = main.Handle();
  args.exStyle = WS_EX_TOPMOST;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Create(args);
  HWND w = Handle();
  prompts_.SetOwner(main.Handle());
  builder_.SetPagesFactory([this](common::ReportSink& report) -> std::unique_ptr<runs::ReportPages> {
    return std::make_unique<MainWindowPages>(main_, report);
  });

  GroupBox1.Create(w, Msg(common::Msg::BuildLogAbout), {10, 8, 280, 136});
  auto design = [](const char* name) { return app::DesignCaption(app::WindowId::LogOptimizer, name); };
  const struct {
    CheckBox& box;
    int id;
    const char* name;
  } boxes[] = {{xpCheckBox1, kCheck1Id, "xpCheckBox1"},
               {xpCheckBox2, kCheck2Id, "xpCheckBox2"},
               {xpCheckBox3, kCheck3Id, "xpCheckBox3"},
               {xpCheckBox4, kCheck4Id, "xpCheckBox4"}};
  int y = 32;
  for (const auto& b : boxes) {
    b.box.Create(w, b.id, design(b.name), {26, y, 248, 22});
    b.box.SetChecked(true);  // every section, until the user says otherwise
    components_.Add(b.name, b.box);
    y += 26;
  }
  xpButton1.Create(w, kBuildId, design("xpButton1"), {10, 156, 134, 28});
  xpButton2.Create(w, kCancelId, design("xpButton2"), {156, 156, 134, 28});
  components_.Add("xpButton1", xpButton1);
  components_.Add("xpButton2", xpButton2);
}

void TForm12::FormShow() { GroupBox1.SetText(Msg(common::Msg::BuildLogAbout)); }

void TForm12::xpCheckBox1Click() { builder_.sections.startupFiles = xpCheckBox1.IsChecked(); }
void TForm12::xpCheckBox2Click() { builder_.sections.services = xpCheckBox2.IsChecked(); }
void TForm12::xpCheckBox3Click() { builder_.sections.processes = xpCheckBox3.IsChecked(); }
void TForm12::xpCheckBox4Click() { builder_.sections.infectedFiles = xpCheckBox4.IsChecked(); }

void TForm12::xpButton1Click() {
  const runs::ReportOutcome outcome = builder_.BuildOrAbort();
  // The click that aborted returns first; the build it stopped tells its own outcome.
  if (!builder_.Building()) lastOutcome_ = outcome;
}

void TForm12::ShowBuilding(bool building) {
  main_.Button10.SetText(Msg(building ? common::Msg::AbortLog : common::Msg::FullReportLog));
  if (building) {
    buildCaption_ = xpButton1.Text();
    xpButton1.SetText(Msg(common::Msg::AbortLog));
  } else if (!buildCaption_.empty()) {
    xpButton1.SetText(buildCaption_);
    buildCaption_.clear();
  }
  main_.Button4.Enable(!building);
  main_.Button7.Enable(!building);
}

void TForm12::SetMainEnabled(bool enabled) { main_.Enable(enabled); }

bool TForm12::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      switch (LOWORD(wParam)) {
        case kCheck1Id: xpCheckBox1Click(); break;
        case kCheck2Id: xpCheckBox2Click(); break;
        case kCheck3Id: xpCheckBox3Click(); break;
        case kCheck4Id: xpCheckBox4Click(); break;
        case kBuildId: xpButton1Click(); break;
        case kCancelId: xpButton2Click(); break;
        default: return false;
      }
      result = 0;
      return true;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      return false;
  }
  return false;
}

}  // namespace morvanta::ui
