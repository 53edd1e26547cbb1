#include "ui/application.h"

#include "app/language_setting.h"

#include <commctrl.h>

namespace morvanta::ui {

ApplicationWindow::ApplicationWindow(const std::string& title) {
  WindowArgs args;
  args.caption = title;
  args.x = args.y = 0;
  args.width = args.height = 0;
  args.clientSize = false;
  // Visible but of no size: what the task bar needs to show a button with the title.
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
  Create(args);
}

bool ApplicationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case kRunTasksMessage:
      if (tasks_) tasks_->RunPending();
      result = 0;
      return true;
    case WM_ACTIVATE:
      // Activating the task bar button activates the main window.
      if (LOWORD(wParam) != WA_INACTIVE && main_ && ::IsWindowEnabled(main_)) {
        ::SetActiveWindow(main_);
        result = 0;
        return true;
      }
      return false;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_RESTORE && main_) ::ShowWindow(main_, SW_RESTORE);
      return false;
  }
  return false;
}

void ApplicationWindow::OnClose() {
  if (main_) ::PostMessageA(main_, WM_CLOSE, 0, 0);
}

Application::Application(app::Session& session) : session_(session) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // The downloads' workers hand their progress and ends to this thread through the
  // application window, which lives as long as the program.
  appWindow_.SetTasks(&session_.Tasks());
  HWND wake = appWindow_.Handle();
  session_.Tasks().SetWake([wake] { ::PostMessageA(wake, ApplicationWindow::kRunTasksMessage, 0, 0); });
}

Application::~Application() = default;

bool Application::CreateWindows() {
  form1_ = std::make_unique<TForm1>(session_, *this, appWindow_.Handle());
  appWindow_.SetMainWindow(form1_->Handle());
  if (!form1_->FormCreate()) return false;
  HWND owner = form1_->Handle();
  form2_ = std::make_unique<TForm2>(*form1_, session_.Platform().registry);
  form1_->SetChooser(form2_.get());
  form3_ = std::make_unique<TForm3>(session_, *form1_);
  form4_ = std::make_unique<TForm4>(session_, owner);
  form1_->SetUpgradeWindow(form4_.get());
  form9_ = std::make_unique<TForm9>(session_, owner);
  frmMain_ = std::make_unique<TfrmMain>(owner, session_);
  // The tool window lists the services at its creation; the main window shows the same rows.
  form1_->ShowServiceRows();
  form12_ = std::make_unique<TForm12>(session_, *form1_);
  formIG_ = std::make_unique<TFormIG>(session_, owner);
  formL_ = std::make_unique<TFormL>(session_, texts_, owner);
  formR_ = std::make_unique<TFormR>(session_, owner, [this] { form12_->Show(); });

  texts_.Add(WindowId::Main, form1_->Components());
  texts_.Add(WindowId::Chooser, form2_->Components());
  texts_.Add(WindowId::FullScan, form3_->Components());
  texts_.Add(WindowId::Upgrade, form4_->Components());
  texts_.Add(WindowId::QuarantineManager, form9_->Components());
  texts_.Add(WindowId::ToolWindow, frmMain_->Components());
  texts_.Add(WindowId::Language, formL_->Components());
  texts_.Add(WindowId::LogOptimizer, form12_->Components());
  formL_->FillList();
  // The saved language, once every window exists. Whatever fails here leaves the built-in
  // texts.
  app::ApplySavedLanguage(session_.Platform().registry, session_.Platform().files,
                          session_.ProgramFolder(), texts_, session_.Catalog());
  return true;
}

int Application::Run() {
  ::ShowWindow(appWindow_.Handle(), SW_SHOWNOACTIVATE);
  form1_->Show();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageA(::GetActiveWindow(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

Window& Application::Get(WindowId id) {
  switch (id) {
    case WindowId::Main: return *form1_;
    case WindowId::Chooser: return *form2_;
    case WindowId::FullScan: return *form3_;
    case WindowId::Upgrade: return *form4_;
    case WindowId::QuarantineManager: return *form9_;
    case WindowId::ToolWindow: return *frmMain_;
    case WindowId::LogOptimizer: return *form12_;
    case WindowId::IgnoreList: return *formIG_;
    case WindowId::Language: return *formL_;
    case WindowId::ReportManager: return *formR_;
  }
  return *form1_;
}

}  // namespace morvanta::ui
