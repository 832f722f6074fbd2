// Text and text styles: paragraphs, breaks, rules and display boxes.
#include "commands.h"
#include "core/text.h"

namespace translator {
namespace {

void WriteText(Page& p, const Call& c) {
  std::string_view text = SingleArgument(p, c).value;
  p.Emit("<p", p.StyleAttributeOf("SetTextStyle"), ">", Escaped{text}, "</p>");
}

void LineBreak(Page& p, const Call&) { p.Emit("<br>"); }

// The argument, when there is one, is the rule's own CSS.
void HorizontalRule(Page& p, const Call& c) { p.Emit("<hr", StyleAttribute(SingleArgument(p, c).value), ">"); }

// A box around the lines up to EndDisplay; a text given to DisplayText opens the box.
void DisplayText(Page& p, const Call& c) {
  std::string_view text = SingleArgument(p, c).value;
  p.AddCss(".vt-display{padding:.8em 1em;border:1px solid #ccc;border-radius:6px;margin:.5em 0}");
  std::string html = "<div class=\"vt-display\"" + p.StyleAttributeOf("DisplayStyle") + ">";
  if (!core::TrimBlankView(text).empty())
    html += "<p" + p.StyleAttributeOf("SetTextStyle") + ">" + EscapeText(text) + "</p>";
  p.Open(c, "EndDisplay", "</div>");
  p.Emit(html);
}

void EndDisplay(Page& p, const Call& c) { EndBlock(p, c, "DisplayText"); }

constexpr CommandRow kRows[] = {
    {"WriteText", WriteText},           {"SetTextStyle", KeepSetting}, {"LineBreak", LineBreak},
    {"HorizontalRule", HorizontalRule}, {"DisplayStyle", KeepSetting}, {"DisplayText", DisplayText},
    {"EndDisplay", EndDisplay},
};

}  // namespace

std::span<const CommandRow> TextCommands() { return kRows; }

}  // namespace translator
