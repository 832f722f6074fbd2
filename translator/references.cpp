#include "references.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"
#include "markup_scanner.h"
#include "page.h"

namespace translator {

bool IsLocalReference(std::string_view target) {
  std::string_view t = core::TrimBlankView(target);
  if (!t.empty() && (core::IsAsciiDigit(t[0]) || t[0] == '.' || t[0] == '#' || t[0] == '_')) return true;
  if (t.empty() || core::StartsWith(t, "//") || core::StartsWith(t, "\\\\")) return false;
  // A scheme: a letter, then letters, digits, "+", "-" or "."; one letter is a Windows drive.
  size_t i = 0;
  while (i < t.size() && (core::IsAsciiAlnum(t[i]) || t[i] == '+' || t[i] == '-' || t[i] == '.')) ++i;
  return !(i > 1 && i < t.size() && t[i] == ':' && core::IsAsciiAlpha(t[0]));
}

const std::string* TagScanner::Tag::Value(std::string_view name) const {
  for (const Attribute& a : attributes)
    if (a.name == name) return &a.value;
  return nullptr;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Only these attributes are kept: the ones that name files of the site, say what a
// <link> or <input> is, or give an id.
constexpr std::string_view kWanted[] = {"src",        "href", "srcset", "poster", "data",
                                        "background", "rel",  "type",   "id",     "name"};
bool Wanted(std::string_view name) {
  for (std::string_view w : kWanted)
    if (name == w) return true;
  return false;
}

// The elements whose attributes can name a file (the old background attribute only on <body>).
bool NamesFiles(std::string_view e) {
  switch (e.size()) {
    case 1: return e == "a";
    case 3: return e == "img";
    case 4: return e == "link" || e == "area" || e == "body";
    case 5: return e == "audio" || e == "video" || e == "input" || e == "frame" || e == "embed" || e == "track";
    case 6: return e == "script" || e == "source" || e == "iframe" || e == "object";
    default: return false;
  }
}

// Elements whose content holds no tags.
bool IsRawElement(std::string_view element) {
  return element == "script" || element == "style" || element == "textarea" || element == "title";
}

}  // namespace

void TagScanner::KeepAttribute(int line) {
  if (Wanted(name_)) tag_.attributes.push_back({name_, value_, valueLine_ ? valueLine_ : line});
  name_.clear();
  value_.clear();
  valueLine_ = 0;
}

bool TagScanner::NameEnded(bool tagEnded) {
  if (everyElement_ || NamesFiles(tag_.element)) {
    if (tagEnded) return EndTag();
    state_ = State::Between;
    return false;
  }
  if (tagEnded) EndTag();
  else state_ = State::Rest;
  return false;
}

bool TagScanner::EndTag() {
  if (IsRawElement(tag_.element)) {
    state_ = State::Raw;
    rawEnd_ = "</" + tag_.element;
  } else {
    state_ = State::Text;
  }
  return true;
}

void TagScanner::AtLineEnd(int line) {
  // A line end ends a name or a bare value as a blank would.
  if (state_ == State::Name) NameEnded(false);
  else if (state_ == State::AttributeName) state_ = State::AfterName;
  else if (state_ == State::Bare) {
    KeepAttribute(line);
    state_ = State::Between;
  }
}

bool TagScanner::Step(std::string_view s, size_t& i, int line) {
  const size_t n = s.size();
  char c = s[i];
  switch (state_) {
    case State::Text: {
      const void* at = std::memchr(s.data() + i, '<', n - i);
      if (!at) {
        i = n;
        return false;
      }
      i = static_cast<size_t>(static_cast<const char*>(at) - s.data()) + 1;
      if (s.substr(i, 3) == "!--") {
        state_ = State::Comment;
        i += 3;
      } else if (i < n && core::IsAsciiAlpha(s[i])) {
        state_ = State::Name;
        tag_.element.clear();
        tag_.attributes.clear();
      } else if (i < n && (s[i] == '/' || s[i] == '!' || s[i] == '?')) {
        state_ = State::Skip;
      }
      return false;
    }
    case State::Comment:
    case State::Skip:
    case State::Raw: {
      std::string_view end = state_ == State::Comment ? "-->" : state_ == State::Skip ? ">" : std::string_view(rawEnd_);
      size_t at = state_ == State::Raw ? FindNoCase(s, end, i) : s.find(end, i);
      if (at == std::string_view::npos) {
        i = n;
        return false;
      }
      i = at + end.size();
      state_ = state_ == State::Raw ? State::Skip : State::Text;  // the rest of the end tag
      return false;
    }
    case State::Name: {
      size_t end = i;
      while (end < n && !IsBlank(s[end]) && s[end] != '>' && s[end] != '/') ++end;
      for (; i < end; ++i) tag_.element += core::AsciiLower(s[i]);
      if (i == n) return false;
      return NameEnded(s[i++] == '>');
    }
    case State::Rest: {  // a tag whose attributes do not matter
      size_t at = s.find('>', i);
      i = at == std::string_view::npos ? n : at + 1;
      if (at != std::string_view::npos) EndTag();
      return false;
    }
    case State::Between:
      ++i;
      if (c == '>') return EndTag();
      if (!IsBlank(c) && c != '/') {
        name_.assign(1, core::AsciiLower(c));
        state_ = State::AttributeName;
      }
      return false;
    case State::AttributeName:
      if (IsBlank(c) || c == '=' || c == '>' || c == '/') state_ = State::AfterName;
      else {
        name_ += core::AsciiLower(c);
        ++i;
      }
      return false;
    case State::AfterName:
      if (IsBlank(c)) ++i;
      else if (c == '=') {
        ++i;
        state_ = State::BeforeValue;
      } else {
        KeepAttribute(line);  // an attribute without a value
        state_ = State::Between;
      }
      return false;
    case State::BeforeValue:
      if (IsBlank(c)) {
        ++i;
        return false;
      }
      valueLine_ = line;
      if (c == '"' || c == '\'') {
        quote_ = c;
        ++i;
        state_ = State::Quoted;
      } else {
        state_ = c == '>' ? State::Between : State::Bare;
        if (c == '>') KeepAttribute(line);
      }
      return false;
    case State::Quoted: {
      size_t at = s.find(quote_, i);
      value_.append(s.substr(i, at == std::string_view::npos ? std::string_view::npos : at - i));
      if (at == std::string_view::npos) {
        value_ += ' ';  // the line end inside the value
        i = n;
        return false;
      }
      i = at + 1;
      KeepAttribute(line);
      state_ = State::Between;
      return false;
    }
    case State::Bare:
      if (IsBlank(c) || c == '>') {
        KeepAttribute(line);
        state_ = State::Between;
      } else {
        value_ += c;
        ++i;
      }
      return false;
  }
  return false;
}

namespace {

using Kind = Reference::Kind;

std::string DecodedAmpersands(std::string_view value) { return core::ReplaceAll(std::string(value), "&amp;", "&"); }

void Add(std::vector<Reference>& out, const std::string& path, int line, std::string_view target, Kind kind) {
  std::string t = DecodedAmpersands(core::TrimBlankView(target));
  if (IsLocalReference(t)) out.push_back({path, line, std::move(t), kind});
}

// "a.jpg 1x, b.jpg 2x": each candidate's address.
void AddSourceSet(std::vector<Reference>& out, const std::string& path, int line, std::string_view set, Kind kind) {
  if (FindNoCase(set, "data:") != std::string_view::npos) return;  // its commas are not separators
  for (const std::string& candidate : SplitArguments("(" + std::string(set) + ")")) {
    std::string_view c = core::TrimBlankView(candidate);
    size_t blank = c.find_first_of(" \t\r\n");
    Add(out, path, line, c.substr(0, blank), kind);
  }
}

// A <source> serves a picture, a sound or a video: told by the file's extension.
Kind KindOfSource(std::string_view target) {
  std::string ext = core::ToLower(core::ExtensionOf(target.substr(0, target.find_first_of("?#"))));
  for (const char* e : {"mp3", "ogg", "oga", "wav", "m4a", "aac", "flac", "opus", "weba"})
    if (ext == e) return Kind::Sound;
  for (const char* e : {"jpg", "jpeg", "png", "gif", "webp", "avif", "svg", "bmp", "ico"})
    if (ext == e) return Kind::Picture;
  return Kind::Video;
}

Kind KindOfLink(const TagScanner::Tag& tag) {
  const std::string* rel = tag.Value("rel");
  std::string r = rel ? core::ToLower(*rel) : std::string();
  if (r.find("stylesheet") != std::string::npos) return Kind::StyleSheet;
  if (r.find("icon") != std::string::npos) return Kind::Picture;
  return Kind::Link;
}

}  // namespace

void AddReferencesOfTag(const TagScanner::Tag& tag, const std::string& path, std::vector<Reference>& out) {
  const std::string& e = tag.element;
  for (const TagScanner::Attribute& a : tag.attributes) {
    const std::string& n = a.name;
    if (n == "background") Add(out, path, a.line, a.value, Kind::Picture);
    else if (n == "src") {
      if (e == "img") Add(out, path, a.line, a.value, Kind::Picture);
      else if (e == "input" && tag.Value("type") && core::EqualsNoCase(*tag.Value("type"), "image"))
        Add(out, path, a.line, a.value, Kind::Picture);
      else if (e == "audio") Add(out, path, a.line, a.value, Kind::Sound);
      else if (e == "video") Add(out, path, a.line, a.value, Kind::Video);
      else if (e == "source") Add(out, path, a.line, a.value, KindOfSource(a.value));
      else if (e == "script") Add(out, path, a.line, a.value, Kind::Script);
      else if (e == "iframe" || e == "frame" || e == "embed" || e == "track")
        Add(out, path, a.line, a.value, Kind::Link);
    } else if (n == "srcset" && (e == "img" || e == "source")) {
      AddSourceSet(out, path, a.line, a.value, e == "img" ? Kind::Picture : KindOfSource(a.value));
    } else if (n == "poster" && e == "video") {
      Add(out, path, a.line, a.value, Kind::Picture);
    } else if (n == "href") {
      if (e == "a" || e == "area") Add(out, path, a.line, a.value, Kind::Link);
      else if (e == "link") Add(out, path, a.line, a.value, KindOfLink(tag));
    } else if (n == "data" && e == "object") {
      Add(out, path, a.line, a.value, Kind::Link);
    }
  }
}

std::vector<std::string> PageIds(std::string_view html) {
  std::vector<std::string> ids;
  TagScanner scanner;
  scanner.Scan(html, 0, [&](const TagScanner::Tag& tag) {
    for (const TagScanner::Attribute& a : tag.attributes)
      if (a.name == "id" || (a.name == "name" && tag.element == "a")) ids.push_back(DecodedAmpersands(a.value));
  });
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

}  // namespace translator
