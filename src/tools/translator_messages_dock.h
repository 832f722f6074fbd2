// The translator's warnings and errors in a list docked under the editor. Choosing an
// entry opens its file (or brings its tab forward) with the caret on the entry's line.
#pragma once
#include <vector>

#include "tools/translator_messages.h"

struct App;
class QDockWidget;

// Fills the list and shows it; with no messages the list is hidden.
void ShowTranslatorMessages(App& app, const std::vector<TranslatorMessage>& messages);
// Opens or activates the message's file and moves the caret to its line; false when
// the message has no file or the file cannot be opened in a tab.
bool GoToTranslatorMessage(App& app, const TranslatorMessage& message);
// The dock, or null before the first messages were shown.
QDockWidget* TranslatorMessagesDock(App& app);

inline constexpr const char* kTranslatorMessagesTitle = "Page messages";
