// Lines of a program: read one by one, and cut into whole lines when the program comes
// in pieces.
#pragma once
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <string_view>

#include "translator.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace translator {

// Hands out the lines of a text one by one. Line ends (CR, LF) are looked for sixteen
// bytes at a time, and the ends found in those bytes serve the lines after, so each
// byte is looked at once however the lines end.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return start_ >= bytes_.size(); }
  // Where the next line starts.
  size_t Position() const { return start_; }
  // The next line and its end; only when !AtEnd(). Kept inline: it runs for every line.
  [[gnu::always_inline]] SourceLine Next() {
    size_t p = NextEnd();
    if (p == bytes_.size()) {
      SourceLine line{bytes_.substr(start_), {}};
      start_ = bytes_.size();
      return line;
    }
    size_t endLen = (bytes_[p] == '\r' && p + 1 < bytes_.size() && bytes_[p + 1] == '\n') ? 2 : 1;
    SourceLine line{bytes_.substr(start_, p - start_), bytes_.substr(p, endLen)};
    start_ = p + endLen;
    return line;
  }

 private:
#if defined(__SSE2__) || defined(_M_X64)
  // The first CR or LF at or after start_; the text's size when there is none.
  size_t NextEnd() {
    const size_t size = bytes_.size();
    size_t from = start_;
    if (from >= at_ && from < at_ + 16) {
      // Still within the sixteen bytes last looked at.
      if (unsigned ends = ends_ & (~0u << (from - at_))) return at_ + static_cast<size_t>(std::countr_zero(ends));
      from = at_ + 16;
    }
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; from + 16 <= size; from += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes_.data() + from));
      if (unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))))) {
        at_ = from;
        ends_ = ends;
        return from + static_cast<size_t>(std::countr_zero(ends));
      }
    }
    for (; from < size; ++from)
      if (bytes_[from] == '\n' || bytes_[from] == '\r') return from;
    return size;
  }

  std::string_view bytes_;
  size_t start_ = 0;
  size_t at_ = std::string_view::npos;  // the sixteen bytes from at_ hold line ends at the bits of ends_
  unsigned ends_ = 0;
#else
  // The first CR or LF at or after start_; the text's size when there is none. The next
  // LF and the next CR are remembered: a text of lone CRs has no LF at all.
  size_t NextEnd() { return std::min(Find('\n', nextLf_), Find('\r', nextCr_)); }
  size_t Find(char c, size_t& cached) const {
    if (cached != kUnknown && cached >= start_) return cached;
    const void* at = std::memchr(bytes_.data() + start_, c, bytes_.size() - start_);
    return cached = at ? static_cast<size_t>(static_cast<const char*>(at) - bytes_.data()) : bytes_.size();
  }

  static constexpr size_t kUnknown = std::string_view::npos;
  std::string_view bytes_;
  size_t start_ = 0, nextLf_ = kUnknown, nextCr_ = kUnknown;
#endif
};

// The bytes of `text` up to its last line end that is surely whole (a CR at the very
// end may be the first half of a CR LF); 0 when there is none. Bytes before `from` - 1
// hold no line end, so a line of many pieces is not searched again and again.
inline size_t WholeLines(std::string_view text, size_t from) {
  size_t first = from > 0 ? from - 1 : 0;
  for (size_t end = text.size(); end > first;) {
    size_t k = text.find_last_of("\r\n", end - 1);
    if (k == std::string_view::npos || k < first) return 0;
    if (!(text[k] == '\r' && k + 1 == text.size())) return k + 1;
    end = k;
  }
  return 0;
}

// The line end a page takes from its program: its first one, LF when it has none.
inline std::string LineEndOf(std::string_view text) {
  size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace translator
