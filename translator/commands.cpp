#include "commands.h"

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

#if !defined(__SSE2__) && !defined(_M_X64)
// Whether eight bytes may hold one of the special bytes, tested all at once: the usual
// test for a zero byte after each special is xor-ed away. It may say yes wrongly (a byte
// after a true match), never no wrongly; a yes is then looked at byte by byte.
[[gnu::always_inline]] inline bool MayHoldSpecial(const char* at, As as) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  uint64_t v;
  std::memcpy(&v, at, sizeof v);
  auto zeroAfterXor = [&](unsigned char c) {
    uint64_t x = v ^ (kOnes * c);
    return (x - kOnes) & ~x & kHighs;
  };
  uint64_t hit = zeroAfterXor('&') | zeroAfterXor('<') | zeroAfterXor('>') | zeroAfterXor(0);
  if (as != As::Text) hit |= zeroAfterXor('"');
  if (as == As::Address) hit |= zeroAfterXor('\\') | zeroAfterXor(' ');
  return hit != 0;
}
#endif

// The special bytes among sixteen, one bit each.
#if defined(__SSE2__) || defined(_M_X64)
[[gnu::always_inline]] inline unsigned SpecialBytesIn(__m128i v, As as) {
  auto is = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  __m128i hit = _mm_or_si128(_mm_or_si128(is('&'), is('<')), _mm_or_si128(is('>'), is('\0')));
  if (as != As::Text) hit = _mm_or_si128(hit, is('"'));
  if (as == As::Address) hit = _mm_or_si128(hit, _mm_or_si128(is('\\'), is(' ')));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
[[gnu::always_inline]] inline unsigned SpecialBytesOf16(const char* at, As as) {
  return SpecialBytesIn(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), as);
}
#endif

// Whether `text` may hold a special byte. Most text holds none, and is looked at in
// blocks of sixteen bytes (or eight or four, twice over), the last block overlapping
// the one before.
bool MayHoldAnySpecial(std::string_view text, As as) {
  const size_t size = text.size();
  const char* at = text.data();
#if defined(__SSE2__) || defined(_M_X64)
  if (size >= 16) {
    for (size_t i = 0; i + 16 < size; i += 16)
      if (SpecialBytesOf16(at + i, as)) return true;
    return SpecialBytesOf16(at + size - 16, as) != 0;
  }
  if (size >= 8) {
    int64_t first, last;
    std::memcpy(&first, at, 8);
    std::memcpy(&last, at + size - 8, 8);
    return SpecialBytesIn(_mm_set_epi64x(last, first), as) != 0;
  }
  if (size >= 4) {
    uint32_t first, last;
    std::memcpy(&first, at, 4);
    std::memcpy(&last, at + size - 4, 4);
    return SpecialBytesIn(_mm_set1_epi64x(static_cast<int64_t>(first | uint64_t(last) << 32)), as) != 0;
  }
#else
  if (size >= 8) {
    for (size_t i = 0; i + 8 < size; i += 8)
      if (MayHoldSpecial(at + i, as)) return true;
    return MayHoldSpecial(at + size - 8, as);
  }
#endif
  const std::array<bool, 256>& special = kSpecial[static_cast<int>(as)];
  for (char c : text)
    if (special[static_cast<unsigned char>(c)]) return true;
  return false;
}

// Copies the runs between special bytes whole. Text that holds one is rare: it is
// looked at sixteen bytes at a time, and its last few bytes one by one.
void Append(std::string& out, std::string_view text, As as) {
  if (text.empty()) return;
  if (!MayHoldAnySpecial(text, as)) {
    out.append(text);
    return;
  }
  const std::array<bool, 256>& special = kSpecial[static_cast<int>(as)];
  const size_t size = text.size();
  size_t run = 0, i = 0;
  auto escape = [&](size_t at) {
    out.append(text.data() + run, at - run);
    switch (text[at]) {
      case '&': out.append("&amp;"); break;
      case '<': out.append("&lt;"); break;
      case '>': out.append("&gt;"); break;
      case '"': out.append("&quot;"); break;
      case '\\': out.append("/"); break;
      case ' ': out.append("%20"); break;
      default: break;  // NUL
    }
    run = at + 1;
  };
#if defined(__SSE2__) || defined(_M_X64)
  for (; i + 16 <= size; i += 16)
    for (unsigned hits = SpecialBytesOf16(text.data() + i, as); hits; hits &= hits - 1)
      escape(i + static_cast<size_t>(std::countr_zero(hits)));
#endif
  for (; i < size; ++i)
    if (special[static_cast<unsigned char>(text[i])]) escape(i);
  out.append(text.data() + run, size - run);
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

}  // namespace translator
