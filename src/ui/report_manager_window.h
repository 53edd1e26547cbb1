// The report manager `TFormR`: one checkable table of every file the machine runs or starts
// automatically, coloured by tick and size, with the context menu its rows choose, "Refresh",
// "Delete selected" and "Save full report log" (which shows the Log Optimizer). The main
// window's "Full report log" shows it; every showing rebuilds the table.
#pragma once

#include <functional>

#include "app/session.h"
#include "runs/report_manager.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TFormR : public Window {
 public:
  static constexpr char kCaption[] = "Report Manager";
  // The menu items' commands.
  enum Command {
    kDeleteFiles = 100,     // general menu
    kTerminateProcesses,    // process menu
    kDeleteProcesses,
    kDeleteValues,          // startup-value menu
    kDeleteValueFiles,
    kTerminateService,      // service menu
    kDeleteServiceFile,
  };

  TFormR(app::Session& session, HWND owner, std::function<void()> showLogOptimizer);

  // Handlers, named after their component and event.
  void FormShow() { xpButton1Click(); }
  void xpButton1Click() { manager_.Refresh(); }  // "Refresh"
  void xpButton2Click() { manager_.DeleteSelected(); }  // "Delete selected"
  void xpButton3Click() { showLogOptimizer_(); }  // "Save full report log"
  void List1SelectItem(int item) { menu_ = manager_.SelectItem(item); }
  void List1Click() { menu_ = manager_.ClickMenu(); }

  // Runs a menu command as its item does; false for no such command.
  bool Run(int command);
  // The context menu the table shows now.
  runs::ReportMenu CurrentMenu() const { return menu_; }
  PopupMenu& MenuOf(runs::ReportMenu menu);
  runs::ReportManager& Manager() { return manager_; }

  ListView List1;
  Button xpButton1, xpButton2, xpButton3;
  PopupMenu GeneralMenu, ProcessMenu, StartupValueMenu, ServiceMenu;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnListNotify(const NMHDR& header, LRESULT& result);
  // The colours of one cell of `List1` (column 0 the kind), by the rules of ColoursOf.
  void PaintCell(NMLVCUSTOMDRAW& draw, int item, int column);
  void OnContextMenu(WPARAM wParam, LPARAM lParam);

  app::Session& session_;
  std::function<void()> showLogOptimizer_;
  ListViewRows rows_{List1};
  WindowPrompts prompts_;
  WindowPump pump_;
  runs::ReportManager manager_;
  runs::ReportMenu menu_ = runs::ReportMenu::General;
};

}  // namespace morvanta::ui
