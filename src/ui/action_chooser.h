// The action chooser: offered after start, it leads straight to a scan or to the full
// report log, and remembers whether to be offered next time.
#pragma once

#include <functional>

#include "platform/registry.h"
#include "ui/component_registry.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace morvanta::ui {

class TForm1;

class TForm2 : public Window {
 public:
  TForm2(TForm1& main, platform::Registry& registry);

  // Timer1: off at start; its tick switches itself off and shows the chooser.
  void EnableTimer();
  void Timer1Timer();

  void ScanClick();
  void ReportClick();
  void CloseClick() { FormClose(); }

  CheckBox c1;
  Label titleLabel;
  Button scanButton, reportButton, closeButton;
  const ComponentRegistry& Components() const { return components_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override { FormClose(); }

 private:
  void FormShow();
  void FormClose();

  TForm1& main_;
  platform::Registry& registry_;
  ComponentRegistry components_;
};

}  // namespace morvanta::ui
