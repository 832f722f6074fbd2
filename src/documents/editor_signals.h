// Lets other parts of the program follow an editor's notifications without including
// the editing component.
#pragma once
#include <functional>

class QsciScintilla;

// Runs `onNotify` whenever `editor` updates its display (text, caret or selection changed)
// or gets the keyboard focus. Watching an editor a second time does nothing.
void WatchEditor(QsciScintilla* editor, std::function<void()> onNotify);
