// Editor set-up and styling.
#pragma once
#include <string>

#include "core/command_ids.h"

struct App;
class QsciScintilla;

// Re-applies the editor styling of the active document.
void ApplyEditorStyle(App& app);
// The per-document editor settings applied when a tab is created.
void ConfigureNewEditor(App& app, int slot);

// Widens the line-number margin, when it is shown, until the document's last line number fits
// (it never narrows: the set width is the least).
void FitNumberMargin(QsciScintilla* e);
int DigitCount(long long n);

// The lexer's one keyword list: the eight word texts joined and lower-cased.
std::string KeywordList();
// Sets the check mark of a menu item of the main window.
void SetMenuCheck(App& app, Cmd item, bool checked);
// Lexer 51: words, rem and apostrophe comments, the "!" run, strings and numbers.
inline constexpr int kEditorLexer = 51;

// Web files other than programs get the component's own lexers: HTML (also .htm and
// .xhtml), CSS and JavaScript (the C-family lexer). Every other file keeps lexer 51.
inline constexpr int kHtmlLexer = 4;
inline constexpr int kCssLexer = 38;
inline constexpr int kJavaScriptLexer = 3;
int LexerForPath(const std::string& path);
