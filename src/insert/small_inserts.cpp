#include "insert/small_inserts.h"

#include "insert/insert_dialog.h"

namespace insert {

std::string BuildComment(const std::string& text, int remComment, int apostropheComment) {
  // Both go in at the caret, which stays in front: the later insert lands first.
  std::string s;
  if (apostropheComment == 1) s += "'" + text;
  if (remComment == 1) s += "Rem " + text;
  return s;
}

std::string BuildHeader(const std::string& text, bool inlineStyle) {
  if (!inlineStyle) return "<h1>" + text + "</h1>";
  return "<h1 style=\"" + std::string(kLargeTextStyle) + "\">" + text + "</h1>";
}

PieceFragment BuildTextFile(const std::string& path) {
  return {{"SetTextStyle (" + std::string(kTextStyle) + ")", "OpenText (" + path + ")"}, false};
}

std::string BuildStylesheetLink(const std::string& stylesheetPath) {
  // A file URL like every other local file the inserts name; nothing chosen stays empty.
  std::string href = stylesheetPath.empty() ? std::string() : LocalFileUrl(stylesheetPath);
  return "<link rel=\"stylesheet\" type=\"text/css\" href=\"" + href + "\">";
}

}  // namespace insert
