#include "commands.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "core/text.h"
#include "keywords.h"

namespace translator {

const Command* FindCommand(std::string_view word) {
  static const KeywordTable<Command> commands = [] {
    std::unordered_map<std::string_view, Handler> handlers;
    for (auto family :
         {TextCommands, EffectCommands, ImageCommands, LinkCommands, MenuCommands, ButtonCommands, PageCommands})
      for (const CommandRow& row : family()) handlers.emplace(row.name, row.run);
    std::vector<std::pair<std::string_view, Command>> all;
    for (const std::string& k : Keywords()) {
      if (IsMarkupWord(k)) continue;
      auto h = handlers.find(k);
      all.push_back({k, Command{k, h == handlers.end() ? nullptr : h->second}});
    }
    return KeywordTable<Command>(all);
  }();
  return commands.Find(word);
}

Argument SingleArgument(Page& page, const Call& call) {
  Argument a = ParseArgument(call.rest);
  if (!a.closed) page.Warn(call, std::string(call.name) + ": the closing bracket or quote is missing");
  return a;
}

void KeepSetting(Page& page, const Call& call) { page.Set(call.name, SingleArgument(page, call).value); }

void KeepArguments(Page& page, const Call& call) { page.Set(call.name, core::TrimBlankView(call.rest)); }

void EndBlock(Page& page, const Call& call, const char* opener) {
  if (!page.Close(call)) page.Warn(call, std::string(call.name) + " without " + opener + "; ignored");
}

namespace {

// What a text is escaped as: text, an attribute value, or an address in an attribute
// (where backslashes also become slashes and blanks %20).
enum class As { Text, Attribute, Address };

// The bytes escaping changes: & < > and NUL (never valid in a page: dropped), '"' in
// attribute values and addresses, '\\' and ' ' in addresses.
constexpr std::array<bool, 256> SpecialBytes(As as) {
  std::array<bool, 256> special{};
  special['&'] = special['<'] = special['>'] = special[0] = true;
  special['"'] = as != As::Text;
  special['\\'] = special[' '] = as == As::Address;
  return special;
}
constexpr std::array<bool, 256> kSpecial[] = {SpecialBytes(As::Text), SpecialBytes(As::Attribute),
                                              SpecialBytes(As::Address)};

std::string_view Replacement(char special) {
  switch (special) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\\': return "/";
    case ' ': return "%20";
    default: return {};  // NUL
  }
}

// Copies the runs between special bytes whole.
void Append(std::string& out, std::string_view text, As as) {
  const std::array<bool, 256>& special = kSpecial[static_cast<int>(as)];
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!special[static_cast<unsigned char>(text[i])]) continue;
    out.append(text, run, i - run).append(Replacement(text[i]));
    run = i + 1;
  }
  out.append(text, run);
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text, bool attribute) {
  Append(out, text, attribute ? As::Attribute : As::Text);
}

void AppendUrl(std::string& out, std::string_view address) {
  // One pass: backslashes become slashes and blanks %20, and the value is escaped.
  Append(out, core::TrimBlankView(address), As::Address);
}

namespace {

std::string Escape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  AppendEscaped(out, text, attribute);
  return out;
}

}  // namespace

std::string EscapeText(std::string_view text) { return Escape(text, false); }
std::string EscapeAttribute(std::string_view text) { return Escape(text, true); }

std::string UrlAttribute(std::string_view address) {
  std::string out;
  out.reserve(address.size());
  AppendUrl(out, address);
  return out;
}

std::string StyleAttribute(std::string_view style) {
  std::string_view s = core::TrimBlankView(style);
  if (s.empty()) return {};
  std::string out;
  out.reserve(s.size() + 16);
  out += " style=\"";
  AppendEscaped(out, s, true);
  out += '"';
  return out;
}

std::string JoinStyles(std::string_view first, std::string_view second) {
  std::string_view a = core::TrimBlankView(first), b = core::TrimBlankView(second);
  if (a.empty()) return std::string(b);
  if (b.empty()) return std::string(a);
  std::string joined;
  joined.reserve(a.size() + b.size() + 2);
  joined.append(a);
  if (a.back() != ';') joined += ';';
  return joined.append(" ").append(b);
}

std::string Attribute(std::string_view name, std::string_view value) {
  if (value.empty()) return {};
  std::string out;
  out.reserve(name.size() + value.size() + 4);
  out.append(" ").append(name).append("=\"");
  AppendEscaped(out, value, true);
  out += '"';
  return out;
}

std::string ReadableName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  std::replace(name.begin(), name.end(), '-', ' ');
  std::replace(name.begin(), name.end(), '_', ' ');
  return core::TrimBlank(name);
}

}  // namespace translator
