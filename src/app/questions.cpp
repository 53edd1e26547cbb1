#include "app/questions.h"

namespace morvanta::app {

platform::Message MainWindowQuestion(const common::MessageCatalog& catalog, int textEntry,
                                     platform::WindowHandle owner) {
  platform::Message question;
  question.text = catalog.Text(textEntry);
  question.caption = catalog.Text(28);
  question.icon = platform::MessageIcon::Question;
  question.buttons = platform::MessageButtons::YesNo;
  question.topmost = question.setForeground = true;
  question.owner = owner;
  return question;
}

}  // namespace morvanta::app
