// Links and the page's link styles.
#include "commands.h"
#include "core/text.h"

namespace translator {
namespace {

// A link with its tip (LinkTip, shown while the pointer or the focus is on the link). The
// tip stands beside the link, not in it, and describes it: the link's name stays its words.
void EmitTipLink(Page& p, std::string_view address, const std::string& words, const std::string& tip) {
  p.AddCss(".vt-tip{position:relative;display:inline-block}\n"
           ".vt-tiptext{visibility:hidden;position:absolute;left:0;top:100%;z-index:1;padding:.3em .6em;"
           "background:#333;color:#fff;border-radius:4px;font-size:.9em;width:max-content;max-width:min(20em,90vw)}\n"
           ".vt-tip:hover .vt-tiptext,.vt-tip:focus-within .vt-tiptext{visibility:visible}");
  std::string width = CssLength(p.Get("TipWidth"));
  std::string id = "vt-tip-" + std::to_string(p.NextNumber());
  p.Emit("<p", p.StyleAttributeOf("SetTextStyle"), "><span class=\"vt-tip\"><a href=\"", Url{address},
         "\" aria-describedby=\"", id, "\">", Escaped{words}, "</a><span class=\"vt-tiptext\" role=\"tooltip\" id=\"",
         id, "\"", StyleAttribute(width.empty() ? "" : "width:" + width), ">", Escaped{tip}, "</span></span></p>");
}

// `OnLinkGoto (address)`: a link in a paragraph of its own, with the words LinkText gave.
void OnLinkGoto(Page& p, const Call& c) {
  std::string address = core::TrimBlank(SingleArgument(p, c).value);
  if (address.empty()) {
    p.Warn(c, "OnLinkGoto names no address");
    return;
  }
  p.Refer(c, address, Reference::Kind::Link);
  std::string words = p.Take("LinkText");
  if (core::TrimBlankView(words).empty()) words = address;
  std::string tip = p.Take("LinkTip");
  if (core::TrimBlankView(tip).empty())
    p.Emit("<p", p.StyleAttributeOf("SetTextStyle"), "><a href=\"", Url{address}, "\">", Escaped{words}, "</a></p>");
  else EmitTipLink(p, address, words, tip);
}

// `LinkHoverImage ('picture', 'hover picture', 'address')`: a picture link whose
// picture changes while the pointer is over it.
void LinkHoverImage(Page& p, const Call& c) {
  std::vector<std::string> a = SplitArguments(c.rest);
  if (a.size() < 2 || a[0].empty() || a[1].empty()) {
    p.Warn(c, "LinkHoverImage needs two pictures: LinkHoverImage ('picture', 'hover picture', 'address')");
    return;
  }
  std::string address = a.size() > 2 ? a[2] : std::string();
  if (address.empty()) p.Warn(c, "LinkHoverImage names no address; the link leads nowhere");
  p.Refer(c, a[0], Reference::Kind::Picture);
  p.Refer(c, a[1], Reference::Kind::Picture);
  p.Refer(c, address, Reference::Kind::Link);
  std::string words = p.Take("LinkText");
  if (core::TrimBlankView(words).empty()) words = ReadableName(a[0]);
  p.AddCss(kMediaCss);
  p.AddCss(".vt-swap{display:inline-block;position:relative}\n"
           ".vt-swap .vt-swap-over{position:absolute;left:0;top:0;opacity:0;transition:opacity .3s}\n"
           ".vt-swap:hover .vt-swap-over,.vt-swap:focus .vt-swap-over{opacity:1}");
  p.UseMotion();
  std::string style = p.StyleAttributeOf("SetImageStyle");
  // Without an address the pictures still swap, in a span: a link to "#" would lead to the page's top.
  std::string open =
      address.empty() ? "<span class=\"vt-swap\">" : "<a class=\"vt-swap\" href=\"" + UrlAttribute(address) + "\">";
  p.Emit(open + "<img src=\"" + UrlAttribute(a[0]) + "\" alt=\"" + EscapeAttribute(words) + "\"" + style +
         "><img class=\"vt-swap-over\" src=\"" + UrlAttribute(a[1]) + "\" alt=\"\"" + style + ">" +
         (address.empty() ? "</span>" : "</a>"));
}

// The states of a link in the order their rules must come for each to show.
enum LinkState { kLink, kVisited, kHover };

void PageRule(Page& p, const Call& c, LinkState state, const char* selector) {
  std::string css = CssText(SingleArgument(p, c).value);
  if (!css.empty()) p.AddLinkCss(state, std::string(selector) + "{" + css + "}");
}

void LinkStyle(Page& p, const Call& c) { PageRule(p, c, kLink, "a"); }
void LinkHoverStyle(Page& p, const Call& c) { PageRule(p, c, kHover, "a:hover,a:focus"); }
void VisitedLinkStyle(Page& p, const Call& c) { PageRule(p, c, kVisited, "a:visited"); }

void UnderlineLink(Page& p, const Call& c) {
  std::string value = core::TrimBlank(SingleArgument(p, c).value);
  p.AddLinkCss(kLink, std::string("a{text-decoration:") + (value.empty() || IsYes(value) ? "underline" : "none") + "}");
}

constexpr CommandRow kRows[] = {
    {"LinkText", KeepSetting},          {"OnLinkGoto", OnLinkGoto},
    {"LinkTip", KeepSetting},           {"TipWidth", KeepSetting},
    {"LinkHoverImage", LinkHoverImage}, {"LinkStyle", LinkStyle},
    {"LinkHoverStyle", LinkHoverStyle}, {"VisitedLinkStyle", VisitedLinkStyle},
    {"UnderlineLink", UnderlineLink},
};

}  // namespace

std::span<const CommandRow> LinkCommands() { return kRows; }

}  // namespace translator
