// The windows' components whose texts a language file replaces: per window, in the window's
// component order, with their class and design caption. The windows create their controls
// with these captions and register them by name in the same order, so the language file's
// reader and writer walk one list.
#pragma once

#include <string>
#include <vector>

namespace morvanta::app {

// The program's windows, in the order they are created at start.
enum class WindowId {
  Main,               // TForm1
  Chooser,            // TForm2
  FullScan,           // TForm3
  Upgrade,            // TForm4
  QuarantineManager,  // TForm9
  ToolWindow,         // TfrmMain
  LogOptimizer,       // TForm12
  IgnoreList,         // TFormIG
  Language,           // TFormL
  ReportManager,      // TFormR
};

// The classes whose components take part; anything else (group boxes, lists, text boxes,
// tabs, status panels) does not.
enum class ComponentClass { Label, Button, XpButton, MenuItem, CheckBox, XpCheckBox, Panel };

struct Component {
  const char* name;  // the window's field, as "Button4"
  ComponentClass kind;
  const char* caption;  // the design caption
  // "-1": the component keeps its texts whatever a language file says.
  const char* hint = "";
};

// The windows a language file covers, in the file's order.
const std::vector<WindowId>& LanguageFileWindows();

// The components of a window in its component order; empty for a window that has none yet.
const std::vector<Component>& ComponentsOf(WindowId window);

// The design caption of a window's component; empty for a name the window does not have.
std::string DesignCaption(WindowId window, const std::string& name);

}  // namespace morvanta::app
