// The main window's questions: caption "Question", Yes and No, the question icon, on top
// and brought to the foreground.
#pragma once

#include "app/message_catalog.h"
#include "platform/dialogs.h"

namespace morvanta::app {

platform::Message MainWindowQuestion(const MessageCatalog& catalog, int textEntry,
                                     platform::WindowHandle owner);

}  // namespace morvanta::app
