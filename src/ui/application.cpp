#include "ui/application.h"

#include <commctrl.h>

namespace morvanta::ui {

Application::Application(ApplicationServices services) : services_(std::move(services)) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

Application::~Application() = default;

bool Application::CreateWindows() {
  MainWindowServices mainServices{
      services_.platform, services_.catalog, services_.loadDatabase, services_.databaseDate,
      [this](const std::string& name) { ShowWindowByClass(name); },
      [this] { return updateCheckState_; }};
  form1_ = std::make_unique<TForm1>(mainServices);
  if (!form1_->FormCreate()) return false;
  HWND owner = form1_->Handle();
  form2_ = std::make_unique<TForm2>(*form1_, services_.platform.registry);
  form1_->SetChooser(form2_.get());
  form3_ = std::make_unique<TForm3>(owner);
  form4_ = std::make_unique<TForm4>(owner);
  form9_ = std::make_unique<TForm9>(owner);
  frmMain_ = std::make_unique<TfrmMain>(owner, services_.platform);
  // The service page's refresh reloads every tab of the tool window with the same rows.
  form1_->SetToolWindowRefresh(
      [this](const inspect::ServiceListing& listing) { frmMain_->RefreshFromMain(listing); });
  form12_ = std::make_unique<TForm12>(owner);
  formIG_ = std::make_unique<TFormIG>(owner);
  formL_ = std::make_unique<TFormL>(owner);
  formR_ = std::make_unique<TFormR>(owner);
  return true;
}

int Application::Run() {
  form1_->Show();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageA(::GetActiveWindow(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

Window* Application::WindowByClass(const std::string& name) {
  if (name == "TForm1") return form1_.get();
  if (name == "TForm2") return form2_.get();
  if (name == "TForm3") return form3_.get();
  if (name == "TForm4") return form4_.get();
  if (name == "TForm9") return form9_.get();
  if (name == "TfrmMain") return frmMain_.get();
  if (name == "TForm12") return form12_.get();
  if (name == "TFormIG") return formIG_.get();
  if (name == "TFormL") return formL_.get();
  if (name == "TFormR") return formR_.get();
  return nullptr;
}

void Application::ShowWindowByClass(const std::string& name) {
  if (Window* w = WindowByClass(name)) w->Show();
}

}  // namespace morvanta::ui
