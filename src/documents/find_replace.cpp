#include "documents/find_replace.h"

#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/editor.h"
#include "documents/search.h"
#include "documents/text_transforms.h"
#include "platform/platform.h"

namespace {

using Sci = QsciScintillaBase;

intptr_t Caret(App& app) { return Send(app, Sci::SCI_GETCURRENTPOS); }

void Remember(App& app, intptr_t pos, const std::string& match) {
  app.search->editor = app.activeEditor;
  app.search->searchPos = pos;
  app.search->lastMatch = match;
}

void Remember(App& app, std::string_view all, size_t p, size_t length) {
  Remember(app, static_cast<intptr_t>(p + length), std::string(all.substr(p, length)));
}

void NoMatch(App& app) {
  Remember(app, 0, std::string());
  app.platform.Message(kNoMatchFound, MsgIcon::Information);
}

void SelectMatch(App& app, size_t p, size_t length) {
  Send(app, Sci::SCI_SETSEL, p, static_cast<intptr_t>(p + length));
}

}  // namespace

FindOutcome FindNextFromCaret(App& app, const std::string& text) {
  if (!app.activeEditor || text.empty()) return FindOutcome::Nothing;
  const Settings& s = app.settings;
  std::string_view all = EditorBytes(app.activeEditor);
  bool caseSensitive = s.findCase == 1;
  size_t p = FindMatch(all, text, static_cast<size_t>(Caret(app)), caseSensitive);
  if (p == std::string::npos && s.findWordWrap == 1) p = FindMatch(all, text, 0, caseSensitive);
  if (p == std::string::npos) {
    NoMatch(app);
    return FindOutcome::NotFound;
  }
  if (s.findHighlight == 1) SelectMatch(app, p, text.size());
  else Send(app, Sci::SCI_SETSEL, p, static_cast<intptr_t>(p));
  Remember(app, all, p, text.size());
  return FindOutcome::Shown;
}

void FindNextAgain(App& app) {
  const std::string& text = app.search->findText;
  if (!app.activeEditor || text.empty()) return;
  std::string_view all = EditorBytes(app.activeEditor);
  // Continue after the last match only while it is still there in this document.
  const SearchState& s = *app.search;
  intptr_t start = Caret(app);
  size_t end = static_cast<size_t>(s.searchPos), length = s.lastMatch.size();
  if (s.editor == app.activeEditor && end <= all.size() && end >= length &&
      all.compare(end - length, length, s.lastMatch) == 0)
    start = s.searchPos;
  size_t p = FindMatch(all, text, static_cast<size_t>(start), app.settings.findCase == 1);
  if (p == std::string::npos) {
    NoMatch(app);
    return;
  }
  SelectMatch(app, p, text.size());
  Remember(app, all, p, text.size());
}

void ReplaceAndFindNext(App& app, const std::string& text, const std::string& replacement) {
  if (!app.activeEditor) return;
  Send(app, Sci::SCI_TARGETFROMSELECTION);
  Send(app, Sci::SCI_REPLACETARGET, replacement.size(), reinterpret_cast<intptr_t>(replacement.data()));
  Send(app, Sci::SCI_GOTOPOS, Send(app, Sci::SCI_GETTARGETEND));
  std::string_view all = EditorBytes(app.activeEditor);
  size_t p = FindMatch(all, text, static_cast<size_t>(Caret(app)), app.settings.findCase == 1);
  if (p == std::string::npos) {
    Remember(app, 0, std::string());
    return;
  }
  SelectMatch(app, p, text.size());
  Remember(app, all, p, text.size());
}

long long ReplaceAllInDocument(App& app, const std::string& text, const std::string& replacement) {
  if (!app.activeEditor || text.empty()) return 0;
  std::string_view all = EditorBytes(app.activeEditor);
  std::vector<size_t> matches = FindAllMatches(all, text, app.settings.findCase == 1);
  if (matches.empty()) return 0;
  // One replacement of the span from the first match to the last: one undo step, and the
  // editor moves its buffer once instead of once per match. The search reads the editor's
  // own buffer, which stays as it is until the replacement.
  std::string piece = ReplaceMatches(all, matches, text.size(), replacement);
  size_t first = matches.front();
  size_t last = matches.back() + text.size();
  Send(app, Sci::SCI_BEGINUNDOACTION);
  Send(app, Sci::SCI_SETTARGETRANGE, first, static_cast<intptr_t>(last));
  Send(app, Sci::SCI_REPLACETARGET, piece.size(), reinterpret_cast<intptr_t>(piece.data()));
  Send(app, Sci::SCI_ENDUNDOACTION);
  Send(app, Sci::SCI_GOTOPOS, first + piece.size());
  return static_cast<long long>(matches.size());
}

void NextOccurrence(App& app) {
  if (!app.activeEditor) return;
  std::string word = SelectedText(app.activeEditor);
  if (word.empty()) word = app.platform.ClipboardText();
  if (word.empty()) return;
  std::string_view all = EditorBytes(app.activeEditor);
  size_t p = FindMatch(all, word, static_cast<size_t>(Caret(app)), false);
  if (p == std::string::npos) p = FindMatch(all, word, 0, false);
  if (p != std::string::npos) SelectMatch(app, p, word.size());
}
