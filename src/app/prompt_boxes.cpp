#include "app/prompt_boxes.h"

namespace morvanta::app {

using common::Msg;
using common::PromptKind;
using platform::MessageButtons;
using platform::MessageIcon;

platform::Message MessageBoxFor(const common::Prompt& prompt, const common::MessageCatalog& catalog) {
  struct Look {
    Msg caption;  // Msg::None: a fixed caption
    MessageIcon icon;
    bool yesNo;
    bool urgent;
  };
  Look look{Msg::Information, MessageIcon::Information, false, false};
  switch (prompt.kind) {
    case PromptKind::Question: look = {Msg::Question, MessageIcon::Question, true, true}; break;
    case PromptKind::PlainQuestion: look = {Msg::Question, MessageIcon::Question, true, false}; break;
    case PromptKind::Irreversible: look = {Msg::None, MessageIcon::Question, true, false}; break;
    case PromptKind::AlertQuestion: look = {Msg::Alert, MessageIcon::Information, true, true}; break;
    case PromptKind::PlainAlertQuestion: look = {Msg::Alert, MessageIcon::Information, true, false}; break;
    case PromptKind::Information: look = {Msg::Information, MessageIcon::Information, false, false}; break;
    case PromptKind::UrgentInformation: look = {Msg::Information, MessageIcon::Information, false, true}; break;
    case PromptKind::Error: look = {Msg::Error, MessageIcon::Error, false, false}; break;
    case PromptKind::UrgentError: look = {Msg::Error, MessageIcon::Error, false, true}; break;
    case PromptKind::Warning: look = {Msg::None, MessageIcon::Warning, false, false}; break;
    case PromptKind::Plain: look = {Msg::None, MessageIcon::None, false, false}; break;
  }
  platform::Message m;
  m.text = prompt.text;
  if (!prompt.caption.empty())
    m.caption = prompt.caption;
  else if (prompt.kind == PromptKind::Irreversible)
    m.caption = kIrreversibleCaption;
  else if (prompt.kind == PromptKind::Plain)
    m.caption = kApplicationTitle;
  else if (look.caption != Msg::None)
    m.caption = catalog.Text(look.caption);
  m.icon = look.icon;
  m.buttons = look.yesNo ? MessageButtons::YesNo : MessageButtons::Ok;
  m.secondButtonDefault = prompt.kind == PromptKind::Irreversible;
  m.topmost = m.setForeground = look.urgent;
  return m;
}

}  // namespace morvanta::app
