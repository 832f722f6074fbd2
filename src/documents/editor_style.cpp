// Editor set-up and styling.
#include "documents/editor_style.h"

#include <QMainWindow>
#include <QAction>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/keywords.h"
#include "core/text.h"
#include "documents/editor.h"

namespace {

using Sci = QsciScintillaBase;

// The lexer's styles in the order the styling pass sets them.
constexpr int kLexerStyles[] = {7, 14, 6, 1, 3, 4, 2};

void SetCaretStyle(QsciScintilla* e, const Settings& s) {
  if (s.thinCursor == 1) Send(e, Sci::SCI_SETCARETSTYLE, 1);
  if (s.blockCursor == 1) Send(e, Sci::SCI_SETCARETSTYLE, 2);
}

void SetTextMargin(QsciScintilla* e, const Settings& s) {
  Send(e, Sci::SCI_SETMARGINLEFT, 0, s.editorsMargin == 1 ? 9 : 0);
}

// Styles what is on screen; Scintilla styles the rest as it comes into view, so a large
// document is not relexed whole on every pass.
void ColouriseVisible(QsciScintilla* e) {
  intptr_t length = Send(e, Sci::SCI_GETLENGTH);
  intptr_t firstDoc = Send(e, Sci::SCI_DOCLINEFROMVISIBLE, Send(e, Sci::SCI_GETFIRSTVISIBLELINE));
  intptr_t lastDoc = firstDoc + Send(e, Sci::SCI_LINESONSCREEN) + 1;
  intptr_t end = Send(e, Sci::SCI_GETLINEENDPOSITION, lastDoc);
  if (end <= 0 || end > length) end = length;
  intptr_t styled = Send(e, Sci::SCI_GETENDSTYLED);
  if (styled < end) Send(e, Sci::SCI_COLOURISE, 0, end);
}

// Which System Colors field colours each style of the web lexers.
struct StyleColour {
  int style;
  int Settings::*colour;
};
using S = Settings;

constexpr StyleColour kHtmlStyles[] = {
    {0, &S::colorMainText},  {8, &S::colorMainText}, {19, &S::colorMainText}, {41, &S::colorMainText},
    {46, &S::colorMainText}, {1, &S::colorKeywords}, {2, &S::colorKeywords},  {11, &S::colorKeywords},
    {47, &S::colorKeywords}, {3, &S::colorOperator}, {4, &S::colorOperator},  {50, &S::colorOperator},
    {6, &S::colorStrings},   {7, &S::colorStrings},  {48, &S::colorStrings},  {49, &S::colorStrings},
    {9, &S::colorComment},   {20, &S::colorComment}, {42, &S::colorComment},  {43, &S::colorComment},
    {44, &S::colorComment},  {5, &S::colorNumbers},  {10, &S::colorNumbers},  {45, &S::colorNumbers},
    {21, &S::colorDoctype},  {22, &S::colorDoctype}, {12, &S::colorDoctype},  {13, &S::colorDoctype},
};
constexpr StyleColour kCssStyles[] = {
    {0, &S::colorMainText},  {6, &S::colorMainText},  {7, &S::colorMainText},  {15, &S::colorMainText},
    {17, &S::colorMainText}, {19, &S::colorMainText}, {1, &S::colorKeywords},  {2, &S::colorKeywords},
    {3, &S::colorKeywords},  {4, &S::colorKeywords},  {10, &S::colorKeywords}, {18, &S::colorKeywords},
    {5, &S::colorOperator},  {8, &S::colorNumbers},   {9, &S::colorComment},   {13, &S::colorStrings},
    {14, &S::colorStrings},  {11, &S::colorDoctype},  {12, &S::colorDoctype},
};
constexpr StyleColour kJavaScriptStyles[] = {
    {0, &S::colorMainText},  {11, &S::colorMainText}, {1, &S::colorComment}, {2, &S::colorComment},
    {3, &S::colorComment},   {15, &S::colorComment},  {4, &S::colorNumbers}, {5, &S::colorKeywords},
    {16, &S::colorKeywords}, {6, &S::colorStrings},   {7, &S::colorStrings}, {12, &S::colorStrings},
    {14, &S::colorStrings},  {10, &S::colorOperator},
};

const char* const kJavaScriptKeywords =
    "async await break case catch class const continue debugger default delete do else export extends "
    "false finally for function get if import in instanceof let new null of return set static super "
    "switch this throw true try typeof undefined var void while with yield";

template <size_t N>
void StyleWebLexer(QsciScintilla* e, const Settings& s, const StyleColour (&styles)[N], intptr_t font) {
  for (const StyleColour& sc : styles) {
    Send(e, Sci::SCI_STYLESETFONT, sc.style, font);
    Send(e, Sci::SCI_STYLESETSIZE, sc.style, s.fontSize);
    if (s.syntaxHighlighting == 1) Send(e, Sci::SCI_STYLESETFORE, sc.style, s.*sc.colour);
  }
}

// The lexer and its colours for the active document's kind; true when it is not lexer 51.
bool ApplyWebLexer(App& app, QsciScintilla* e, intptr_t font) {
  const int slot = app.activeSlot;
  const std::string& path =
      slot >= 1 && slot <= kMaxDocuments && app.docs[slot].editor == e ? app.docs[slot].path : app.currentPath;
  const int lexer = LexerForPath(path);
  const Settings& s = app.settings;
  const char* keywords = kJavaScriptKeywords;
  switch (lexer) {
    case kHtmlLexer: StyleWebLexer(e, s, kHtmlStyles, font); break;
    case kCssLexer:
      StyleWebLexer(e, s, kCssStyles, font);
      keywords = "";
      break;
    case kJavaScriptLexer: StyleWebLexer(e, s, kJavaScriptStyles, font); break;
    default: return false;
  }
  Send(e, Sci::SCI_SETLEXER, static_cast<uintptr_t>(lexer));
  // The HTML lexer reads script keywords from its second list, the C-family lexer from its first.
  Send(e, Sci::SCI_SETKEYWORDS, lexer == kHtmlLexer ? 1 : 0, reinterpret_cast<intptr_t>(keywords));
  return true;
}

}  // namespace

int LexerForPath(const std::string& path) {
  const std::string ext = core::ToLower(core::ExtensionOf(path));
  if (ext == "html" || ext == "htm" || ext == "xhtml") return kHtmlLexer;
  if (ext == "css") return kCssLexer;
  if (ext == "js") return kJavaScriptLexer;
  return kEditorLexer;
}

std::string KeywordList() {
  std::string all;
  for (const char* t : core::KeywordTexts()) all += t;
  return core::ToLower(all);
}

void SetMenuCheck(App& app, Cmd item, bool checked) {
  QMainWindow* window = ShellWindow(app);
  if (!window) return;
  if (QAction* a = window->findChild<QAction*>(QString::number(Number(item)))) {
    a->setCheckable(true);
    a->setChecked(checked);
  }
}

void ConfigureNewEditor(App& app, int slot) {
  QsciScintilla* e = app.docs[slot].editor;
  if (!e) return;
  const Settings& s = app.settings;
  std::string font = s.fontName;
  SetTextMargin(e, s);
  Send(e, Sci::SCI_STYLESETFONT, 0, reinterpret_cast<intptr_t>(font.c_str()));
  Send(e, Sci::SCI_STYLESETSIZE, 0, s.fontSize);
  SetCaretStyle(e, s);
  SetMenuCheck(app, Cmd::LineNumbers, s.lineNumbers == 1);
  SetMenuCheck(app, Cmd::FollowActiveDocument, s.followActiveDocument == 1);
  SetMenuCheck(app, Cmd::PreviewWhileTyping, s.previewWhileTyping == 1);
  SetMenuCheck(app, Cmd::PreviewOnOtherDevices, s.previewOtherDevices == 1);
  Send(e, Sci::SCI_SETMARGINWIDTHN, 0, s.lineNumbers == 1 ? 42 : 0);
  Send(e, Sci::SCI_SETSEL, 0, 0);
  Send(e, Sci::SCI_EMPTYUNDOBUFFER);
  if (s.lineMarkers == 1) {
    SetMenuCheck(app, Cmd::EndOfLineMarks, true);
    Send(e, Sci::SCI_SETVIEWEOL, 1);
  }
  if (s.wrapText == 1) {
    Send(e, Sci::SCI_SETWRAPMODE, Sci::SC_WRAP_WORD);
    SetMenuCheck(app, Cmd::WrapText, true);
  }
  Send(e, Sci::SCI_SETSCROLLWIDTHTRACKING, 1);
  e->setFocus();
}

void ApplyEditorStyle(App& app) {
  QsciScintilla* e = app.activeEditor;
  if (!e) return;
  const Settings& s = app.settings;
  const intptr_t font = reinterpret_cast<intptr_t>(s.fontName.c_str());
  Send(e, Sci::SCI_STYLESETFONT, 0, font);
  Send(e, Sci::SCI_STYLESETSIZE, 0, s.fontSize);
  Send(e, Sci::SCI_STYLESETFONT, Sci::STYLE_DEFAULT, font);
  Send(e, Sci::SCI_SETVIEWEOL, s.lineMarkers == 1 ? 1 : 0);
  Send(e, Sci::SCI_SETMARGINWIDTHN, 0, s.lineNumbers == 1 ? s.fontSize + 33 : 0);
  SetCaretStyle(e, s);
  SetTextMargin(e, s);
  Send(e, Sci::SCI_STYLESETBACK, Sci::STYLE_DEFAULT, s.colorBackground);
  // Styles the colour table does not name take the text colour, not black, so that they
  // stay readable on a dark background.
  Send(e, Sci::SCI_STYLESETFORE, Sci::STYLE_DEFAULT, s.colorMainText);
  Send(e, Sci::SCI_STYLECLEARALL);
  Send(e, Sci::SCI_SETCARETFORE, s.colorCursor);
  Send(e, Sci::SCI_STYLESETBACK, Sci::STYLE_LINENUMBER, s.colorGutter);
  Send(e, Sci::SCI_STYLESETFORE, Sci::STYLE_LINENUMBER, s.colorSetNumbers);
  Send(e, Sci::SCI_STYLESETSIZE, Sci::STYLE_LINENUMBER, s.fontSize);
  Send(e, Sci::SCI_SETWHITESPACEFORE, 21, s.colorSpace);
  if (ApplyWebLexer(app, e, font)) {
    ColouriseVisible(e);
    Send(e, Sci::SCI_SETMARGINWIDTHN, 1, 3);
    return;
  }
  const std::string keywords = KeywordList();
  for (int style : kLexerStyles) Send(e, Sci::SCI_STYLESETFONT, style, font);
  for (int style : kLexerStyles) Send(e, Sci::SCI_STYLESETSIZE, style, s.fontSize);
  if (s.syntaxHighlighting == 1) {
    const int colours[] = {s.colorMainText, s.colorDoctype, s.colorOperator, s.colorComment,
                           s.colorKeywords, s.colorStrings, s.colorNumbers};
    for (size_t i = 0; i < std::size(kLexerStyles); ++i) Send(e, Sci::SCI_STYLESETFORE, kLexerStyles[i], colours[i]);
  }
  // Scintilla ignores an unchanged lexer or keyword list, so repeating these costs nothing.
  Send(e, Sci::SCI_SETLEXER, kEditorLexer);
  Send(e, Sci::SCI_SETKEYWORDS, 0, reinterpret_cast<intptr_t>(keywords.c_str()));
  ColouriseVisible(e);
  Send(e, Sci::SCI_SETMARGINWIDTHN, 1, 3);
}
