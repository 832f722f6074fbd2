#include "translator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/files.h"
#include "core/own_files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "argument_forms.h"
#include "commands.h"
#include "keywords.h"
#include "markup_scanner.h"
#include "references.h"
#include "site_checks.h"

namespace translator {

namespace {

// Hands out the lines of a text one by one. It remembers where the next LF and the next
// CR are, so each byte is searched once for each of them even when one never comes (a
// text of lone CRs has no LF at all).
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return start_ >= bytes_.size(); }
  // The next line and its end; only when !AtEnd().
  SourceLine Next() {
    size_t p = std::min(Find('\n', nextLf_), Find('\r', nextCr_)), endSize = 0;
    if (p < bytes_.size()) endSize = bytes_[p] == '\r' && p + 1 < bytes_.size() && bytes_[p + 1] == '\n' ? 2 : 1;
    SourceLine line{bytes_.substr(start_, p - start_), bytes_.substr(p, endSize)};
    start_ = p + endSize;
    return line;
  }

 private:
  // The first `c` at or after start_ (the text's size when there is none); `cached` is
  // the last answer, still good while it is not behind start_.
  size_t Find(char c, size_t& cached) const {
    if (cached != kUnknown && cached >= start_) return cached;
    const void* at = std::memchr(bytes_.data() + start_, c, bytes_.size() - start_);
    return cached = at ? static_cast<size_t>(static_cast<const char*>(at) - bytes_.data()) : bytes_.size();
  }

  static constexpr size_t kUnknown = std::string_view::npos;
  std::string_view bytes_;
  size_t start_ = 0, nextLf_ = kUnknown, nextCr_ = kUnknown;
};

}  // namespace

std::vector<SourceLine> SplitKeepingEnds(std::string_view bytes) {
  std::vector<SourceLine> lines;
  for (LineReader reader(bytes); !reader.AtEnd();) lines.push_back(reader.Next());
  return lines;
}

std::string FormatDiagnostic(const Diagnostic& d) {
  return d.path + ":" + std::to_string(d.line) + ": " +
         (d.severity == Diagnostic::Severity::Error ? "error: " : "warning: ") + d.message;
}

// The characters of a keyword: ASCII letters and digits, '_' and '#' (#Include).
static constexpr auto kWordChars = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = core::IsAsciiAlnum(static_cast<char>(c)) || c == '_' || c == '#';
  return table;
}();
static bool IsWordChar(char c) { return kWordChars[static_cast<unsigned char>(c)]; }

bool ParseLine(std::string_view line, CommandLine& command, const Command*& row) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] == '\'') {
    command.name = "'";
    command.rest = line.substr(i + 1);
    command.comment = true;
    row = nullptr;
    return true;
  }
  // No keyword is longer than this: a longer first word is text, however long it runs.
  constexpr size_t kLongestWord = 64;
  size_t j = i, stop = std::min(line.size(), i + kLongestWord + 1);
  while (j < stop && IsWordChar(line[j])) ++j;
  if (j == i || j - i > kLongestWord) return false;
  row = FindCommand(line.substr(i, j - i));
  if (!row) return false;
  // Rem is a comment only as a word of its own: "rem-odelled" is text.
  bool comment = row->name == "Rem";
  if (comment && j < line.size() && line[j] != ' ' && line[j] != '\t') return false;
  command.name = row->name;
  command.rest = line.substr(j);
  command.comment = comment;
  return true;
}

bool ParseCommandLine(std::string_view line, CommandLine& command) {
  const Command* row;
  return ParseLine(line, command, row);
}

Argument ParseArgument(std::string_view rest) {
  std::string_view r = core::TrimBlankView(rest);
  if (r.empty()) return {};
  char open = r[0];
  char close = open == '(' ? ')' : (open == '"' || open == '\'') ? open : 0;
  if (!close) return {r, true};
  size_t last = r.rfind(close);
  if (last == 0 || last == std::string_view::npos) return {core::TrimBlankView(r.substr(1)), false};
  return {r.substr(1, last - 1), true};
}

bool ProgramPathFromHandover(std::string_view cnameBytes, std::string& path) {
  for (const std::string& line : core::SplitLines(cnameBytes)) {
    std::string value;
    if (core::MatchKey(line, "Name ", value)) {
      path = value;
      return !path.empty();
    }
  }
  return false;
}

std::vector<std::string> AllowedPathsFromHandover(std::string_view cnameBytes) {
  std::vector<std::string> paths;
  for (const std::string& line : core::SplitLines(cnameBytes)) {
    std::string value;
    if (core::MatchKey(line, "Allow ", value) && !value.empty()) paths.push_back(value);
  }
  return paths;
}

std::string LibraryFolderPath(const Options& options) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(options.libraryFolder), ec);
  return ec ? options.libraryFolder : p.lexically_normal().string();
}

namespace {

bool ReadFromDisk(const std::string& path, std::string& bytes) {
  return core::FileExists(path) && core::ReadFileBytes(path, bytes);
}

// The line end a page takes from its program: its first one, LF when it has none.
std::string LineEndOf(std::string_view text) {
  size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(path.empty() ? "." : path), ec);
  if (ec) p = path;
  return p.lexically_normal().string();
}

// Writes a text file into the page piece by piece: its text escaped, its lines joined
// with "<br>" and the page's line end. A line end split between two pieces counts once;
// the file's last line end and anything after a Ctrl+Z are dropped.
class TextFileWriter {
 public:
  TextFileWriter(std::string& out, const std::string& eol) : out_(out), eol_(eol) {}

  // False once the file's end mark has been seen.
  bool Add(std::string_view piece) {
    if (ended_) return false;
    size_t start = 0;
    if (afterCr_ && !piece.empty() && piece[0] == '\n') start = 1;
    afterCr_ = false;
    while (start < piece.size()) {
      size_t p = piece.find_first_of(std::string_view("\r\n\x1a", 3), start);
      if (p != start) {
        if (owed_) out_.append("<br>").append(eol_);
        owed_ = false;
        out_.append(EscapeText(piece.substr(start, (p == std::string_view::npos ? piece.size() : p) - start)));
      }
      if (p == std::string_view::npos) break;
      if (piece[p] == '\x1a') {
        ended_ = true;
        return false;
      }
      if (owed_) out_.append("<br>").append(eol_);
      owed_ = true;
      start = p + 1;
      if (piece[p] == '\r') {
        if (start < piece.size() && piece[start] == '\n') ++start;
        else if (start == piece.size()) afterCr_ = true;
      }
    }
    return true;
  }

 private:
  std::string& out_;
  const std::string& eol_;
  bool owed_ = false, afterCr_ = false, ended_ = false;
};

class Translation {
 public:
  Translation(const std::string& programPath, const Options& options)
      : options_(options),
        programPath_(programPath),
        programFolder_(core::FolderOf(programPath)),
        page_(out_, options_, programPath, "\n",
              [this](const std::string& path, int line, const std::string& message) { Warn(path, line, message); }),
        onDisk_(!options.read || options.readsDisk) {
    if (!options_.read) options_.read = ReadFromDisk;
    // The folders a program may read from: its own folder and below, the Library, and what the user allowed.
    roots_.push_back(Canonical(programFolder_));
    roots_.push_back(Canonical(LibraryFolderPath(options_)));
    for (const std::string& a : options_.allowed) roots_.push_back(Canonical(a));
  }

  Result Run(std::string_view program) {
    eol_ = LineEndOf(program);
    page_.SetEol(eol_);
    // Pages come out a little larger than their programs; growing in steps would copy them again and again.
    out_.reserve(std::min(program.size() + program.size() / 4 + 4096, options_.maxPageBytes + 1));
    stack_.push_back(Canonical(programPath_));
    int number = 0;
    return Finish(TranslateText(program, AbsolutePath(programPath_), number));
  }

 private:
  Result Finish(bool ok) {
    Result r;
    if (ok) CloseBlocks();
    r.diagnostics = diagnostics_;
    r.outside = outside_;
    r.references = std::move(page_.references());
    r.scripts = std::move(scripts_);
    for (const Diagnostic& d : diagnostics_) {
      if (d.severity == Diagnostic::Severity::Warning) r.warnings.push_back(FormatDiagnostic(d));
      else if (r.error.empty()) r.error = FormatDiagnostic(d);
    }
    if (!ok || ownFiles_) r.outside.clear();  // another error: allowing files would not help
    if (!ok || ownFiles_ || !outside_.empty()) return r;
    r.ok = true;
    // Without a command every line went into the page as it stands: the page is the program.
    if (!anyCommand_) r.page = std::move(out_);
    else if (scanner_.SawHtmlElement()) r.page = WithStyleSheet(std::move(out_));
    else r.page = Wrapped(std::move(out_));
    return r;
  }

  // Paths are compared with "..", "." and (on disk) symbolic links resolved.
  std::string Canonical(const std::string& path) const {
    std::string absolute = AbsolutePath(path);
    if (!onDisk_) return absolute;
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::path(absolute), ec);
    return ec ? absolute : p.string();
  }
  bool Allowed(const std::string& canonical) const {
    for (const std::string& root : roots_) {
      if (canonical == root) return true;
      std::string prefix = root.back() == '/' ? root : root + "/";
      if (canonical.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
  }

  // Records an error; the translation stops.
  bool Fail(const std::string& path, int line, const std::string& message) {
    diagnostics_.push_back({path, line, Diagnostic::Severity::Error, message});
    return false;
  }
  // A program of a million slips gives the first warnings and one line saying so, not a
  // million lines for the editor to list.
  void Warn(const std::string& path, int line, const std::string& message) {
    if (++warningCount_ > kMaxWarnings) return;
    if (warningCount_ == kMaxWarnings) {
      diagnostics_.push_back({path, line, Diagnostic::Severity::Warning,
                              "more than " + std::to_string(kMaxWarnings - 1) + " warnings; the rest are not shown"});
      return;
    }
    diagnostics_.push_back({path, line, Diagnostic::Severity::Warning, message});
  }
  bool PageTooBig(const std::string& path, int number) {
    if (out_.size() <= options_.maxPageBytes) return false;
    Fail(path, number, "the page grows beyond " + std::to_string(options_.maxPageBytes >> 20) + " MB");
    return true;
  }

  // `path` is the absolute path of the file `text` comes from; `number` the number of
  // the line before `text`.
  bool TranslateText(std::string_view text, const std::string& path, int& number) {
    CommandLine command;
    const Command* row = nullptr;
    call_.path = path;  // the file of every command until the end or an #Include
    for (LineReader reader(text); !reader.AtEnd();) {
      SourceLine line = reader.Next();
      ++number;
      // Most lines of a page start with a tag: neither a command nor a word that looks like one.
      bool markup = !line.text.empty() && line.text[0] == '<';
      if (scanner_.InRawText() || markup || !ParseLine(line.text, command, row)) {
        // Once the warnings' bound is reached no more are shown: slips are not looked for.
        if (!scanner_.InRawText() && !markup && warningCount_ < kMaxWarnings) {
          std::string slip = SlipWarning(line.text);
          if (!slip.empty()) Warn(path, number, slip);
        }
        if (!scanner_.InRawText()) ScanTags(line.text, path, number);
        scanner_.Scan(line.text);
        out_.append(line.text.data(), line.text.size() + line.end.size());  // the end follows the text
      } else {
        anyCommand_ = true;
        if (command.comment) continue;
        if (row->name == "#End") return true;
        if (!RunCommand(command, row->run, line, path, number)) return false;
      }
      if (PageTooBig(path, number)) return false;
    }
    return true;
  }

  // The files a line of markup names. Only a line with an attribute value (or inside a
  // tag begun above) can name one: the others are passed over, the markup scanner
  // telling where comments and scripts end.
  void ScanTags(std::string_view text, const std::string& path, int number) {
    if (!tags_.InTag() && !std::memchr(text.data(), '=', text.size())) return;
    tags_.OutsideRawText();
    tags_.Scan(text, number, [&](const TagScanner::Tag& t) { AddReferencesOfTag(t, path, page_.references()); });
  }

  // Puts a command's HTML where its line stood, followed by that line's end.
  void Emit(const std::string& html, const SourceLine& line) { out_.append(html).append(line.end); }
  bool RunCommand(const CommandLine& c, Handler run, const SourceLine& line, const std::string& path, int number) {
    for (const std::string& problem : ArgumentProblems(c.name, c.rest)) Warn(path, number, problem);
    if (run) {
      page_.SetLineEnd(line.end);
      // One Call serves every command; its path is set once for each file.
      call_.name = c.name;
      call_.rest = c.rest;
      call_.line = number;
      run(page_, call_);
      return true;
    }
    // The commands the translator runs itself: #Include and OpenText.
    if (c.name == "#Include") {
      bool ok = Include(c, line, path, number);
      call_.path = path;  // back from the included file
      return ok;
    }
    const std::string name(c.name);
    Argument arg = ParseArgument(c.rest);
    if (!arg.closed) Warn(path, number, name + ": the closing bracket or quote is missing");
    if (name == "OpenText") return OpenText(std::string(arg.value), line, path, number);
    else {
      Warn(path, number, name + " is not translated yet; it is left in the page as a comment");
      Emit("<!-- " + name + ": not translated -->", line);
    }
    return true;
  }

  // Finds `name` in the first of `folders` that holds it (an absolute name stands as
  // it is); backslashes are accepted as separators. `found` is its absolute path.
  bool Locate(const std::string& name, const std::vector<std::string>& folders, std::string& found) {
    for (const std::string& n : {name, core::ReplaceAll(name, "\\", "/")}) {
      if (core::IsAbsolutePath(n)) {
        found = AbsolutePath(n);
        if (Exists(found)) return true;
        continue;
      }
      for (const std::string& folder : folders) {
        found = AbsolutePath(core::JoinPath(folder.empty() ? "." : folder, n));
        if (Exists(found)) return true;
      }
    }
    return false;
  }
  bool Exists(const std::string& path) {
    std::string bytes;
    return onDisk_ ? core::FileExists(path) : options_.read(path, bytes);
  }

  // A file outside the allowed folders is refused: nothing of it reaches the page. The
  // translation goes on, so that one run names every such file.
  // The editor's own files are refused wherever they stand, and allowing cannot change that.
  bool Refused(const std::string& command, const std::string& canonical, const std::string& path, int number) {
    if (core::IsEditorsOwnFile(canonical, options_.configFolder)) {
      ownFiles_ = true;
      Fail(path, number,
           command + ": \"" + canonical + "\" is one of the editor's own files; it is never part of a page");
      return true;
    }
    if (Allowed(canonical)) return false;
    Fail(path, number, command + ": \"" + canonical + "\" is outside the site folder and the Library folder");
    if (std::find(outside_.begin(), outside_.end(), canonical) == outside_.end()) outside_.push_back(canonical);
    return true;
  }

  bool OpenText(const std::string& value, const SourceLine& line, const std::string& path, int number) {
    std::string name = core::TrimBlank(value), found;
    if (name.empty()) return Fail(path, number, "OpenText names no file");
    if (!Locate(name, {programFolder_}, found)) return Fail(path, number, "OpenText: cannot read \"" + name + "\"");
    if (Refused("OpenText", Canonical(found), path, number)) return true;
    out_ += "<div class=\"vt-file\"" + page_.StyleAttributeOf("SetTextStyle") + ">";
    TextFileWriter writer(out_, eol_);
    bool stopped = false;  // the end mark or the page's size
    if (!ForEachChunk(found,
                      [&](std::string_view chunk) {
                        stopped = !writer.Add(chunk) || out_.size() > options_.maxPageBytes;
                        return !stopped;
                      }) &&
        !stopped)
      return Fail(path, number, "OpenText: cannot read \"" + name + "\"");
    if (PageTooBig(path, number)) return false;
    Emit("</div>", line);
    return true;
  }

  // Hands a file to `sink` in pieces, so a large text file never sits in memory whole.
  // False when it cannot be read or `sink` asks to stop.
  bool ForEachChunk(const std::string& file, const std::function<bool(std::string_view)>& sink) {
    if (!onDisk_ || options_.readsDisk) {
      std::string bytes;
      return options_.read(file, bytes) && sink(bytes);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string chunk(size_t(1) << 20, '\0');
    while (in) {
      in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      if (in.bad()) return false;
      if (in.gcount() > 0 && !sink(std::string_view(chunk.data(), static_cast<size_t>(in.gcount())))) return false;
    }
    return !in.bad();
  }

  bool Include(const CommandLine& c, const SourceLine& line, const std::string& path, int number) {
    std::string name = core::TrimBlank(ParseArgument(c.rest).value), found, bytes;
    if (name.empty()) return Fail(path, number, "#Include names no file");
    // Beside the including file, then beside the program, then in the Library.
    if (!Locate(name, {core::FolderOf(path), programFolder_, options_.libraryFolder}, found))
      return Fail(path, number, "#Include: cannot find \"" + name + "\"");
    std::string canonical = Canonical(found);
    if (Refused("#Include", canonical, path, number)) return true;
    if (std::find(stack_.begin(), stack_.end(), canonical) != stack_.end()) {
      std::string chain;
      for (const std::string& s : stack_) chain += core::FileNameOf(s) + " -> ";
      return Fail(path, number, "#Include cycle: " + chain + core::FileNameOf(canonical));
    }
    if (static_cast<int>(stack_.size()) > options_.maxIncludeDepth)
      return Fail(path, number,
                  "#Include: includes nest deeper than " + std::to_string(options_.maxIncludeDepth) + " files");
    if (++includes_ > options_.maxIncludes)
      return Fail(path, number,
                  "#Include: more than " + std::to_string(options_.maxIncludes) +
                      " files included in all; the includes fan out too far");
    std::error_code ec;
    if (onDisk_ && std::filesystem::file_size(found, ec) > options_.maxPageBytes && !ec)
      return Fail(path, number, "the page grows beyond " + std::to_string(options_.maxPageBytes >> 20) + " MB");
    if (!options_.read(found, bytes)) return Fail(path, number, "#Include: cannot read \"" + name + "\"");
    stack_.push_back(canonical);
    size_t before = out_.size();
    int includedLine = 0;
    bool ok = TranslateText(bytes, found, includedLine);
    stack_.pop_back();
    if (!ok) return false;
    if (out_.size() > before && out_.back() != '\n' && out_.back() != '\r') out_.append(line.end);
    return true;
  }

  // Blocks left open are closed where the body ends, so the page stays well formed;
  // the scripts some commands need go there too.
  void CloseBlocks() {
    std::string closing = page_.CloseAll() + page_.Scripts(scripts_);
    if (closing.empty()) return;
    size_t at = LastBodyEnd();
    if (at == std::string::npos) {
      if (!out_.empty() && out_.back() != '\n' && out_.back() != '\r') out_ += eol_;
      out_ += closing;
    } else {
      out_.insert(at, closing);
    }
  }

  // The last "</body", found from the end: the page may be many megabytes.
  size_t LastBodyEnd() const {
    for (size_t at = out_.rfind('<'); at != std::string::npos; at = at ? out_.rfind('<', at - 1) : std::string::npos)
      if (StartsWithNoCase(std::string_view(out_).substr(at), "</body")) return at;
    return std::string::npos;
  }

  std::string StyleSheet() const { return page_.StyleSheet(); }

  std::string WithStyleSheet(std::string page) const {
    size_t at = FindNoCase(page, "</head");
    if (at == std::string::npos) at = FindNoCase(page, "<body");
    std::string_view head = std::string_view(page).substr(0, at);
    // A page that does not say how wide it is shows 980 pixels wide on a phone; an XHTML
    // page closes its empty elements.
    std::string viewport;
    if (!HasViewportMeta(head))
      viewport = kViewport.substr(0, kViewport.size() - 1) + (IsXhtml(head) ? " />" : ">") + eol_;
    std::string css = viewport + StyleSheet();
    if (css.empty()) return page;
    if (at == std::string::npos) {
      size_t html = FindNoCase(page, "<html");
      size_t gt = html == std::string::npos ? std::string::npos : page.find('>', html);
      at = gt == std::string::npos ? 0 : gt + 1;
      // On the line after the tag: after its line end when it has one.
      if (page.compare(at, 2, "\r\n") == 0) at += 2;
      else if (at < page.size() && (page[at] == '\n' || page[at] == '\r')) at += 1;
      else css = eol_ + css;
    }
    page.insert(at, css);
    return page;
  }

  std::string Wrapped(std::string body) const {
    std::string doctype = "<!DOCTYPE html>";
    size_t first = body.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && StartsWithNoCase(std::string_view(body).substr(first), "<!doctype")) {
      size_t gt = body.find('>', first);
      if (gt != std::string::npos) {
        doctype = body.substr(first, gt + 1 - first);
        size_t end = gt + 1;
        if (body.compare(end, 2, "\r\n") == 0) end += 2;
        else if (end < body.size() && (body[end] == '\n' || body[end] == '\r')) end += 1;
        body.erase(0, end);
      }
    }
    if (!body.empty() && body.back() != '\n' && body.back() != '\r') body += eol_;
    const std::string& e = eol_;
    // Put around the body where it lies: the body may be many megabytes.
    std::string lang = options_.lang.empty() ? "" : " lang=\"" + EscapeAttribute(options_.lang) + "\"";
    body.insert(0, doctype + e + "<html" + lang + ">" + e + "<head>" + e + "<meta charset=\"utf-8\">" + e + kViewport +
                       e + "<title>" + EscapeText(core::StemOf(programPath_)) + "</title>" + e + StyleSheet() +
                       "</head>" + e + "<body>" + e);
    return body.append("</body>").append(e).append("</html>").append(e);
  }

  static inline const std::string kViewport =
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">";
  Options options_;
  std::string programPath_, programFolder_;
  std::string out_, eol_ = "\n";
  Page page_;
  Call call_;
  bool anyCommand_ = false;
  MarkupScanner scanner_;
  TagScanner tags_{false};  // only the elements that name files
  bool onDisk_;
  bool ownFiles_ = false;  // a reference to one of the editor's own files was refused
  std::vector<std::string> roots_, stack_, outside_, scripts_;
  std::vector<Diagnostic> diagnostics_;
  int includes_ = 0;
  static constexpr int kMaxWarnings = 501;
  int warningCount_ = 0;
};

}  // namespace

Result Translate(std::string_view program, const std::string& programPath, const Options& options) {
  return Translation(programPath, options).Run(program);
}

namespace {

// The page's own references against the disk, as a build of its whole site checks them.
void CheckOwnReferences(Result& r, const std::string& programPath) {
  constexpr size_t kMostWarnings = 500;  // as many as a translation lists
  if (r.references.empty() || r.warnings.size() >= kMostWarnings) return;
  std::string program = AbsolutePath(programPath);
  // Lent to the check and given back: a big page makes tens of thousands of references.
  SitePage page{core::JoinPath(core::FolderOf(program), core::StemOf(program) + ".html"), std::move(r.references), {}};
  if (std::any_of(page.references.begin(), page.references.end(),
                  [](const Reference& ref) { return ref.target.find('#') != std::string::npos; }))
    page.ids = PageIds(r.page);
  std::vector<SitePage> pages(1);
  pages[0] = std::move(page);
  std::vector<Diagnostic> found = CheckSiteReferences(core::SiteFolderOf(program), pages, ListFolderOnDisk,
                                                      ReadFromDisk, kMostWarnings - r.warnings.size());
  r.references = std::move(pages[0].references);
  for (Diagnostic& d : found) {
    r.warnings.push_back(FormatDiagnostic(d));
    r.diagnostics.push_back(std::move(d));
  }
}

}  // namespace

Result TranslateFile(const std::string& programPath, const Options& options) {
  Result r;
  std::error_code ec;
  if ((!options.read || options.readsDisk) && std::filesystem::file_size(programPath, ec) > options.maxPageBytes &&
      !ec) {
    r.error =
        "The program \"" + programPath + "\" is larger than " + std::to_string(options.maxPageBytes >> 20) + " MB";
    return r;
  }
  const FileReader read = options.read ? options.read : ReadFromDisk;
  std::string bytes;
  if (!read(programPath, bytes)) {
    r.error = "Cannot read the program \"" + programPath + "\"";
    return r;
  }
  r = Translate(bytes, programPath, options);
  if (r.ok && options.checkReferences && !options.read) CheckOwnReferences(r, programPath);
  return r;
}

}  // namespace translator
