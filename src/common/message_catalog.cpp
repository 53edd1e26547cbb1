#include "common/message_catalog.h"

#include <iterator>
#include <utility>

namespace morvanta::common {
namespace {

// The built-in English texts, by index. Bytes are Windows-1252 (see 104). Trailing blanks,
// colons and opening parentheses are deliberate: callers append a value right after them.
constexpr const char* kDefaults[] = {
    /*   0 */ "Sending log...",
    /*   1 */ "Cannot send log file!",
    /*   2 */ "Error",
    /*   3 */ "Log error...",
    /*   4 */ "Detail report: (",
    /*   5 */ ": Infected file (",
    /*   6 */ ": Cannot open file (",
    /*   7 */ ": Scanning, please wait...",
    /*   8 */ "Scanning...",
    /*   9 */ "Initialize some settings, please wait...",
    /*  10 */ "Initialize error...",
    /*  11 */ "Infected with ",
    /*  12 */ ": Infected directory ",
    /*  13 */ "You have some viruses in your computer.",
    /*  14 */ "Please Scan your computer with Morvanta Pro to remove discovered viruses.",
    /*  15 */ "Virus list:",
    /*  16 */ "Checking ",
    /*  17 */ " Dangerous files have been found on your computer.",
    /*  18 */ "Click on \"Fix\" button to fix selected tasks.",
    /*  19 */ "You have ",
    /*  20 */ " dangerous viruses & worms in your computer by quick report.",
    /*  21 */ "Alert",
    /*  22 */ "Click on \"Fix\" button to fix selected tasks by quick report!",
    /*  23 */ "Information",
    /*  24 */ ": Your computer is clean!",
    /*  25 */ "Your computer is clean...",
    /*  26 */ "Your computer is clean from this kind of viruses!",
    /*  27 */ "Do you wish to send us your log file for analyze and statistics?",
    /*  28 */ "Question",
    /*  29 */ "Scan process aborted.",
    /*  30 */ "Scan process finished.",
    /*  31 */ "Cleaning please wait...",
    /*  32 */ "Cleaning ",
    /*  33 */ ": Cleaning ",
    /*  34 */ "Cleaning...",
    /*  35 */ "Clean...[%f sec]",
    /*  36 */ ": File cleaned ",
    /*  37 */ ": Cannot clean file.",
    /*  38 */ "Cannot clean file ",
    /*  39 */ " please try to delete this file manually.",
    /*  40 */ ": Directory removed ",
    /*  41 */ "Clean...",
    /*  42 */ ": Cannot remove directory ",
    /*  43 */ " Cleaning process finished!",
    /*  44 */ " alerts have been cleaned!",
    /*  45 */ "Do you wish to send us your log file for further analyze and statistics?",
    /*  46 */ ": Cleaning process aborted!",
    /*  47 */ "If you wish Click on \"Quick Scan\" button to start scan again.",
    /*  48 */ "Fix process aborted.",
    /*  49 */ "Fix process finished.",
    /*  50 */ "Adding alerts to Quarantine, please wait...",
    /*  51 */ "Add in Quarantine ",
    /*  52 */ ": Add in Quarantine ",
    /*  53 */ ": File added ",
    /*  54 */ ": Cannot add file, it might be already in quarantine ",
    /*  55 */ " Current process finished!",
    /*  56 */ " To Fix tasks click on Fix button!",
    /*  57 */ " alerts have been added to quarantine!",
    /*  58 */ "Process finished.",
    /*  59 */ "Would you like to scan your computer for Viruses, Malwares, Worms, Spyware & "
              "Adware?",
    /*  60 */ "Do you want to fix selected alerts?",
    /*  61 */ "Morvanta Pro v4 only supports Microsoft Windows XP, Vista and Win7 platform.",
    /*  62 */ "Last Update: ",
    /*  63 */ "Your version is already upgraded!",
    /*  64 */ "Successfully upgraded!",
    /*  65 */ "Do you want to terminate selected processes?",
    /*  66 */ "Cannot delete process ",
    /*  67 */ "Do you want to delete selected values?",
    /*  68 */ "Cannot delete value ",
    /*  69 */ "Key value ",
    /*  70 */ " does not exists!",
    /*  71 */ "Selected values successfully deleted!",
    /*  72 */ "Active processes (",
    /*  73 */ "Running processes: (",
    /*  74 */ "Scan your computer for viruses.",
    /*  75 */ "",  // reserved
    /*  76 */ "Update virus database via internet.",
    /*  77 */ "Manage active processes.",
    /*  78 */ "Manage Windows startup files.",
    /*  79 */ "Build full report log file.",
    /*  80 */ "Exit program.",
    /*  81 */ "About Morvanta Pro.",
    /*  82 */ "Scan your computer for viruses.",
    /*  83 */ "Abort scanning.",
    /*  84 */ "Fix alerts.",
    /*  85 */ "Back to main window.",
    /*  86 */ "Terminate selected tasks.",
    /*  87 */ "Refresh task list.",
    /*  88 */ "Delete selected startup values.",
    /*  89 */ "Refresh Windows startup list.",
    /*  90 */ "Database updated, database date: ",
    /*  91 */ "Database updated last update date is ",
    /*  92 */ "Finished ",
    /*  93 */ " bytes.",
    /*  94 */ "Cannot update database...",
    /*  95 */ "Cannot update database, check your internet connection or retry later!",
    /*  96 */ "Report bug.",
    /*  97 */ "Report virus.",
    /*  98 */ " dangerous files in your computer, click \"Fix\" button to fix this tasks!",
    /*  99 */ " Scan process abort.",
    /* 100 */ "Your program version is out of date, do you want to upgrade it?",
    /* 101 */ "Your version is ",
    /* 102 */ "New version is ",
    /* 103 */ "Cannot upgrade database until Morvanta Pro is not upgraded to latest version!",
    /* 104 */ "Your database is out of date, do you wan\x92\x92t to upgrade it?",
    /* 105 */ "Download database updating ",
    /* 106 */ "Updating database...",
    /* 107 */ "Downloading ",
    /* 108 */ "Do you want to add selected alerts in Quarantine?",
    /* 109 */ "Quarantine",
    /* 110 */ "Add alerts to quarantine.",
    /* 111 */ "Can not get Service List!",
    /* 112 */ "Running",
    /* 113 */ "Stopped",
    /* 114 */ "Details!",
    /* 115 */ "Refresh Services list!",
    /* 116 */ "Restart service list!",
    /* 117 */ "Stop selected service!",
    /* 118 */ "Start selected service!",
    /* 119 */ "",  // reserved
    /* 120 */ "Manage services.",
    /* 121 */ "File has been sent!",
    /* 122 */ "Complete",
    /* 123 */ "Log file successfully sent, Thank you!",
    /* 124 */ "Log sent...",
    /* 125 */ "Cannot send log file!",
    /* 126 */ "Log error...",
    /* 127 */ "Select language.",
    /* 128 */ "Would you like to scan all files on your computer for complete cleaning (This "
              "might take few minutes).",
    /* 129 */ "Note:",
    /* 130 */ "",  // reserved
    /* 131 */ "Notes:",
    /* 132 */ "1. If some viruses has not been cleaned please try to delete those files manually "
              "or restart your computer in Safe Mode then Scan again.",
    /* 133 */ "",  // reserved
    /* 134 */ "Important note:",
    /* 135 */ "Before scanning please close Internet Explorer/Internet Browsers and all Active "
              "Applications.",
    /* 136 */ "Note:",
    /* 137 */ "To Clean reported tasks please click on Fix Button",
    /* 138 */ "Suspicious file ",
    /* 139 */ " (File not readable)",
    /* 140 */ ": Suspicious file (",
    /* 141 */ "This file can be dangerous for your computer because it is in memory And it is not "
              "readable and it might have unknown random filename.",
    /* 142 */ "Do you want to abort full scan process?",
    /* 143 */ "If aborting without full scan process your computer might not be cleaned 100%!",
    /* 144 */ "Morvanta Pro Scan alert",
    /* 145 */ "Do you want to clean active virus alerts?",
    /* 146 */ "Scan drives ",
    /* 147 */ "Some dangerous files has been found on your computer. For safely reasons please "
              "click on <Scan> button for full scan process of all drives And files in you "
              "computer. Note: This might take couple of minutes.",
    /* 148 */ "Finished...",
    /* 149 */ "Morvanta Pro is upgraded!",
    /* 150 */ "Finished",
    /* 151 */ "Do you want to abort current process?",
    /* 152 */ "Do you want to restore selected tasks?",
    /* 153 */ "Restoring...",
    /* 154 */ "Restoring ",
    /* 155 */ "File restored...",
    /* 156 */ "Cannot restore file!",
    /* 157 */ "Selected tasks have been restored!",
    /* 158 */ "Do you want to clear quarantine?",
    /* 159 */ "Quarantine cleared!",
    /* 160 */ "Do you want to delete selected tasks?",
    /* 161 */ "Deleting",
    /* 162 */ "Deleting ",
    /* 163 */ "Task removed!",
    /* 164 */ "Cannot remove task!",
    /* 165 */ "Selected tasks have been removed!",
    /* 166 */ "File added to Quarantine, you can safely delete it!",
    /* 167 */ "Cannot add file to Quarantine!",
    /* 168 */ "File already exists in Quarantine!",
    /* 169 */ "",  // never given a text
    /* 170 */ "Do you want to build full report?",
    /* 171 */ "Abort log",
    /* 172 */ " full information log file.",
    /* 173 */ "Generated at: ",
    /* 174 */ " on ",
    /* 175 */ "Error writing log file!",
    /* 176 */ "Log process aborted!",
    /* 177 */ "Full report log",
    /* 178 */ "Welcome",
    /* 179 */ "Build log about",
    /* 180 */ "Startup ",
    /* 181 */ "Service ",
    /* 182 */ "Proc ",
    /* 183 */ "Startup folder: (",
    /* 184 */ "Startup name: ",
    /* 185 */ "Command: ",
    /* 186 */ "Win.ini Startup: (",
    /* 187 */ "Path: ",
    /* 188 */ "Win.ini Startup: (",
    /* 189 */ "Keyboard drivers: (",
    /* 190 */ "Win.ini Startup: (",
    /* 191 */ "Name: ",
    /* 192 */ " (No file)",
    /* 193 */ "Services: (",
    /* 194 */ "Service Name: ",
    /* 195 */ "Win.ini Startup: (",
    /* 196 */ "Name: ",
    /* 197 */ " (No file)",
    /* 198 */ "Services: (",
};
static_assert(std::size(kDefaults) == MessageCatalog::kSize, "one default per entry");

constexpr int kUntranslated = 169;

}  // namespace

const std::vector<int>& MessageCatalog::LanguageFileOrder() {
  static const std::vector<int> order = [] {
    // Not index order: existing language files depend on this exact sequence.
    constexpr std::pair<int, int> kRuns[] = {
        {0, 20},   {128, 128}, {21, 26},  {129, 130}, {27, 44},   {131, 133}, {45, 57},
        {136, 137}, {58, 59},  {134, 135}, {60, 127}, {138, 168}, {170, 179},
    };
    std::vector<int> v;
    for (const auto& [first, last] : kRuns)
      for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
  }();
  return order;
}

void MessageCatalog::FillDefaults() {
  for (int i : LanguageFileOrder()) texts_[i] = kDefaults[i];
  texts_[kUntranslated].clear();
  for (int i = kLanguageEntries; i < kSize; ++i) texts_[i] = kDefaults[i];
}

const std::string& MessageCatalog::Text(int index) const {
  static const std::string empty;
  if (index < 0 || index >= kSize) return empty;
  return texts_[index];
}

void MessageCatalog::Set(int index, std::string text) {
  if (index < 0 || index >= kSize) return;
  texts_[index] = std::move(text);
}

}  // namespace morvanta::common
