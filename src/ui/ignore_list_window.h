// The ignore lists' window `TFormIG`: the file list's entries and the registry list's as
// check lists, a menu bar (and the file list's pop-up menu) that removes checked entries,
// clears a list, checks or unchecks every line, and adds a folder the user chooses. Created
// at the start with both lists loaded; every showing loads them again, closing saves both.
#pragma once

#include "app/session.h"
#include "platform/dialogs.h"
#include "runs/ignore_list_manager.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "ui/window_views.h"

namespace morvanta::ui {

class TFormIG : public Window {
 public:
  static constexpr char kCaption[] = "Ignore list (Built 20.03.2006)";
  // The menu items' commands.
  enum Command {
    kDeleteFiles = 100,
    kClearFiles,
    kSelectAll,
    kDeselectAll,
    kAddFolder,
    kDeleteValues,
    kClearValues,
    kCheckAll,
    kUnCheckAll,
    kClose,
  };

  TFormIG(app::Session& session, HWND owner);

  // Handlers, named after their component and event.
  void FormShow();
  void FormClose();
  void Deletefilesfromignorelist1Click() { manager_.DeleteCheckedFiles(); }
  void Clearfileignorelist1Click() { manager_.ClearFiles(); }
  void SelectAll1Click() { manager_.CheckAllFiles(true); }
  void DeselectAll1Click() { manager_.CheckAllFiles(false); }
  void Addfoldertoignorelist1Click();
  void Deleteregistryvaluesfromignorelist1Click() { manager_.DeleteCheckedValues(); }
  void Clearregistryignorelist1Click() { manager_.ClearValues(); }
  void CheckAll1Click() { manager_.CheckAllValues(true); }
  void UnCheckAll1Click() { manager_.CheckAllValues(false); }
  void Close1Click();

  // Runs a menu command as its item does; false for no such command.
  bool Run(int command);

  Label Label1, Label2;
  ListView List1, List2;
  MenuBar MainMenu1;
  PopupMenu PopupMenu1;  // `List1`'s
  platform::FolderDialog Folder1;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override { Close1Click(); }

 private:
  void OnContextMenu(WPARAM wParam, LPARAM lParam);

  app::Session& session_;
  ListViewRows files_{List1};
  ListViewRows registry_{List2};
  WindowPrompts prompts_;
  runs::IgnoreListManager manager_;
};

}  // namespace morvanta::ui
