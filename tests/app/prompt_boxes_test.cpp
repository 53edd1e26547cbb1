#include <gtest/gtest.h>

#include "app/prompt_boxes.h"

namespace morvanta::app {
namespace {

using common::Msg;
using common::PromptKind;
using platform::MessageButtons;
using platform::MessageIcon;

// Every kind of prompt as a message box: the caption, icon, buttons and flags it gets.
TEST(PromptBoxes, EachKindHasItsCaptionIconButtonsAndFlags) {
  const common::MessageCatalog catalog;
  const struct Case {
    PromptKind kind;
    const char* caption;
    MessageIcon icon;
    MessageButtons buttons;
    bool urgent, noByDefault;
  } cases[] = {
      {PromptKind::Question, "Question", MessageIcon::Question, MessageButtons::YesNo, true, false},
      {PromptKind::PlainQuestion, "Question", MessageIcon::Question, MessageButtons::YesNo, false, false},
      {PromptKind::Irreversible, "This action can not be undone!", MessageIcon::Question,
       MessageButtons::YesNo, false, true},
      {PromptKind::AlertQuestion, "Alert", MessageIcon::Information, MessageButtons::YesNo, true, false},
      {PromptKind::PlainAlertQuestion, "Alert", MessageIcon::Information, MessageButtons::YesNo, false, false},
      {PromptKind::Information, "Information", MessageIcon::Information, MessageButtons::Ok, false, false},
      {PromptKind::UrgentInformation, "Information", MessageIcon::Information, MessageButtons::Ok, true, false},
      {PromptKind::Error, "Error", MessageIcon::Error, MessageButtons::Ok, false, false},
      {PromptKind::UrgentError, "Error", MessageIcon::Error, MessageButtons::Ok, true, false},
      {PromptKind::Warning, "", MessageIcon::Warning, MessageButtons::Ok, false, false},
      {PromptKind::Plain, "Morvanta Pro v4 - SE", MessageIcon::None, MessageButtons::Ok, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    const platform::Message m = MessageBoxFor({c.kind, Msg::None, "the text"}, catalog);
    EXPECT_EQ(m.text, "the text");
    EXPECT_EQ(m.caption, c.caption);
    EXPECT_EQ(m.icon, c.icon);
    EXPECT_EQ(m.buttons, c.buttons);
    EXPECT_EQ(m.topmost, c.urgent);
    EXPECT_EQ(m.setForeground, c.urgent);
    EXPECT_EQ(m.secondButtonDefault, c.noByDefault);
    // A caption the prompt names takes the place of the kind's.
    EXPECT_EQ(MessageBoxFor({c.kind, Msg::None, "t", "Morvanta Pro Scan alert"}, catalog).caption,
              "Morvanta Pro Scan alert");
  }
}

}  // namespace
}  // namespace morvanta::app
