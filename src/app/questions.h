// The main window's questions: caption "Question", Yes and No, the question icon, on top
// and brought to the foreground.
#pragma once

#include "common/message_catalog.h"
#include "platform/dialogs.h"

namespace morvanta::app {

platform::Message MainWindowQuestion(const common::MessageCatalog& catalog, int textEntry,
                                     platform::WindowHandle owner);

}  // namespace morvanta::app
