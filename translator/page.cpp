#include "page.h"

#include <algorithm>
#include <cctype>

#include "core/files.h"
#include "commands.h"
#include "keywords.h"
#include "core/text.h"
#include "markup_scanner.h"
#include "references.h"
#include "translator.h"

namespace translator {

Page::Page(std::string& out, const Options& options, std::string programPath, std::string eol, WarnFunction warn)
    : out_(out),
      options_(options),
      programPath_(std::move(programPath)),
      eol_(std::move(eol)),
      warn_(std::move(warn)) {}

Page::Setting* Page::Find(std::string_view key) {
  // Most names asked for were never set, and few share a length: the names are chained
  // by their length.
  for (int i = byLength_[std::min<size_t>(key.size(), kLengths - 1)]; i >= 0; i = settings_[i].nextOfLength)
    if (SameBytes(settings_[i].name, key)) return &settings_[i];
  return nullptr;
}

void Page::Set(std::string_view key, std::string_view value) {
  Setting* s = Find(key);
  if (!s) {
    int& first = byLength_[std::min<size_t>(key.size(), kLengths - 1)];
    s = &settings_.emplace_back(Setting{std::string(key), {}, {}, false, first});
    first = static_cast<int>(settings_.size()) - 1;
  }
  // Programs set the same style again and again: its attribute, once made, still holds.
  if (s->value == value) return;
  s->value.assign(value);  // into the buffer the last value had
  s->styled = false;
}

const std::string& Page::Get(std::string_view key) const {
  static const std::string none;
  const Setting* s = Find(key);
  return s ? s->value : none;
}

std::string Page::Take(std::string_view key) {
  Setting* s = Find(key);
  if (!s) return {};
  // Emptied rather than erased: a value taken is usually set again soon (LinkText,
  // ButtonText), and an empty value is no value to every reader.
  std::string value = std::move(s->value);
  s->value.clear();
  s->styled = false;
  return value;
}

const std::string& Page::StyleAttributeOf(std::string_view key) {
  static const std::string none;
  Setting* found = Find(key);
  if (!found) return none;
  Setting& s = *found;
  if (!s.styled) {
    s.styleAttribute = StyleAttribute(s.value);
    s.styled = true;
  }
  return s.styleAttribute;
}

void Page::AddCss(std::string_view rule) {
  if (std::find(css_.begin(), css_.end(), rule) == css_.end()) css_.emplace_back(rule);
}

void Page::AddLinkCss(int state, std::string_view rule) {
  std::pair<int, std::string> entry{state, std::string(rule)};
  if (std::find(linkCss_.begin(), linkCss_.end(), entry) != linkCss_.end()) return;
  linkCss_.insert(std::upper_bound(linkCss_.begin(), linkCss_.end(), state,
                                   [](int s, const std::pair<int, std::string>& e) { return s < e.first; }),
                  std::move(entry));
}

void Page::UseScript(const Call& c, const std::string& fileName) {
  for (const auto& s : scripts_)
    if (s.first == fileName) return;
  scripts_.push_back({fileName, Call{c.name, {}, c.path, c.line}});
}

void Page::Refer(const std::string& path, int line, std::string_view target, Reference::Kind kind) {
  std::string_view t = core::TrimBlankView(target);
  if (!IsLocalReference(t)) return;
  if (references_.empty()) references_.reserve(64);
  references_.push_back({path, line, std::string(t), kind});
}

void Page::Open(const Call& c, std::string_view closer, std::string closing) {
  // Blocks name their file by its place in paths_: most blocks of a program are in one file.
  if (paths_.empty() || paths_.back() != c.path) paths_.push_back(c.path);
  blocks_.push_back({std::string(c.name), std::string(closer), std::move(closing), paths_.size() - 1, c.line});
}

bool Page::IsOpen(std::string_view closer) const {
  return std::any_of(blocks_.begin(), blocks_.end(), [&](const Block& b) { return b.closer == closer; });
}

bool Page::Close(const Call& c) {
  auto it = std::find_if(blocks_.rbegin(), blocks_.rend(), [&](const Block& b) { return b.closer == c.name; });
  if (it == blocks_.rend()) return false;
  std::string closing;
  // Blocks opened inside this one and left open end with it, so the elements nest.
  while (blocks_.back().closer != c.name) {
    const Block& inner = blocks_.back();
    warn_(paths_[inner.path], inner.line,
          inner.opener + " has no " + inner.closer + "; it is closed by the " + std::string(c.name) + " on line " +
              std::to_string(c.line));
    closing += inner.closing;
    blocks_.pop_back();
  }
  closing += blocks_.back().closing;
  blocks_.pop_back();
  Emit(closing);
  return true;
}

std::string Page::CloseAll() {
  std::string closing;
  while (!blocks_.empty()) {
    const Block& b = blocks_.back();
    warn_(paths_[b.path], b.line, b.opener + " has no " + b.closer + "; it is closed at the end of the page");
    closing += b.closing + eol_;
    blocks_.pop_back();
  }
  return closing;
}

std::string Page::StyleSheet() const {
  if (css_.empty() && linkCss_.empty()) return {};
  std::string sheet = "<style>" + eol_;
  for (const std::string& rule : css_) sheet += core::ReplaceAll(rule, "\n", eol_) + eol_;
  for (const auto& [state, rule] : linkCss_) sheet += rule + eol_;
  if (motion_)
    sheet += "@media (prefers-reduced-motion:reduce){*,*::before,*::after{animation:none!important;"
             "transition:none!important}}" +
             eol_;
  return sheet + "</style>" + eol_;
}

std::string Page::Scripts(std::vector<std::string>& files) {
  std::string html;
  for (const auto& [name, call] : scripts_) {
    std::string bytes;
    std::string path = core::JoinPath(options_.scriptFolder, name);
    if (!options_.read || !options_.read(path, bytes)) {
      warn_(call.path, call.line,
            "the script " + path + " cannot be read; " + std::string(call.name) + " does nothing in this page");
      continue;
    }
    // Nothing in a script of ours ends the element early; a changed file must not either.
    if (FindNoCase(bytes, "</script") != std::string::npos) continue;
    if (options_.scriptsBeside) {
      files.push_back(path);
      html += "<script src=\"" + UrlAttribute(name) + "\"></script>" + eol_;
      continue;
    }
    if (!bytes.empty() && bytes.back() != '\n') bytes += '\n';
    html +=
        "<script>" + eol_ + core::ReplaceAll(core::ReplaceAll(bytes, "\r\n", "\n"), "\n", eol_) + "</script>" + eol_;
  }
  return html;
}

std::vector<std::string> SplitArguments(std::string_view rest) {
  std::vector<std::string> values;
  ForEachArgument(rest, [&](std::string_view value) {
    if (values.empty()) values.reserve(2);  // most commands take one or two
    values.emplace_back(value);
  });
  return values;
}

std::string CssText(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '<' && c != '>' && c != '{' && c != '}' && c != '\0') out += c;
  return core::TrimBlank(out);
}

std::string CssUrl(std::string_view path) {
  std::string out = "url(\"";
  for (char c : path) {
    if (c == '\\') out += '/';
    else if (c == '"') out += "\\\"";
    else if (c == '<' || c == '>' || c == '\n' || c == '\r' || c == '\0') continue;
    else out += c;
  }
  return out + "\")";
}

std::string CssLength(std::string_view text) {
  std::string t = CssText(text);
  bool number = !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
  });
  return number && t != "0" ? t + "px" : t;
}

bool IsYes(std::string_view text) {
  std::string t = core::ToLower(core::TrimBlank(text));
  return t == "yes" || t == "on" || t == "true" || t == "1";
}

}  // namespace translator
