// Video, and commands about the page itself: refresh, print and search.
#include "buttons.h"
#include "core/text.h"

namespace translator {
namespace {

void PlayVideo(Page& p, const Call& c) {
  std::string path = core::TrimBlank(SingleArgument(p, c).value);
  if (path.empty()) {
    p.Warn(c, "PlayVideo names no video");
    return;
  }
  p.Refer(c, path, Reference::Kind::Video);
  std::string style;
  if (!p.Get("VideoWidth").empty()) style = "width:" + CssLength(p.Get("VideoWidth"));
  if (!p.Get("VideoHeight").empty()) style = JoinStyles(style, "height:" + CssLength(p.Get("VideoHeight")));
  std::string src = UrlAttribute(path);
  p.AddCss(kMediaCss);
  p.Emit("<video class=\"vt-video\" src=\"" + src + "\" controls" + StyleAttribute(style) +
         ">Your browser cannot play this video: <a href=\"" + src + "\">" + EscapeText(core::FileNameOf(path)) +
         "</a></video>");
}

// The page made from the top program: a link to it loads it afresh.
std::string ThisPage(const Page& p) { return core::StemOf(p.programPath()) + ".html"; }

void RefreshButton(Page& p, const Call&) { EmitLinkButton(p, ThisPage(p), "Refresh", "vt-button"); }

void RefreshLink(Page& p, const Call& c) {
  std::string words = core::TrimBlank(SingleArgument(p, c).value);
  p.Emit("<p" + p.StyleAttributeOf("SetTextStyle") + "><a href=\"" + UrlAttribute(ThisPage(p)) + "\">" +
         EscapeText(words.empty() ? "Refresh this page" : words) + "</a></p>");
}

// Print.js gives the print buttons and links their click, so the page holds no script of
// its own and works where a policy forbids inline scripts.
void PrintButton(Page& p, const Call& c) {
  ButtonParts b = NextButton(p, "Print");
  p.UseScript(c, "Print.js");
  p.Emit("<p><button type=\"button\" class=\"vt-button\" data-vt-print" + b.attributes + ">" + b.caption +
         "</button></p>");
}

// A button that looks like a link: a link would need an address it does not have.
void PrintPage(Page& p, const Call& c) {
  std::string words = core::TrimBlank(SingleArgument(p, c).value);
  p.UseScript(c, "Print.js");
  p.AddCss(".vt-print-link{padding:0;border:0;background:none;font:inherit;color:LinkText;text-decoration:underline;"
           "cursor:pointer}");
  p.Emit("<p" + p.StyleAttributeOf("SetTextStyle") + "><button type=\"button\" class=\"vt-print-link\" data-vt-print>" +
         EscapeText(words.empty() ? "Print this page" : words) + "</button></p>");
}

// A search box for the text of this page; the script finds and selects each match in turn.
void SearchButton(Page& p, const Call& c) {
  ButtonParts b = NextButton(p, "Search");
  p.AddCss(".vt-search input{font:inherit;padding:.35em;margin-right:.3em}");
  p.UseScript(c, "Search.js");
  p.Emit("<form class=\"vt-search\" role=\"search\"><input type=\"search\" name=\"q\" aria-label=\"Search this page\"" +
         p.StyleAttributeOf("SetFormStyle") + "><button type=\"submit\" class=\"vt-button\"" + b.attributes + ">" +
         b.caption + "</button></form>");
}

constexpr CommandRow kRows[] = {
    {"PlayVideo", PlayVideo},         {"VideoWidth", KeepSetting},    {"VideoHeight", KeepSetting},
    {"RefreshButton", RefreshButton}, {"RefreshLink", RefreshLink},   {"PrintButton", PrintButton},
    {"PrintPage", PrintPage},         {"SearchButton", SearchButton},
};

}  // namespace

std::span<const CommandRow> PageCommands() { return kRows; }

}  // namespace translator
