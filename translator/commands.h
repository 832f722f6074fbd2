// The command handlers of the page language, one table per family, and the lookup
// the translator dispatches through.
#pragma once
#include <span>
#include <string>
#include <string_view>

#include "page.h"
#include "translator.h"

namespace translator {

using Handler = void (*)(Page& page, const Call& call);

struct CommandRow {
  const char* name;  // the keyword, usual spelling
  Handler run;
};

std::span<const CommandRow> TextCommands();
std::span<const CommandRow> EffectCommands();
std::span<const CommandRow> ImageCommands();
std::span<const CommandRow> LinkCommands();
std::span<const CommandRow> MenuCommands();
std::span<const CommandRow> ButtonCommands();
std::span<const CommandRow> PageCommands();

// A keyword that starts a command line: its usual spelling and its handler, which is
// null for the keywords the translator runs itself (#Include, #End, OpenText, Rem).
struct Command {
  std::string_view name;
  Handler run = nullptr;
};
// The command `word` names, in any letter case; null for markup words and other words.
const Command* FindCommand(std::string_view word);

// ParseCommandLine, also giving the command's row of the command table (null for an
// apostrophe comment), so that a command is looked up once.
bool ParseLine(std::string_view line, CommandLine& command, const Command*& row);

// The command's single argument; warns when its closing bracket or quote is missing.
Argument SingleArgument(Page& page, const Call& call);
// A setting command: keeps its argument for the commands after it.
void KeepSetting(Page& page, const Call& call);
// A setting of several values: kept as written, for SplitArguments.
void KeepArguments(Page& page, const Call& call);
// The end of a block: closes the innermost block `call` ends, or warns that none
// started with `opener` is open.
void EndBlock(Page& page, const Call& call, const char* opener);

// HTML helpers shared by the families.
std::string EscapeText(std::string_view text);
std::string EscapeAttribute(std::string_view text);
// An address or path for an href or src value: backslashes become slashes and blanks
// %20, as a URL needs them; then escaped.
std::string UrlAttribute(std::string_view address);
// ` style="..."` for a non-empty style, "" otherwise.
std::string StyleAttribute(std::string_view style);
// Two CSS declaration lists joined so that both apply.
std::string JoinStyles(std::string_view first, std::string_view second);
// Pictures and videos shrink to fit a narrow screen, keeping their proportions where
// no height is given.
inline constexpr std::string_view kMediaCss = "img,video{max-width:100%;height:auto}";
// A picture's file name made readable, for its alternative text when none is given:
// "images/sourdough-loaf.jpg" -> "sourdough loaf".
std::string ReadableName(std::string_view path);
// ` name="value"` with the value escaped; "" when the value is empty.
std::string Attribute(std::string_view name, std::string_view value);

}  // namespace translator
