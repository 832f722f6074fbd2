// The one gateway to the editing component. Everything else talks to editors through
// these calls; only documents/ includes QScintilla itself.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class QsciScintilla;
struct App;

// Sends a Scintilla message to `editor` (nothing, and 0, when it is null).
intptr_t Send(QsciScintilla* editor, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);
// The same to the active editor.
intptr_t Send(App& app, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);

// Every byte of the editor's text, NUL bytes included (a copy).
std::string EditorText(QsciScintilla* editor);
// The editor's own buffer, without a copy. Valid until the text next changes.
std::string_view EditorBytes(QsciScintilla* editor);
// Length of the text in bytes.
intptr_t EditorLength(QsciScintilla* editor);
// Replaces the text with every byte of `bytes` (NUL bytes included).
void SetEditorText(QsciScintilla* editor, const std::string& bytes);
// Fills a freshly created editor with a file's bytes: room is made in one step and no undo
// history is kept, so a large file is not copied twice.
void LoadEditorText(QsciScintilla* editor, const std::string& bytes);
std::string SelectedText(QsciScintilla* editor);
// Bytes of the range [start, end).
std::string TextRange(QsciScintilla* editor, intptr_t start, intptr_t end);

// Inserts `text` into the active editor at the caret without moving the caret.
void InsertTextAtCaret(App& app, const std::string& text);
// The line break step between pieces of a fragment: end of the line, then a new line.
void LineBreakStep(App& app);

// Creates an editor for a document page (UTF-8 mode, our accelerators win over its keys).
QsciScintilla* CreateEditor(App& app, class QWidget* page);
// Keeps the component's accessibility work for when assistive technology is active
// (its per-change cost grows with the distance from the start of the document). While none
// is active the editor does not report insertions and deletions (SCN_MODIFIED for text, and
// so QsciScintilla::textChanged): follow changes through the save point notifications,
// SCN_UPDATEUI, or the commands that make them. Null installs what is needed once.
void FollowAssistiveTechnology(QsciScintilla* editor);
