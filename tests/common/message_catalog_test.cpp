#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "common/message_catalog.h"

namespace morvanta::common {
namespace {

std::vector<std::string> Snapshot(const MessageCatalog& c) {
  std::vector<std::string> all;
  for (int i = 0; i < MessageCatalog::kSize; ++i) all.push_back(c.Text(i));
  return all;
}

// Every built-in text, byte for byte, as the catalogue's table gives it (taken once from the
// table, apart from the catalogue's own source): a typo anywhere fails here.
constexpr const char* kGolden[] = {
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
    /*  59 */ "Would you like to scan your computer for Viruses, Malwares, Worms, Spyware & Adware?",
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
    /*  75 */ "",
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
    /* 119 */ "",
    /* 120 */ "Manage services.",
    /* 121 */ "File has been sent!",
    /* 122 */ "Complete",
    /* 123 */ "Log file successfully sent, Thank you!",
    /* 124 */ "Log sent...",
    /* 125 */ "Cannot send log file!",
    /* 126 */ "Log error...",
    /* 127 */ "Select language.",
    /* 128 */ "Would you like to scan all files on your computer for complete cleaning (This might take few minutes).",
    /* 129 */ "Note:",
    /* 130 */ "",
    /* 131 */ "Notes:",
    /* 132 */ "1. If some viruses has not been cleaned please try to delete those files manually or restart your computer in Safe Mode then Scan again.",
    /* 133 */ "",
    /* 134 */ "Important note:",
    /* 135 */ "Before scanning please close Internet Explorer/Internet Browsers and all Active Applications.",
    /* 136 */ "Note:",
    /* 137 */ "To Clean reported tasks please click on Fix Button",
    /* 138 */ "Suspicious file ",
    /* 139 */ " (File not readable)",
    /* 140 */ ": Suspicious file (",
    /* 141 */ "This file can be dangerous for your computer because it is in memory And it is not readable and it might have unknown random filename.",
    /* 142 */ "Do you want to abort full scan process?",
    /* 143 */ "If aborting without full scan process your computer might not be cleaned 100%!",
    /* 144 */ "Morvanta Pro Scan alert",
    /* 145 */ "Do you want to clean active virus alerts?",
    /* 146 */ "Scan drives ",
    /* 147 */ "Some dangerous files has been found on your computer. For safely reasons please click on <Scan> button for full scan process of all drives And files in you computer. Note: This might take couple of minutes.",
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
    /* 169 */ "",
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
static_assert(sizeof kGolden / sizeof kGolden[0] == MessageCatalog::kSize, "one text per entry");

TEST(MessageCatalog, EveryDefaultTextIsExact) {
  const MessageCatalog catalog;
  for (int i = 0; i < MessageCatalog::kSize; ++i) EXPECT_EQ(catalog.Text(i), kGolden[i]) << "entry " << i;
}

TEST(MessageCatalog, NamedEntriesAreTheirNumbers) {
  const MessageCatalog catalog;
  EXPECT_EQ(catalog.Text(Msg::Error), kGolden[2]);
  EXPECT_EQ(catalog.Text(Msg::LastUpdate), kGolden[62]);
  EXPECT_EQ(catalog.Text(Msg::DatabaseOutOfDate), kGolden[104]);
  EXPECT_EQ(catalog.Text(Msg::Unused169), "");
  EXPECT_EQ(catalog.Text(Msg::ServicesSection198), kGolden[198]);
  EXPECT_EQ(catalog.Text(Msg::None), "");
}

// Callers append values straight after these, or compare against them, so every byte counts.
TEST(MessageCatalog, DefaultsOthersRelyOn) {
  struct Case {
    int index;
    const char* text;
  };
  const Case cases[] = {
      {2, "Error"},
      {5, ": Infected file ("},
      {18, "Click on \"Fix\" button to fix selected tasks."},
      {21, "Alert"},
      {23, "Information"},
      {28, "Question"},
      {35, "Clean...[%f sec]"},
      {59, "Would you like to scan your computer for Viruses, Malwares, Worms, Spyware & Adware?"},
      {60, "Do you want to fix selected alerts?"},
      {61, "Morvanta Pro v4 only supports Microsoft Windows XP, Vista and Win7 platform."},
      {62, "Last Update: "},
      {72, "Active processes ("},
      {74, "Scan your computer for viruses."},
      {82, "Scan your computer for viruses."},
      {89, "Refresh Windows startup list."},
      {128, "Would you like to scan all files on your computer for complete cleaning "
            "(This might take few minutes)."},
      {147, "Some dangerous files has been found on your computer. For safely reasons please "
            "click on <Scan> button for full scan process of all drives And files in you "
            "computer. Note: This might take couple of minutes."},
      {179, "Build log about"},
      {180, "Startup "},
      {192, " (No file)"},
      {198, "Services: ("},
  };
  MessageCatalog c;
  for (const auto& k : cases) EXPECT_EQ(c.Text(k.index), k.text) << "entry " << k.index;
}

TEST(MessageCatalog, OddBytesAndTheEmptySlot) {
  MessageCatalog c;
  // Two Windows-1252 right single quotation marks, not ASCII apostrophes.
  const std::string expected = std::string("Your database is out of date, do you wan") +
                               "\x92\x92" + "t to upgrade it?";
  EXPECT_EQ(c.Text(104), expected);
  EXPECT_EQ(c.Text(169), "");
  // Nothing else in the built-in texts leaves ASCII.
  for (int i = 0; i < MessageCatalog::kSize; ++i) {
    if (i == 104) continue;
    for (unsigned char ch : c.Text(i)) EXPECT_LT(ch, 0x80) << "entry " << i;
  }
}

TEST(MessageCatalog, EqualDefaultsAreSeparateSlots) {
  const std::vector<std::vector<int>> groups = {
      {1, 125}, {3, 126}, {129, 136}, {186, 188, 190, 195}, {191, 196}};
  for (const auto& group : groups) {
    for (int changed : group) {
      MessageCatalog c;
      for (int other : group) ASSERT_EQ(c.Text(other), c.Text(group[0])) << other;
      const std::string before = c.Text(changed);
      c.Set(changed, "translated");
      for (int other : group)
        EXPECT_EQ(c.Text(other), other == changed ? "translated" : before)
            << "set " << changed << ", read " << other;
    }
  }
}

TEST(MessageCatalog, LanguageFileOrder) {
  const auto& order = MessageCatalog::LanguageFileOrder();
  ASSERT_EQ(order.size(), 179u);

  std::set<int> seen(order.begin(), order.end());
  EXPECT_EQ(seen.size(), order.size()) << "duplicate index";
  std::set<int> expected;
  for (int i = 0; i < MessageCatalog::kLanguageEntries; ++i)
    if (i != 169) expected.insert(i);
  EXPECT_EQ(seen, expected);

  // Where the file order departs from index order.
  const struct {
    size_t position;
    int index;
  } fixed[] = {{0, 0},    {20, 20},   {21, 128},  {22, 21},   {27, 26},   {28, 129},
               {29, 130}, {30, 27},   {47, 44},   {48, 131},  {50, 133},  {51, 45},
               {63, 57},  {64, 136},  {65, 137},  {66, 58},   {67, 59},   {68, 134},
               {69, 135}, {70, 60},   {137, 127}, {138, 138}, {168, 168}, {169, 170},
               {178, 179}};
  for (const auto& f : fixed) EXPECT_EQ(order[f.position], f.index) << "position " << f.position;
}

TEST(MessageCatalog, OutOfRangeIsHarmless) {
  MessageCatalog c;
  const auto before = Snapshot(c);
  for (int index : {-1, MessageCatalog::kSize, INT_MIN, INT_MAX}) {
    c.Set(index, "stray");
    EXPECT_EQ(c.Text(index), "") << index;
  }
  EXPECT_EQ(Snapshot(c), before);
}

TEST(MessageCatalog, FillDefaultsUndoesEveryChange) {
  const auto defaults = Snapshot(MessageCatalog());
  MessageCatalog c;
  for (int i = 0; i < MessageCatalog::kSize; ++i) c.Set(i, "_end");
  c.FillDefaults();
  EXPECT_EQ(Snapshot(c), defaults);
  EXPECT_EQ(c.Text(169), "");
}

}  // namespace
}  // namespace morvanta::common
