#include "commands.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "core/text.h"
#include "keywords.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace translator {

const Command* FindCommand(std::string_view word) {
  static const KeywordTable<Command> commands = [] {
    std::unordered_map<std::string_view, Handler> handlers;
    for (auto family : {TextCommands, EffectCommands, ImageCommands, LinkCommands, MenuCommands, ButtonCommands,
                        PageCommands})
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

// The bytes escaping changes: & < > and NUL (never valid in a page: dropped), and '"'
// in attribute values.
constexpr std::array<bool, 256> SpecialBytes(bool attribute) {
  std::array<bool, 256> special{};
  special['&'] = special['<'] = special['>'] = special[0] = true;
  special['"'] = attribute;
  return special;
}
constexpr std::array<bool, 256> kSpecialInText = SpecialBytes(false), kSpecialInAttribute = SpecialBytes(true);

// Whether eight bytes may hold one of the special bytes, tested all at once: the usual
// test for a zero byte after each special is xor-ed away. It may say yes wrongly (a byte
// after a true match), never no wrongly; a yes is then looked at byte by byte.
bool MayHoldSpecial(const char* at, bool attribute) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  uint64_t v;
  std::memcpy(&v, at, sizeof v);
  auto zeroAfterXor = [&](unsigned char c) {
    uint64_t x = v ^ (kOnes * c);
    return (x - kOnes) & ~x & kHighs;
  };
  uint64_t hit = zeroAfterXor('&') | zeroAfterXor('<') | zeroAfterXor('>') | zeroAfterXor(0);
  if (attribute) hit |= zeroAfterXor('"');
  return hit != 0;
}

// The special bytes among the sixteen at `at`, one bit each.
#if defined(__SSE2__) || defined(_M_X64)
unsigned SpecialBytesOf16(const char* at, bool attribute) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('&')), _mm_cmpeq_epi8(v, _mm_set1_epi8('<'))),
                             _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('>')), _mm_cmpeq_epi8(v, _mm_setzero_si128())));
  if (attribute) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8('"')));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

}  // namespace

// Copies the runs between special bytes whole; most text has none, so it is looked at
// sixteen or eight bytes at a time.
void AppendEscaped(std::string& out, std::string_view text, bool attribute) {
  const std::array<bool, 256>& special = attribute ? kSpecialInAttribute : kSpecialInText;
  const size_t size = text.size();
  size_t run = 0, i = 0;
  auto escape = [&](size_t at) {
    out.append(text.data() + run, at - run);
    switch (text[at]) {
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '"': out.append("&quot;"); break;
      default: break;  // NUL
    }
    run = at + 1;
  };
#if defined(__SSE2__) || defined(_M_X64)
  for (; i + 16 <= size; i += 16)
    for (unsigned hits = SpecialBytesOf16(text.data() + i, attribute); hits; hits &= hits - 1)
      escape(i + static_cast<size_t>(std::countr_zero(hits)));
#endif
  while (i < size) {
    if (i + 8 <= size && !MayHoldSpecial(text.data() + i, attribute)) {
      i += 8;
      continue;
    }
    for (size_t end = std::min(size, i + 8); i < end; ++i)
      if (special[static_cast<unsigned char>(text[i])]) escape(i);
  }
  out.append(text.data() + run, size - run);
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

void AppendUrl(std::string& out, std::string_view address) {
  // One pass: backslashes become slashes and blanks %20, then the value is escaped.
  std::string_view url = core::TrimBlankView(address);
  size_t run = 0;
  for (size_t i = 0; i < url.size(); ++i) {
    if (url[i] != '\\' && url[i] != ' ') continue;
    AppendEscaped(out, url.substr(run, i - run), true);
    out += url[i] == ' ' ? "%20" : "/";
    run = i + 1;
  }
  AppendEscaped(out, url.substr(run), true);
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

}  // namespace translator
