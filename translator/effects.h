// The text effects of the page language: each becomes a paragraph with a class whose
// look (mostly a CSS animation) lives in the page's one embedded style sheet.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace translator {

struct Effect {
  const char* command;      // "BouncingText"
  const char* className;    // "vt-bounce"
  const char* css;          // its rules, one per line, "\n" between them
};

// The effect for a command name (usual spelling), null when it is no effect.
const Effect* FindEffect(std::string_view command);
const std::vector<Effect>& Effects();

// Rules shared by every page that uses effects: motion is stopped for readers who ask for less.
const char* ReducedMotionCss();
// Rules for image galleries.
const char* GalleryCss();

// The HTML of one effect line. `style` is the current text style ("" for none),
// `text` the command's text, not yet escaped.
std::string EffectHtml(const Effect& effect, std::string_view style, std::string_view text);

std::string EscapeText(std::string_view text);
std::string EscapeAttribute(std::string_view text);
// ` style="..."` for a non-empty style, "" otherwise.
std::string StyleAttribute(std::string_view style);
// Two CSS declaration lists joined so that both apply.
std::string JoinStyles(std::string_view first, std::string_view second);

}  // namespace translator
