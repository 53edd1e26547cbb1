// How a question or notice looks as a message box: its caption, icon, buttons and flags.
// The windows add the owner.
#pragma once

#include "common/message_catalog.h"
#include "common/views.h"
#include "platform/dialogs.h"

namespace morvanta::app {

// The application's title: the task bar's, and the caption of plain messages.
inline constexpr char kApplicationTitle[] = "Morvanta Pro v4 - SE";

// The caption of the questions before what cannot be undone.
inline constexpr char kIrreversibleCaption[] = "This action can not be undone!";

platform::Message MessageBoxFor(const common::Prompt& prompt, const common::MessageCatalog& catalog);

}  // namespace morvanta::app
