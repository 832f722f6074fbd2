// Buttons and windows. Buttons that only lead somewhere are links that look like
// buttons, so they work without a script.
#include "buttons.h"

#include "core/text.h"

namespace translator {

constexpr std::string_view kButtonCss =
    ".vt-button{display:inline-block;padding:.4em 1em;border:1px solid #888;border-radius:4px;background:#f4f4f4;"
    "color:#222;font:inherit;text-decoration:none;cursor:pointer}\n"
    ".vt-button:hover,.vt-button:focus{background:#e2e2e2}";

ButtonParts NextButton(Page& p, const char* fallbackCaption) {
  p.AddCss(kButtonCss);
  ButtonParts b;
  std::string caption = core::TrimBlank(p.Take("ButtonText"));
  b.caption = EscapeText(caption.empty() ? fallbackCaption : caption);
  std::string id = core::TrimBlank(p.Take("ButtonName"));
  for (char& ch : id)
    if (ch == ' ' || ch == '\t') ch = '-';
  const std::string& style = p.StyleAttributeOf("SetFormStyle");
  b.attributes = id.empty() ? style : Attribute("id", id) + style;
  return b;
}

void EmitLinkButton(Page& p, const std::string& href, const char* fallbackCaption, const char* cls) {
  ButtonParts b = NextButton(p, fallbackCaption);
  p.Emit("<p><a class=\"", cls, "\" href=\"", Url{href}, "\"", b.attributes, ">", b.caption, "</a></p>");
}

namespace {

std::string Address(Page& p, const Call& c) {
  std::string address = core::TrimBlank(SingleArgument(p, c).value);
  if (address.empty()) p.Warn(c, std::string(c.name) + " names no address");
  return address;
}

void OnButtonGoto(Page& p, const Call& c) {
  std::string address = Address(p, c);
  p.Refer(c, address, Reference::Kind::Link);
  if (!address.empty()) EmitLinkButton(p, address, "Go", "vt-button");
}

// A choice drawn as a radio button that goes to its page when chosen.
void OnRadioButtonGoto(Page& p, const Call& c) {
  std::string address = Address(p, c);
  if (address.empty()) return;
  p.Refer(c, address, Reference::Kind::Link);
  p.AddCss(".vt-radio{color:inherit;text-decoration:none}\n"
           ".vt-radio::before{content:\"\";display:inline-block;width:.8em;height:.8em;margin-right:.4em;"
           "border:2px solid currentColor;border-radius:50%;vertical-align:-.1em}\n"
           ".vt-radio:hover::before,.vt-radio:focus::before{background:currentColor}");
  EmitLinkButton(p, address, address.c_str(), "vt-radio");
}

// The message opens below the button when it is clicked, and closes on a second click.
void MessageButton(Page& p, const Call& c) {
  std::string_view message = SingleArgument(p, c).value;
  ButtonParts b = NextButton(p, "Show message");
  p.AddCss(".vt-message>summary{list-style:none}\n.vt-message>summary::-webkit-details-marker{display:none}");
  p.Emit("<details class=\"vt-message\"><summary class=\"vt-button\"" + b.attributes + ">" + b.caption +
         "</summary><p" + p.StyleAttributeOf("SetTextStyle") + ">" + EscapeText(message) + "</p></details>");
}

void EmailButton(Page& p, const Call& c) {
  std::string address = Address(p, c);
  if (address.empty()) return;
  if (!core::StartsWith(core::ToLower(address), "mailto:")) address = "mailto:" + address;
  EmitLinkButton(p, address, "E-mail", "vt-button");
}

// A window in the page showing another page of the site.
void OpenWindow(Page& p, const Call& c) {
  std::string address = Address(p, c);
  if (address.empty()) return;
  p.Refer(c, address, Reference::Kind::Link);
  std::string width = CssLength(p.Get("WindowWidth")), height = CssLength(p.Get("WindowHeight"));
  std::string style = JoinStyles("width:" + (width.empty() ? std::string("480px") : width),
                                 "height:" + (height.empty() ? std::string("320px") : height));
  p.AddCss(".vt-window{border:1px solid #888;max-width:100%}");
  p.Emit("<iframe class=\"vt-window\" src=\"" + UrlAttribute(address) + "\" title=\"" +
         EscapeAttribute(core::FileNameOf(address)) + "\"" + StyleAttribute(JoinStyles(style, p.Get("WindowStyle"))) +
         "></iframe>");
}

constexpr CommandRow kRows[] = {
    {"ButtonText", KeepSetting},
    {"ButtonName", KeepSetting},
    {"SetFormStyle", KeepSetting},
    {"OnButtonGoto", OnButtonGoto},
    {"OnRadioButtonGoto", OnRadioButtonGoto},
    {"MessageButton", MessageButton},
    {"EmailButton", EmailButton},
    {"OpenWindow", OpenWindow},
    {"WindowWidth", KeepSetting},
    {"WindowHeight", KeepSetting},
    {"WindowStyle", KeepSetting},
};

}  // namespace

std::span<const CommandRow> ButtonCommands() { return kRows; }

}  // namespace translator
