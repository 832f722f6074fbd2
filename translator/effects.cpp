#include "effects.h"

#include "core/text.h"

namespace translator {

const std::vector<Effect>& Effects() {
  static const std::vector<Effect> effects = {
      {"BouncingText", "vt-bounce",
       ".vt-bounce span{display:inline-block;animation:vt-bounce .8s ease-in-out infinite alternate}\n"
       "@keyframes vt-bounce{from{transform:translateY(0)}to{transform:translateY(-.6em)}}"},
      {"ExpandingText", "vt-expand",
       ".vt-expand span{display:inline-block;animation:vt-expand 2s ease-in-out infinite alternate}\n"
       "@keyframes vt-expand{from{letter-spacing:0}to{letter-spacing:.5em}}"},
      {"FlyinText", "vt-flyin",
       ".vt-flyin span{display:inline-block;animation:vt-flyin 1.5s ease-out both}\n"
       "@keyframes vt-flyin{from{transform:translateX(-100vw);opacity:0}to{transform:none;opacity:1}}"},
      {"GradientText", "vt-gradient",
       ".vt-gradient span{background:linear-gradient(90deg,#1e3c72,#2a9df4,#1e3c72);background-size:200% 100%;"
       "-webkit-background-clip:text;background-clip:text;color:transparent;animation:vt-slide 4s linear infinite}\n"
       "@keyframes vt-slide{from{background-position:0 0}to{background-position:200% 0}}"},
      {"HighlightText", "vt-highlight",
       ".vt-highlight span{animation:vt-highlight 2s ease-in-out infinite alternate}\n"
       "@keyframes vt-highlight{from{background-color:transparent}to{background-color:#ffeb3b}}"},
      {"MirrorText", "vt-mirror",
       ".vt-mirror span{display:inline-block}\n"
       ".vt-mirror .vt-reflection{transform:scaleY(-1);opacity:.35}"},
      {"MixText", "vt-mix",
       ".vt-mix span{animation:vt-mix 3s linear infinite}\n"
       "@keyframes vt-mix{0%{color:#d32f2f}25%{color:#1976d2}50%{color:#388e3c}75%{color:#f57c00}"
       "100%{color:#d32f2f}}"},
      {"PositionText", "vt-position", ".vt-position{position:relative}"},
      {"RainbowText", "vt-rainbow",
       ".vt-rainbow span{background:linear-gradient(90deg,red,orange,yellow,green,blue,indigo,violet,red);"
       "background-size:200% 100%;-webkit-background-clip:text;background-clip:text;color:transparent;"
       "animation:vt-rainbow 4s linear infinite}\n"
       "@keyframes vt-rainbow{from{background-position:0 0}to{background-position:200% 0}}"},
      {"ReverseText", "vt-reverse", ".vt-reverse span{unicode-bidi:bidi-override;direction:rtl}"},
      {"ScrollingText", "vt-scroll",
       ".vt-scroll{overflow:hidden;white-space:nowrap}\n"
       ".vt-scroll span{display:inline-block;padding-left:100%;animation:vt-scroll 10s linear infinite}\n"
       "@keyframes vt-scroll{from{transform:translateX(0)}to{transform:translateX(-100%)}}"},
      {"ShadowText", "vt-shadow", ".vt-shadow span{text-shadow:3px 3px 4px rgba(0,0,0,.5)}"},
      {"ShakingText", "vt-shake",
       ".vt-shake span{display:inline-block;animation:vt-shake .4s linear infinite}\n"
       "@keyframes vt-shake{0%,100%{transform:translate(0,0)}25%{transform:translate(-2px,1px)}"
       "50%{transform:translate(2px,-1px)}75%{transform:translate(-1px,-2px)}}"},
      {"ShadowBoxText", "vt-shadowbox",
       ".vt-shadowbox{display:inline-block;padding:1em;border:1px solid #ccc;"
       "box-shadow:6px 6px 12px rgba(0,0,0,.4)}"},
  };
  return effects;
}

const Effect* FindEffect(std::string_view command) {
  for (const Effect& e : Effects())
    if (command == e.command) return &e;
  return nullptr;
}

const char* ReducedMotionCss() {
  return "@media (prefers-reduced-motion:reduce){[class^=\"vt-\"] span{animation:none}}";
}

const char* GalleryCss() {
  return ".vt-gallery{display:flex;flex-wrap:wrap;gap:8px;align-items:flex-start}";
}

std::string EffectHtml(const Effect& effect, std::string_view style, std::string_view text) {
  std::string cls = effect.className;
  std::string t = EscapeText(text);
  if (cls == "vt-shadowbox") return "<div class=\"" + cls + "\"" + StyleAttribute(style) + ">" + t + "</div>";
  std::string inner = "<span>" + t + "</span>";
  if (cls == "vt-mirror") inner += "<br><span class=\"vt-reflection\" aria-hidden=\"true\">" + t + "</span>";
  return "<p class=\"" + cls + "\"" + StyleAttribute(style) + ">" + inner + "</p>";
}

static std::string Escape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) out += "&quot;";
        else out += c;
        break;
      case '\0': break;  // never valid in a page
      default: out += c;
    }
  }
  return out;
}

std::string EscapeText(std::string_view text) { return Escape(text, false); }
std::string EscapeAttribute(std::string_view text) { return Escape(text, true); }

std::string StyleAttribute(std::string_view style) {
  std::string s = core::TrimBlank(style);
  return s.empty() ? std::string() : " style=\"" + EscapeAttribute(s) + "\"";
}

std::string JoinStyles(std::string_view first, std::string_view second) {
  std::string a = core::TrimBlank(first), b = core::TrimBlank(second);
  if (a.empty()) return b;
  if (b.empty()) return a;
  if (a.back() != ';') a += ';';
  return a + " " + b;
}

}  // namespace translator
