#include "ui/language_window.h"

#include "app/language_setting.h"
#include "app/prompt_boxes.h"
#include "app/window_components.h"

namespace morvanta::ui {
namespace {

enum { kListId = 10, kApplyId, kDefaultId, kSaveId };

void PumpPending() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace

TFormL::TFormL(app::Session& session, WindowTexts& texts, HWND owner)
    : session_(session), texts_(texts) {
  WindowArgs args;
  args.caption = kCaption;
  args.width = 370;
  args.height = 240;
  args.owner = owner;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Create(args);
  HWND w = Handle();
  auto design = [](const char* name) { return app::DesignCaption(app::WindowId::Language, name); };
  List1.Create(w, kListId, {10, 10, 180, 220});
  // Wide enough for translated captions.
  xpButton1.Create(w, kApplyId, design("xpButton1"), {200, 10, 160, 26});
  xpButton2.Create(w, kDefaultId, design("xpButton2"), {200, 44, 160, 26});
  xpButton3.Create(w, kSaveId, design("xpButton3"), {200, 204, 160, 26});
  xpButton1.Enable(false);
  components_.Add("xpButton1", xpButton1);
  components_.Add("xpButton2", xpButton2);
  components_.Add("xpButton3", xpButton3);

  SaveDialog1.title = "Save default language";
  SaveDialog1.filter = {"Text files (*.txt)", "*.txt", "All files (*.*)", "*.*"};
  SaveDialog1.owner = w;

  restart_ = [this] {
    session_.Platform().shell.Open(session_.Platform().system.ModulePath());
    ::ExitProcess(kRestartExitCode);
  };
}

void TFormL::FillList() {
  List1.Clear();
  for (const std::string& name :
       app::ListLanguageFiles(session_.Platform().files, session_.ProgramFolder(), PumpPending))
    List1.AddItem(name);
  xpButton1.Enable(List1.Selected() >= 0);
}

void TFormL::List1Click() { xpButton1.Enable(List1.Selected() >= 0); }

void TFormL::xpButton1Click() {
  const int selected = List1.Selected();
  const std::string language = selected >= 0 ? List1.ItemText(selected) : "";
  if (!language.empty()) {
    app::WriteLanguageSetting(session_.Platform().registry, language);
    app::ApplyLanguageFile(session_.Platform().files,
                           app::LanguageFilePath(session_.ProgramFolder(), language), texts_,
                           session_.Catalog());
  }
  Hide();
}

void TFormL::xpButton2Click() {
  if (!app::WriteLanguageSetting(session_.Platform().registry, app::kDefaultLanguage)) {
    Hide();
    return;
  }
  restart_();
}

void TFormL::xpButton3Click() {
  SaveDialog1.fileName = app::kTemplateFileName;
  const auto path = session_.Platform().dialogs.ChooseFileToSave(SaveDialog1);
  if (!path) return;
  // A template that cannot be written is not reported.
  app::WriteLanguageTemplate(session_.Platform().files, *path, texts_, session_.Catalog());
  platform::Message message;
  message.text = kSavedText;
  message.caption = app::kApplicationTitle;
  message.owner = Handle();
  session_.Platform().dialogs.Show(message);
}

bool TFormL::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND) return false;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (id == kListId && code == LBN_SELCHANGE) List1Click();
  else if (code != BN_CLICKED) return false;
  else if (id == kApplyId) xpButton1Click();
  else if (id == kDefaultId) xpButton2Click();
  else if (id == kSaveId) xpButton3Click();
  result = 0;
  return true;
}

}  // namespace morvanta::ui
