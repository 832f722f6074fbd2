// Fragments of the small insert dialogs: Comment, Header, Text File and External Style Sheet.
#pragma once
#include <string>

#include "insert/media_fragments.h"

namespace insert {

// What the Comment dialog leaves in the document: the apostrophe form in front of the
// Rem form (each only when its flag is 1); no line end.
std::string BuildComment(const std::string& text, int remComment, int apostropheComment);

std::string BuildHeader(const std::string& text, bool inlineStyle);

// SetTextStyle and OpenText on consecutive lines; the path is written as it stands.
PieceFragment BuildTextFile(const std::string& path);

// The stylesheet link; `stylesheetPath` is the path last chosen with Browse.
std::string BuildStylesheetLink(const std::string& stylesheetPath);

}  // namespace insert
