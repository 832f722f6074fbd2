// Text effects: each shows its text in a paragraph of its own, in the current text
// style, with a look made of CSS (mostly animations) kept once in the page's style sheet.
#include "commands.h"
#include "core/text.h"

namespace translator {
namespace {

// Views, not C strings: the lookup compares lengths first, and no rule is measured again.
struct Effect {
  std::string_view command;    // "BouncingText"
  std::string_view className;  // "vt-bounce"
  std::string_view css;        // its rules, "\n" between them
  bool moves;
};

constexpr Effect kEffects[] = {
    {"BouncingText", "vt-bounce",
     ".vt-bounce span{display:inline-block;animation:vt-bounce .8s ease-in-out infinite alternate}\n"
     "@keyframes vt-bounce{from{transform:translateY(0)}to{transform:translateY(-.6em)}}",
     true},
    {"ExpandingText", "vt-expand",
     ".vt-expand span{display:inline-block;animation:vt-expand 2s ease-in-out infinite alternate}\n"
     "@keyframes vt-expand{from{letter-spacing:0}to{letter-spacing:var(--vt-spread,.5em)}}",
     true},
    {"FlyinText", "vt-flyin",
     ".vt-flyin span{display:inline-block;animation:vt-flyin 1.5s ease-out both}\n"
     "@keyframes vt-flyin{from{transform:translateX(-100vw);opacity:0}to{transform:none;opacity:1}}",
     true},
    {"GradientText", "vt-gradient",
     ".vt-gradient span{background:linear-gradient(90deg,#1e3c72,#2a9df4,#1e3c72);background-size:200% 100%;"
     "-webkit-background-clip:text;background-clip:text;color:transparent;animation:vt-slide 4s linear infinite}\n"
     "@keyframes vt-slide{from{background-position:0 0}to{background-position:200% 0}}",
     true},
    {"HighlightText", "vt-highlight",
     ".vt-highlight span{animation:vt-highlight 2s ease-in-out infinite alternate}\n"
     "@keyframes vt-highlight{from{background-color:transparent}to{background-color:var(--vt-highlight,#ffeb3b)}}",
     true},
    {"TextHover", "vt-hover",
     ".vt-hover span{transition:background-color .3s}\n"
     ".vt-hover span:hover{background-color:var(--vt-highlight,#ffeb3b)}",
     true},
    {"MirrorText", "vt-mirror",
     ".vt-mirror span{display:inline-block}\n"
     ".vt-mirror .vt-reflection{transform:scaleY(-1);opacity:.6}",
     false},
    {"MixText", "vt-mix",
     ".vt-mix span{animation:vt-mix 3s linear infinite}\n"
     "@keyframes vt-mix{0%{color:#d32f2f}25%{color:#1976d2}50%{color:#388e3c}75%{color:#f57c00}"
     "100%{color:#d32f2f}}",
     true},
    {"PositionText", "vt-position", ".vt-position{position:relative}", false},
    {"RainbowText", "vt-rainbow",
     ".vt-rainbow span{background:linear-gradient(90deg,red,orange,yellow,green,blue,indigo,violet,red);"
     "background-size:200% 100%;-webkit-background-clip:text;background-clip:text;color:transparent;"
     "animation:vt-rainbow 4s linear infinite}\n"
     "@keyframes vt-rainbow{from{background-position:0 0}to{background-position:200% 0}}",
     true},
    {"ReverseText", "vt-reverse", ".vt-reverse span{unicode-bidi:bidi-override;direction:rtl}", false},
    {"ScrollingText", "vt-scroll",
     ".vt-scroll{overflow:hidden;white-space:nowrap}\n"
     ".vt-scroll span{display:inline-block;padding-left:100%;animation:vt-scroll 10s linear infinite}\n"
     "@keyframes vt-scroll{from{transform:translateX(0)}to{transform:translateX(-100%)}}",
     true},
    {"ShadowText", "vt-shadow", ".vt-shadow span{text-shadow:3px 3px 4px rgba(0,0,0,.5)}", false},
    {"ShakingText", "vt-shake",
     ".vt-shake span{display:inline-block;animation:vt-shake .4s linear infinite}\n"
     "@keyframes vt-shake{0%,100%{transform:translate(0,0)}25%{transform:translate(-2px,1px)}"
     "50%{transform:translate(2px,-1px)}75%{transform:translate(-1px,-2px)}}",
     true},
    {"ShadowBoxText", "vt-shadowbox",
     ".vt-shadowbox{display:inline-block;padding:1em;border:1px solid #ccc;"
     "box-shadow:6px 6px 12px rgba(0,0,0,.4)}",
     false},
    {"LeftRightCurtain", "vt-curtain-lr",
     ".vt-curtain-lr span{display:inline-block;animation:vt-curtain-lr 2s ease-out both}\n"
     "@keyframes vt-curtain-lr{from{clip-path:inset(0 50%)}to{clip-path:inset(0 0)}}",
     true},
    {"UpDownCurtain", "vt-curtain-ud",
     ".vt-curtain-ud span{display:inline-block;animation:vt-curtain-ud 2s ease-out both}\n"
     "@keyframes vt-curtain-ud{from{clip-path:inset(50% 0)}to{clip-path:inset(0 0)}}",
     true},
};

const Effect* FindEffect(std::string_view command) {
  for (const Effect& e : kEffects)
    if (command == e.command) return &e;
  return nullptr;
}

// The declarations some effects add to the text style, from the setting commands before them.
std::string OwnStyle(const Page& p, std::string_view command) {
  std::string own;
  if (command == "ShadowBoxText") own = p.Get("ShadowBoxStyle");
  if (command == "ExpandingText" && !p.Get("ExpandTextSize").empty())
    own = "--vt-spread:" + CssLength(p.Get("ExpandTextSize"));
  if ((command == "HighlightText" || command == "TextHover") && !p.Get("HighlightColor").empty())
    own = "--vt-highlight:" + CssText(p.Get("HighlightColor"));
  if (command == "PositionText") {
    std::vector<std::string> at = SplitArguments(p.Get("SetPosition"));
    // A margin moves the paragraph without making it wider than the page; `left` would.
    if (!at.empty() && !at[0].empty()) own = "margin-left:" + CssLength(at[0]);
    if (at.size() > 1 && !at[1].empty()) own = JoinStyles(own, "top:" + CssLength(at[1]));
  }
  return own;
}

void EffectLine(Page& p, const Call& c) {
  const Effect& e = *FindEffect(c.name);
  std::string_view value = SingleArgument(p, c).value;
  Escaped text{value};
  p.AddCss(e.css);
  if (e.moves) p.UseMotion();
  std::string_view cls = e.className;
  // Most effects take the text style alone, whose attribute the page keeps made.
  std::string own = OwnStyle(p, c.name), joined;
  std::string_view style = p.StyleAttributeOf("SetTextStyle");
  if (!core::TrimBlankView(own).empty()) style = joined = StyleAttribute(JoinStyles(p.Get("SetTextStyle"), own));
  if (cls == "vt-shadowbox") {
    p.Emit("<div class=\"", cls, "\"", style, ">", text, "</div>");
    return;
  }
  if (cls == "vt-mirror") {
    p.Emit("<p class=\"", cls, "\"", style, "><span>", text, "</span>",
           "<br><span class=\"vt-reflection\" aria-hidden=\"true\">", text, "</span></p>");
    return;
  }
  p.Emit("<p class=\"", cls, "\"", style, "><span>", text, "</span></p>");
}

constexpr CommandRow kRows[] = {
    {"BouncingText", EffectLine},     {"ExpandingText", EffectLine},   {"FlyinText", EffectLine},
    {"GradientText", EffectLine},     {"HighlightText", EffectLine},   {"TextHover", EffectLine},
    {"MirrorText", EffectLine},       {"MixText", EffectLine},         {"PositionText", EffectLine},
    {"RainbowText", EffectLine},      {"ReverseText", EffectLine},     {"ScrollingText", EffectLine},
    {"ShadowText", EffectLine},       {"ShakingText", EffectLine},     {"ShadowBoxText", EffectLine},
    {"LeftRightCurtain", EffectLine}, {"UpDownCurtain", EffectLine},   {"ShadowBoxStyle", KeepSetting},
    {"HighlightColor", KeepSetting},  {"ExpandTextSize", KeepSetting}, {"SetPosition", KeepArguments},
};

}  // namespace

std::span<const CommandRow> EffectCommands() { return kRows; }

}  // namespace translator
