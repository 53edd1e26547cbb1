// The language window `TFormL` ("Select language"): the language files of the "Languages"
// folder, applying one (remembered for the next start), returning to the built-in texts
// through a restart, and writing the current texts as the template "Default.txt".
#pragma once

#include <functional>
#include <string>

#include "app/session.h"
#include "platform/dialogs.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_texts.h"

namespace morvanta::ui {

class TFormL : public Window {
 public:
  static constexpr char kCaption[] = "Select language";
  static constexpr char kSavedText[] = "Language saved!";
  static constexpr int kRestartExitCode = 1;

  TFormL(app::Session& session, WindowTexts& texts, HWND owner);

  // The start-up step: the list holds the files of the language folder.
  void FillList();

  // Handlers, named after their component and event.
  void List1Click();
  void xpButton1Click();  // "Apply"
  void xpButton2Click();  // "Default"
  void xpButton3Click();  // "Save default language"

  // What "Default" does after storing the setting: start the program again and end this
  // run. Tests put something harmless in its place.
  void SetRestart(std::function<void()> restart) { restart_ = std::move(restart); }

  ListBox List1;
  Button xpButton1, xpButton2, xpButton3;
  platform::SaveFileDialog SaveDialog1;
  const ComponentRegistry& Components() const { return components_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  app::Session& session_;
  WindowTexts& texts_;
  std::function<void()> restart_;
  ComponentRegistry components_;
};

}  // namespace morvanta::ui
