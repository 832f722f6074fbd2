// What the translator says on its standard error, read back into entries the editor
// can list and jump to.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct TranslatorMessage {
  std::string path;     // "" for a message without a file position
  int line = 0;         // from 1; 0 without a position
  bool error = false;   // error or warning
  std::string message;  // the text after "warning: " / "error: ", or the whole line
};

// One entry per non-empty line of the form "PATH:LINE: warning|error: MESSAGE" (the
// path may hold ':' and blanks); other lines become entries without a position. The
// "outside: PATH" lines are not messages.
std::vector<TranslatorMessage> ParseTranslatorMessages(std::string_view errorText);

// The paths of the "outside: PATH" lines, in order.
std::vector<std::string> OutsidePaths(std::string_view errorText);

// The question asked when a program reads files outside its allowed folders.
std::string OutsideQuestion(const std::vector<std::string>& paths);
