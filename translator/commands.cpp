#include "commands.h"

#include <unordered_map>

#include "core/text.h"

namespace translator {

Handler FindHandler(std::string_view name) {
  static const std::unordered_map<std::string_view, Handler> handlers = [] {
    std::unordered_map<std::string_view, Handler> all;
    for (auto family : {TextCommands, EffectCommands, ImageCommands, LinkCommands, MenuCommands, ButtonCommands,
                        PageCommands})
      for (const CommandRow& row : family()) all.emplace(row.name, row.run);
    return all;
  }();
  auto it = handlers.find(name);
  return it == handlers.end() ? nullptr : it->second;
}

Argument SingleArgument(Page& page, const Call& call) {
  Argument a = ParseArgument(call.rest);
  if (!a.closed) page.Warn(call, call.name + ": the closing bracket or quote is missing");
  return a;
}

void KeepSetting(Page& page, const Call& call) { page.Set(call.name, SingleArgument(page, call).value); }

void KeepArguments(Page& page, const Call& call) { page.Set(call.name, core::TrimBlank(call.rest)); }

void EndBlock(Page& page, const Call& call, const char* opener) {
  if (!page.Close(call)) page.Warn(call, call.name + " without " + opener + "; ignored");
}

static std::string Escape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
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

std::string UrlAttribute(std::string_view address) {
  std::string url = core::ReplaceAll(core::ReplaceAll(core::TrimBlank(address), "\\", "/"), " ", "%20");
  return EscapeAttribute(url);
}

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

std::string Attribute(std::string_view name, std::string_view value) {
  if (value.empty()) return {};
  return " " + std::string(name) + "=\"" + EscapeAttribute(value) + "\"";
}

}  // namespace translator
