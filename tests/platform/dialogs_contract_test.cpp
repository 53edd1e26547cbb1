#include <future>
#include <thread>

#include "contract_test.h"
#ifdef _WIN32
#include "platform/win32/dialogs_win32.h"
#include "platform/win32/message_box_robot.h"
#endif
#include "platform/fake/fake_dialogs.h"

namespace morvanta::testing {
namespace {

using platform::Message;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

MORVANTA_CONTRACT_SUITE(DialogsContract);

// What the user saw of one message, and how the box was set up.
struct Seen {
  std::string text;
  bool topmost = false;
  std::optional<MessageAnswer> defaultButton;
};

// Shows a message and answers it as the user would: on the real machine by clicking the
// box from another thread, on the fake through its answer queue.
MessageAnswer ShowAndAnswer(Machine& m, const Message& message, MessageAnswer answer, Seen& seen) {
  auto p = m.Get();
  if (!m.IsReal()) {
    auto& fake = static_cast<platform::fake::FakeDialogs&>(p.dialogs);
    fake.QueueAnswer(answer);
    MessageAnswer result = p.dialogs.Show(message);
    seen = {fake.Shown().back().text, fake.Shown().back().topmost,
            platform::fake::DefaultAnswer(fake.Shown().back())};
    return result;
  }
#ifdef _WIN32
  auto user = std::async(std::launch::async, [&] {
    auto box = platform::win32::WaitForMessageBox(message.caption, 10000);
    if (!box) return;
    seen = {box->text, box->topmost, box->defaultButton};
    platform::win32::PressMessageBoxButton(box->window, answer);
  });
  MessageAnswer result = p.dialogs.Show(message);
  user.wait();
  return result;
#else
  return MessageAnswer::Cancel;
#endif
}

TEST_P(DialogsContract, QuestionsReturnTheUsersAnswer) {
  struct Case {
    MessageAnswer answer;
    bool secondDefault;
  } cases[] = {{MessageAnswer::Yes, false}, {MessageAnswer::No, false}, {MessageAnswer::Yes, true}};
  for (const auto& c : cases) {
    Message m;
    m.text = "Do you want to fix selected alerts?";
    m.caption = "Question";
    m.icon = MessageIcon::Question;
    m.buttons = MessageButtons::YesNo;
    m.secondButtonDefault = c.secondDefault;
    Seen seen;
    EXPECT_EQ(ShowAndAnswer(M(), m, c.answer, seen), c.answer);
    EXPECT_EQ(seen.text, m.text);
    EXPECT_EQ(seen.defaultButton, c.secondDefault ? MessageAnswer::No : MessageAnswer::Yes);
  }
}

TEST_P(DialogsContract, TopmostMessagesStayOnTop) {
  Message m;
  m.text = "Morvanta Pro v4 only supports Microsoft Windows XP, Vista and Win7 platform.";
  m.caption = "Morvanta Pro";
  m.icon = MessageIcon::Error;
  m.topmost = true;
  m.setForeground = true;
  Seen seen;
  EXPECT_EQ(ShowAndAnswer(M(), m, MessageAnswer::Ok, seen), MessageAnswer::Ok);
  EXPECT_EQ(seen.text, m.text);
  EXPECT_EQ(seen.defaultButton, MessageAnswer::Ok);
  // Wine takes MB_TOPMOST without raising the box; Windows and the fake show it on top.
  if (!M().IsReal()) {
    EXPECT_TRUE(seen.topmost);
  }
#ifdef _WIN32
  // 0x40000 MB_TOPMOST, 0x10000 MB_SETFOREGROUND, 0x10 MB_ICONERROR, 0 MB_OK.
  EXPECT_EQ(platform::win32::MessageBoxStyle(m), 0x40000u | 0x10000u | 0x10u);
  m.buttons = MessageButtons::YesNo;
  m.icon = MessageIcon::Question;
  m.topmost = m.setForeground = false;
  m.secondButtonDefault = true;
  // 0x4 MB_YESNO, 0x20 MB_ICONQUESTION, 0x100 MB_DEFBUTTON2.
  EXPECT_EQ(platform::win32::MessageBoxStyle(m), 0x4u | 0x20u | 0x100u);
#endif
}

// Runs the file-open dialog and answers it with a path typed into its file name box, or
// with Cancel: on the real machine from another thread, on the fake through its queue.
std::optional<std::string> ChooseAndAnswer(Machine& m, const platform::OpenFileDialog& dialog,
                                           const std::optional<std::string>& typed) {
  auto p = m.Get();
  if (!m.IsReal()) {
    auto& fake = static_cast<platform::fake::FakeDialogs&>(p.dialogs);
    fake.QueueFileChoice(typed);
    auto chosen = p.dialogs.ChooseFileToOpen(dialog);
    EXPECT_EQ(fake.FileDialogs().back().title, dialog.title);
    return chosen;
  }
#ifdef _WIN32
  auto user = std::async(std::launch::async, [&] {
    auto window = platform::win32::WaitForFileDialog(dialog.title, 10000);
    return window && platform::win32::AnswerFileDialog(*window, typed);
  });
  auto chosen = p.dialogs.ChooseFileToOpen(dialog);
  EXPECT_TRUE(user.get()) << "no file dialog titled " << dialog.title;
  return chosen;
#else
  return std::nullopt;
#endif
}

TEST_P(DialogsContract, TheFileOpenDialogGivesTheChosenPathOrNothing) {
  const std::string file = M().ScratchPath("chosen file.exe");
  ASSERT_TRUE(P().files.WriteAll(file, "a file to choose"));
  platform::OpenFileDialog dialog;
  dialog.title = "Add task into Quaranteen";
  EXPECT_EQ(ChooseAndAnswer(M(), dialog, file), file);
  EXPECT_EQ(ChooseAndAnswer(M(), dialog, std::nullopt), std::nullopt);
}

// Runs the folder chooser and answers it as ChooseAndAnswer does the file dialog; on the real
// machine a confirmation of a new folder is answered with `create`.
std::optional<std::string> ChooseFolderAndAnswer(Machine& m, const platform::FolderDialog& dialog,
                                                 const std::optional<std::string>& typed,
                                                 bool create = true) {
  auto p = m.Get();
  if (!m.IsReal()) {
    auto& fake = static_cast<platform::fake::FakeDialogs&>(p.dialogs);
    fake.QueueFolderChoice(create ? typed : std::nullopt);
    auto chosen = p.dialogs.ChooseFolder(dialog);
    EXPECT_EQ(fake.FolderDialogs().back().start, dialog.start);
    if (chosen && !p.files.Exists(*chosen)) p.files.CreateDirectory(*chosen);
    return chosen;
  }
#ifdef _WIN32
  const bool isNew = typed && !p.files.Exists(*typed);
  auto user = std::async(std::launch::async, [&] {
    auto window = platform::win32::WaitForFolderDialog(dialog.title, 10000);
    if (!window || !platform::win32::AnswerFolderDialog(*window, typed)) return false;
    if (!isNew) return true;
    auto confirm = platform::win32::WaitForMessageBox("Confirm", 10000);
    if (!confirm) return false;
    platform::win32::PressMessageBoxButton(confirm->window, create ? MessageAnswer::Yes : MessageAnswer::No);
    // Declined, the chooser stays open: cancel it.
    if (!create) platform::win32::AnswerFolderDialog(*window, std::nullopt);
    return true;
  });
  auto chosen = p.dialogs.ChooseFolder(dialog);
  EXPECT_TRUE(user.get()) << "no folder chooser titled " << dialog.title;
  return chosen;
#else
  return std::nullopt;
#endif
}

TEST_P(DialogsContract, TheFolderChooserGivesTheChosenFolderCreatingANewOne) {
  const std::string there = M().ScratchPath("chosen folder");
  ASSERT_TRUE(P().files.CreateDirectory(there));
  platform::FolderDialog dialog;
  dialog.title = "Add folder to ignore list";
  EXPECT_EQ(dialog.start, "C:\\");
  EXPECT_EQ(ChooseFolderAndAnswer(M(), dialog, there), there);
  EXPECT_EQ(ChooseFolderAndAnswer(M(), dialog, std::nullopt), std::nullopt);
  const std::string declined = M().ScratchPath("declined");
  EXPECT_EQ(ChooseFolderAndAnswer(M(), dialog, declined, /*create=*/false), std::nullopt);
  EXPECT_FALSE(P().files.Exists(declined));
  const std::string made = M().ScratchPath("made here");
  EXPECT_EQ(ChooseFolderAndAnswer(M(), dialog, made), made);
  EXPECT_TRUE(P().files.DirectoryExists(made));
}

}  // namespace
}  // namespace morvanta::testing
