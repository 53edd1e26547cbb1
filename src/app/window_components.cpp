#include "app/window_components.h"

namespace morvanta::app {
namespace {

using C = ComponentClass;

// The main window, page by page.
const std::vector<Component> kMain = {
    {"bannerLabel", C::Label, "Morvanta Pro - SE"},
    {"Label2", C::Label, "Last update: 13.7.2005", "-1"},
    {"Button4", C::Button, "Scan for viruses"},
    {"Button7", C::Button, "Update"},
    {"Button8", C::Button, "Process Manager"},
    {"xpButton15", C::XpButton, "Services"},
    {"Button9", C::Button, "Startup files"},
    {"Button10", C::Button, "Full report log"},
    {"xpButton6", C::XpButton, "Quarantine"},
    {"xpButtonLanguage", C::XpButton, "Language"},
    {"xpButtonIgnoreList", C::XpButton, "Ignore list"},
    {"xpButton3", C::XpButton, "Report bug"},
    {"xpButton4", C::XpButton, "Report virus"},
    {"Button18", C::Button, "About"},
    {"Button17", C::Button, "Close"},
    {"wormsLabel", C::Label, "Worms && Viruses list:"},
    {"Button1", C::Button, "Quick scan"},
    {"Button3", C::Button, "Abort"},
    {"xpButton5", C::XpButton, "Add to Quarantine"},
    {"Button2", C::Button, "Fix"},
    {"Button6", C::Button, "Back"},
    {"Label3", C::Label, "Active processes:"},
    {"cbx1", C::CheckBox, "Delete process from your hard drive!"},
    {"Button11", C::Button, "End Task"},
    {"Button12", C::Button, "Refresh"},
    {"Button13", C::Button, "Back"},
    {"startupLabel", C::Label, "Startup files:"},
    {"Button14", C::Button, "Delete values"},
    {"Button15", C::Button, "Refresh"},
    {"xpButton14", C::XpButton, "Details"},
    {"Button16", C::Button, "Back"},
    {"aboutTitle", C::Label, "Morvanta Pro - SE (Buld date: 30.1.2012)", "-1"},
    {"aboutContact", C::Label,
     "Quorrin Software\r\nSupport: support@morvanta.example\r\nWeb: www.morvanta.example", "-1"},
    {"Button19", C::Button, "Back"},
    {"xpButton10", C::XpButton, "Start Service"},
    {"xpButton9", C::XpButton, "Stop Service"},
    {"xpButton11", C::XpButton, "Restart Service"},
    {"xpButton12", C::XpButton, "Refresh"},
    {"xpButton13", C::XpButton, "Details"},
    {"xpButton8", C::XpButton, "Back"},
};

const std::vector<Component> kChooser = {
    {"titleLabel", C::Label, "Welcome, Morvanta Pro"},
    {"scanButton", C::XpButton, "Scan for viruses"},
    {"reportButton", C::XpButton, "Full report log"},
    {"c1", C::XpCheckBox, "Show this dialog next time on startup."},
    {"closeButton", C::XpButton, "Close action window"},
};

// The drive window of the full drive scan. Its label shows the chosen drives, which the
// program writes from the catalogue.
const std::vector<Component> kFullScan = {
    {"xpButton1", C::XpButton, "Scan"},
    {"xpButton2", C::XpButton, "Refresh"},
    {"xpButton3", C::XpButton, "Abort"},
    {"Label1", C::Label, "Scan drives ", "-1"},
};

// The Quarantine Manager. Its list's columns and its status bar are not in the file.
const std::vector<Component> kQuarantine = {
    {"xpButton1", C::XpButton, "Close"},
    {"xpButton2", C::XpButton, "Restore selected tasks"},
    {"xpButton3", C::XpButton, "Add Task"},
    {"xpButton4", C::XpButton, "Remove Task"},
    {"xpButton5", C::XpButton, "Clear Quarantine"},
    {"xpButton6", C::XpButton, "Refresh"},
};

// The tool window: its menus first, then the three tabs.
const std::vector<Component> kToolWindow = {
    {"mnuDel", C::MenuItem, "&Remove from Startup List"},
    {"mnuInf", C::MenuItem, "&Detail Information"},
    {"mnuAutomatic", C::MenuItem, "&Automatic"},
    {"mnuManual", C::MenuItem, "&Manual"},
    {"mnuDisabled", C::MenuItem, "&Disabled"},
    {"registryLabel", C::Label, "Registry:"},
    {"folderLabel", C::Label, "Startup Folder:"},
    {"Label1", C::Label, "NOTE: Some changes will not take effect until the Computer is restarted."},
    {"legendLabel", C::Label, "= Non-Microsoft Service"},
    {"cmdServiceStart", C::XpButton, "Start Service"},
    {"cmdServiceStop", C::XpButton, "Stop Service"},
    {"cmdServiceRestart", C::XpButton, "Restart Service"},
    {"cmdServiceChangeStartupMode", C::XpButton, "Startup mode"},
    {"filterLabel", C::Label, "Keyboard Filter Driver:"},
    {"filterNote", C::Label,
     "NOTE: Some Keyboard Filter Drivers is Parts of Spyware. In Standard Windows OS, there is no "
     "Keyboard Filter Driver. You should remove all Keyboard Filter Drivers in your Computer!"},
    {"systemIniLabel", C::Label, "System.ini:"},
    {"winIniLabel", C::Label, "Win.ini:"},
    {"iniNote", C::Label,
     "NOTE: Some Drivers maybe Parts of SpyWare. You should disable all unknown Drivers in your "
     "Computer!"},
};

// The upgrade window. The program writes the new version and the transfer into the labels.
const std::vector<Component> kUpgrade = {
    {"Label1", C::Label, "New Version: 0.0.0"},
    {"Label2", C::Label, "Transfer"},
    {"Button1", C::Button, "Cancel"},
};

// The language window. Its list of files is not in the file.
const std::vector<Component> kLanguage = {
    {"xpButton1", C::XpButton, "Apply"},
    {"xpButton2", C::XpButton, "Default"},
    {"xpButton3", C::XpButton, "Save default language"},
};

// The log optimizer: the section boxes inside their group box (whose caption comes from
// the catalogue), then the buttons.
const std::vector<Component> kLogOptimizer = {
    {"xpCheckBox1", C::XpCheckBox, "Startup files."},
    {"xpCheckBox2", C::XpCheckBox, "Active Services."},
    {"xpCheckBox3", C::XpCheckBox, "Active processes."},
    {"xpCheckBox4", C::XpCheckBox, "Infected files."},
    {"xpButton1", C::XpButton, "Build log"},
    {"xpButton2", C::XpButton, "Cancel"},
};

const std::vector<Component> kNone;

}  // namespace

const std::vector<WindowId>& LanguageFileWindows() {
  static const std::vector<WindowId> windows = {
      WindowId::Main,       WindowId::Chooser,  WindowId::FullScan, WindowId::Upgrade,
      WindowId::QuarantineManager, WindowId::ToolWindow, WindowId::Language,
      WindowId::LogOptimizer};
  return windows;
}

const std::vector<Component>& ComponentsOf(WindowId window) {
  switch (window) {
    case WindowId::Main: return kMain;
    case WindowId::Chooser: return kChooser;
    case WindowId::FullScan: return kFullScan;
    case WindowId::QuarantineManager: return kQuarantine;
    case WindowId::ToolWindow: return kToolWindow;
    case WindowId::Upgrade: return kUpgrade;
    case WindowId::Language: return kLanguage;
    case WindowId::LogOptimizer: return kLogOptimizer;
    default: return kNone;  // these windows gain their components with their features
  }
}

std::string DesignCaption(WindowId window, const std::string& name) {
  for (const Component& c : ComponentsOf(window))
    if (name == c.name) return c.caption;
  return "";
}

}  // namespace morvanta::app
