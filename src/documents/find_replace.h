// Find and Replace on the active editor: the searches behind the Find and Find/Replace
// dialogs, Find Next (F3) and Next Occurrence.
#pragma once
#include <string>

struct App;

enum class FindOutcome { Shown, NotFound, Nothing };

// Searches `text` from the caret (and from the top when word wrap is on), shows the match by
// the highlight setting and records where Find Next continues. "No match found." when none.
FindOutcome FindNextFromCaret(App& app, const std::string& text);
// Find Next (F3): the Find dialog's text in the active document's current text.
void FindNextAgain(App& app);
// Replaces the selection by `replacement`, then selects the next `text` after the caret.
void ReplaceAndFindNext(App& app, const std::string& text, const std::string& replacement);
// Replaces every match in the document as one undo step; returns the number replaced.
long long ReplaceAllInDocument(App& app, const std::string& text, const std::string& replacement);
// Selects the next occurrence of the selected text (or the clipboard's text when nothing is
// selected), ignoring letter case, from the top when none follows. The clipboard is not touched.
void NextOccurrence(App& app);

// The only message of find and replace.
inline constexpr const char* kNoMatchFound = "No match found.";
