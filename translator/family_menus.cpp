// Menus (StartMenu ... EndMenu) and selections (SelectItem ... EndSelect).
#include "commands.h"
#include "core/text.h"

namespace translator {
namespace {

constexpr std::string_view kMenuCss =
    ".vt-menu{margin:.5em 0}\n"
    ".vt-menu ul{list-style:none;margin:0;padding:0}\n"
    ".vt-menu a{display:block;padding:.4em .8em;color:inherit;text-decoration:none}\n"
    ".vt-menu a:hover,.vt-menu a:focus{background:rgba(0,0,0,.12)}\n"
    ".vt-menu-name,.vt-submenu>span{display:block;margin:0;padding:.4em .8em;font-weight:bold}\n"
    ".vt-submenu ul{padding-left:1em}\n"
    ".vt-menu-row>ul{display:flex;flex-wrap:wrap}\n"
    ".vt-menu-row .vt-submenu ul{padding-left:0}";

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

// An item of a list, after `before` (the start of the list, or nothing).
void EmitItem(Page& p, std::string_view before, std::string_view words, std::string_view address) {
  if (address.empty()) p.Emit(before, "<li>", Escaped{words}, "</li>");
  else p.Emit(before, "<li><a href=\"", Url{address}, "\">", Escaped{words}, "</a></li>");
}

// AlignMenu takes a direction (horizontal, vertical) and an alignment (left, center, right).
void MenuLook(const Page& p, bool& row, std::string& style) {
  row = false;
  style.clear();
  for (const std::string& word : SplitArguments(core::ReplaceAll(p.Get("AlignMenu"), " ", ","))) {
    std::string w = core::ToLower(word);
    if (w == "horizontal" || w == "row") row = true;
    else if (w == "left" || w == "center" || w == "right") style = "text-align:" + w;
  }
  if (!p.Get("MenuColor").empty()) style = JoinStyles(style, "background:" + CssText(p.Get("MenuColor")));
  if (!p.Get("MenuWidth").empty()) style = JoinStyles(style, "width:" + CssLength(p.Get("MenuWidth")));
}

void StartMenu(Page& p, const Call& c) {
  std::string name = core::TrimBlank(SingleArgument(p, c).value);
  std::string given = p.Take("MenuName");
  if (name.empty()) name = core::TrimBlank(given);
  p.AddCss(kMenuCss);
  if (p.IsOpen("EndMenu")) {  // a menu inside a menu: one of its items
    p.Open(c, "EndMenu", "</ul></li>");
    p.Emit("<li class=\"vt-submenu\"><span>" + EscapeText(name.empty() ? "Menu" : name) + "</span><ul>");
    return;
  }
  bool row;
  std::string style;
  MenuLook(p, row, style);
  p.Open(c, "EndMenu", "</ul></nav>");
  p.Emit("<nav class=\"vt-menu", row ? " vt-menu-row" : "", "\"", name.empty() ? "" : " aria-label=\"",
         EscapedAttribute{name}, name.empty() ? "" : "\"", StyleAttribute(style), ">",
         name.empty() ? "" : "<p class=\"vt-menu-name\">", Escaped{name}, name.empty() ? "" : "</p>", "<ul>");
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
        ".vt-select{display:inline-block;border:1px solid #888;border-radius:4px;padding:.2em .6em;margin:.3em 0}\n"
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
