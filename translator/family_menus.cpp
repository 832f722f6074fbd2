// Menus (StartMenu ... EndMenu) and selections (SelectItem ... EndSelect).
#include "commands.h"
#include "core/text.h"

namespace translator {
namespace {

// A horizontal bar keeps its sub-menus folded until the pointer or the keyboard focus is
// in them, so the bar stays one row high; the links take the page's link styles.
constexpr std::string_view kMenuCss =
    ".vt-menu{margin:.5em 0}\n.vt-menu>ul{box-sizing:border-box}\n"
    ".vt-menu ul{list-style:none;margin:0;padding:0;max-width:100%}\n"
    ".vt-menu a,.vt-submenu>button{display:block;padding:.4em .8em;text-decoration:none}\n"
    ".vt-submenu>button{border:0;background:none;font:inherit;font-weight:bold;color:inherit;cursor:pointer;"
    "text-align:inherit}\n"
    ".vt-menu a:hover,.vt-menu a:focus,.vt-submenu>button:hover,.vt-submenu>button:focus{background:rgba(0,0,0,.12)}"
    "\n"
    ".vt-menu a[aria-current=page]{font-weight:bold}\n"
    ".vt-menu-name{margin:0;padding:.4em .8em;font-weight:bold}\n"
    ".vt-submenu ul{padding-left:1em}\n"
    ".vt-menu-center{text-align:center}\n.vt-menu-right{text-align:right}\n"
    ".vt-menu-row>ul{display:flex;flex-wrap:wrap}\n"
    ".vt-menu-row.vt-menu-center>ul{justify-content:center}\n.vt-menu-row.vt-menu-right>ul{justify-content:flex-end}\n"
    ".vt-menu-row .vt-submenu{position:relative}\n"
    ".vt-menu-row .vt-submenu>ul{display:none;position:absolute;left:0;top:100%;z-index:10;min-width:100%;"
    "padding:0;background:var(--vt-menu-bg,#fff);box-shadow:0 2px 6px rgba(0,0,0,.3);text-align:left}\n"
    ".vt-menu-row .vt-submenu:hover>ul,.vt-menu-row .vt-submenu:focus-within>ul{display:block}";

// `"words" = 'address'` (the address may be left out).
void Item(Page& p, const Call& c, std::string_view& words, std::string_view& address) {
  words = address = {};
  int n = 0;
  ForEachArgument(c.rest, [&](std::string_view value) {
    if (n == 0) words = value;
    else if (n == 1) address = value;
    ++n;
  });
  if (core::TrimBlankView(words).empty()) p.Warn(c, std::string(c.name) + " has no words to show");
  p.Refer(c, address, Reference::Kind::Link);
}

// The address without its #fragment or ?query, as a page of the site names it.
std::string_view PageOf(std::string_view address) {
  address = address.substr(0, address.find_first_of("#?"));
  while (address.starts_with("./")) address.remove_prefix(2);
  return address;
}

// An item of a list, after `before` (the start of the list, or nothing). The item that
// leads to the page being made is marked as the current one.
void EmitItem(Page& p, std::string_view before, std::string_view words, std::string_view address) {
  if (address.empty()) {
    p.Emit(before, "<li>", Escaped{words}, "</li>");
    return;
  }
  std::string self = core::StemOf(p.programPath()) + ".html";
  bool current = core::ToLower(PageOf(address)) == core::ToLower(self);
  p.Emit(before, "<li><a href=\"", Url{address}, "\"", current ? " aria-current=\"page\"" : "", ">", Escaped{words},
         "</a></li>");
}

// AlignMenu takes a direction (horizontal, vertical) and an alignment (left, center, right):
// they become classes of the menu; the colour and width style its bar.
void MenuLook(const Page& p, std::string& classes, std::string& style) {
  classes = "vt-menu";
  style.clear();
  for (const std::string& word : SplitArguments(core::ReplaceAll(p.Get("AlignMenu"), " ", ","))) {
    std::string w = core::ToLower(word);
    if (w == "horizontal" || w == "row") classes += " vt-menu-row";
    else if (w == "center" || w == "right") classes += " vt-menu-" + w;
  }
  std::string colour = CssText(p.Get("MenuColor"));
  if (!colour.empty()) style = "background:" + colour + "; --vt-menu-bg:" + colour;
  if (!p.Get("MenuWidth").empty()) style = JoinStyles(style, "width:" + CssLength(p.Get("MenuWidth")));
}

void StartMenu(Page& p, const Call& c) {
  std::string name = core::TrimBlank(SingleArgument(p, c).value);
  std::string given = p.Take("MenuName");
  if (name.empty()) name = core::TrimBlank(given);
  p.AddCss(kMenuCss);
  if (p.IsOpen("EndMenu")) {  // a menu inside a menu: one of its items, which takes the focus to open it
    p.Open(c, "EndMenu", "</ul></li>");
    p.Emit("<li class=\"vt-submenu\"><button type=\"button\">" + EscapeText(name.empty() ? "Menu" : name) +
           "</button><ul>");
    return;
  }
  std::string classes, style;
  MenuLook(p, classes, style);
  p.Open(c, "EndMenu", "</ul></nav>");
  // The name stands above the bar, outside its colour: the bar holds only entries.
  p.Emit("<nav class=\"", classes, "\"", name.empty() ? "" : " aria-label=\"", EscapedAttribute{name},
         name.empty() ? "" : "\"", ">", name.empty() ? "" : "<p class=\"vt-menu-name\">", Escaped{name},
         name.empty() ? "" : "</p>", "<ul", StyleAttribute(style), ">");
}

void ItemName(Page& p, const Call& c) {
  std::string_view words, address;
  Item(p, c, words, address);
  if (p.IsOpen("EndMenu")) {
    EmitItem(p, "", words, address);
    return;
  }
  p.Warn(c, "ItemName outside a menu: written as a link of its own");
  p.Emit("<p>" +
         (address.empty() ? EscapeText(words)
                          : "<a href=\"" + UrlAttribute(address) + "\">" + EscapeText(words) + "</a>") +
         "</p>");
}

void EndMenu(Page& p, const Call& c) { EndBlock(p, c, "StartMenu"); }

// A selection opens a list of pages to go to: the first SelectItem starts it.
void SelectItem(Page& p, const Call& c) {
  std::string_view words, address;
  Item(p, c, words, address);
  std::string html;
  if (!p.IsOpen("EndSelect")) {
    p.AddCss(
        ".vt-select{display:inline-block;max-width:100%;box-sizing:border-box;border:1px solid #888;border-radius:4px;padding:.2em .6em;margin:.3em 0}\n"
        ".vt-select>summary{cursor:pointer}\n.vt-select ul{list-style:none;margin:.3em 0 0;padding:0}\n"
        ".vt-select a{display:block;padding:.2em 0}");
    std::string caption = core::TrimBlank(p.Take("ButtonText"));
    std::string style = p.Get("SetFormStyle");
    if (!p.Get("SelectionColor").empty()) style = JoinStyles(style, "background:" + CssText(p.Get("SelectionColor")));
    if (!p.Get("SelectionWidth").empty()) style = JoinStyles(style, "width:" + CssLength(p.Get("SelectionWidth")));
    html = "<details class=\"vt-select\"" + StyleAttribute(style) + "><summary>" +
           EscapeText(caption.empty() ? "Choose a page" : caption) + "</summary><ul>";
    p.Open(c, "EndSelect", "</ul></details>");
  }
  EmitItem(p, html, words, address);
}

void EndSelect(Page& p, const Call& c) { EndBlock(p, c, "SelectItem"); }

constexpr CommandRow kRows[] = {
    {"StartMenu", StartMenu},        {"EndMenu", EndMenu},
    {"ItemName", ItemName},          {"MenuName", KeepSetting},
    {"MenuColor", KeepSetting},      {"MenuWidth", KeepSetting},
    {"AlignMenu", KeepSetting},      {"SelectItem", SelectItem},
    {"EndSelect", EndSelect},        {"SelectionColor", KeepSetting},
    {"SelectionWidth", KeepSetting},
};

}  // namespace

std::span<const CommandRow> MenuCommands() { return kRows; }

}  // namespace translator
