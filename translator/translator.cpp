#include "translator.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "core/files.h"
#include "core/own_files.h"
#include "core/text.h"
#include "commands.h"
#include "keywords.h"
#include "line_reader.h"
#include "markup_scanner.h"
#include "program_reader.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace translator {

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

#if defined(__SSE2__) || defined(_M_X64)
// The bytes among the sixteen at `at` that are keyword characters, one bit each.
static unsigned WordBytesOf16(const char* at) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  auto between = [](__m128i x, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  // Bytes from 0x80 are negative here, and never in a range.
  __m128i letter = between(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z');
  __m128i other = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('_')), _mm_cmpeq_epi8(v, _mm_set1_epi8('#')));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letter, between(v, '0', '9')), other)));
}
#endif

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
#if defined(__SSE2__) || defined(_M_X64)
  // Sixteen bytes at a time while they are there: a word longer than the longest
  // keyword is not a keyword, however far it runs.
  for (; j + 16 <= line.size() && j < stop; j += 16) {
    unsigned word = WordBytesOf16(line.data() + j);
    if (word != 0xFFFF) {
      j += static_cast<size_t>(std::countr_one(word));
      stop = j;
      break;
    }
  }
#endif
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
        onDisk_(!options.read) {
    if (!options_.read) options_.read = ReadFromDisk;
    // The folders a program may read from: its own folder and below, the Library, and what the user allowed.
    roots_.push_back(Canonical(programFolder_));
    roots_.push_back(Canonical(LibraryFolderPath(options_)));
    for (const std::string& a : options_.allowed) roots_.push_back(Canonical(a));
  }

  Result Run(std::string_view program) {
    Start(LineEndOf(program), program.size());
    int number = 0;
    return Finish(TranslateText(program, AbsolutePath(programPath_), number));
  }

  // The program read from `in` a piece at a time, so that a big program never sits in
  // memory whole beside its page. The pieces are read and cut into lines on a second
  // thread while the commands of the lines before them run on this one.
  Result RunFrom(std::FILE* in, size_t size) {
    const std::string path = AbsolutePath(programPath_);
    call_.path = path;
    bool ok = true;
    {
      ProgramReader reader(in, options_.readPieceBytes, scanner_, warningsFull_);
      for (bool last = false; ok && !last;) {
        std::unique_ptr<Batch> batch = reader.Next();
        if (batch->readError) return ReadError();
        if (batch->first) Start(batch->eol, size);
        anyCommand_ = anyCommand_ || batch->sawCommand;
        for (const Step& step : batch->steps)
          if (!(ok = RunStep(step, *batch, path, &reader))) break;
        last = batch->last;
        reader.Done(std::move(batch));
      }
    }  // the reader has stopped: the scanner is this thread's again
    return Finish(ok);
  }

  Result ReadError() const {
    Result r;
    r.error = "Cannot read the program \"" + programPath_ + "\"";
    return r;
  }

 private:
  void Start(std::string eol, size_t programBytes) {
    eol_ = std::move(eol);
    page_.SetEol(eol_);
    // Pages come out a little larger than their programs; growing in steps would copy them again and again.
    out_.reserve(std::min(programBytes + programBytes / 4 + 4096, options_.maxPageBytes + 1));
    stack_.push_back(Canonical(programPath_));
  }

  Result Finish(bool ok) {
    Result r;
    if (ok) CloseBlocks();
    r.diagnostics = diagnostics_;
    r.outside = outside_;
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
    if (++warningCount_ >= kMaxWarnings) warningsFull_.store(true, std::memory_order_relaxed);
    if (warningCount_ > kMaxWarnings) return;
    if (warningCount_ == kMaxWarnings) {
      diagnostics_.push_back({path, line, Diagnostic::Severity::Warning,
                              "more than " + std::to_string(kMaxWarnings - 1) + " warnings; the rest are not shown"});
      return;
    }
    diagnostics_.push_back({path, line, Diagnostic::Severity::Warning, message});
  }
  bool PageTooBig(const std::string& path, int number) {
    return out_.size() > options_.maxPageBytes && PageGrewTooBig(path, number);
  }
  [[gnu::noinline]] bool PageGrewTooBig(const std::string& path, int number) {
    Fail(path, number, "the page grows beyond " + std::to_string(options_.maxPageBytes >> 20) + " MB");
    return true;
  }

  // `path` is the absolute path of the file `text` comes from; `number` the number of
  // the line before `text`. `ended` is set at #End, when given.
  bool TranslateText(std::string_view text, const std::string& path, int& number, bool* ended = nullptr) {
    call_.path = path;  // the file of every command until the end or an #Include
    // The lines become steps as those of a program read from disk do, some at a time; an
    // #Include among them runs before the lines after it are looked at.
    constexpr size_t kStepsAtOnce = 1024;
    Batch batch;
    while (!text.empty()) {
      batch.Clear();
      size_t used = 0;
      Classified how = ClassifyLines(batch, text, number, used, scanner_, warningsFull_, kStepsAtOnce);
      anyCommand_ = anyCommand_ || batch.sawCommand;
      for (const Step& step : batch.steps)
        if (!RunStep(step, batch, path, nullptr)) return false;
      if (how == Classified::End) {
        if (ended) *ended = true;
        return true;
      }
      text.remove_prefix(used);
    }
    return true;
  }

  // Runs one step; `reader`, when there is one, waits at an #Include step until it has run.
  [[gnu::always_inline]] bool RunStep(const Step& step, const Batch& batch, const std::string& path,
                                      ProgramReader* reader) {
    switch (step.kind) {
      case Step::Kind::Slip:
        Warn(path, step.number, batch.slips[step.rest]);
        return true;
      case Step::Kind::Text: {
        std::string_view lines = step.Text();
        if (out_.size() + lines.size() <= options_.maxPageBytes) {
          out_.append(lines);
          return true;
        }
        // The page outgrows its bound within these lines: name the line where it does.
        int number = step.number;
        for (LineReader reader(lines); !reader.AtEnd(); ++number) {
          SourceLine line = reader.Next();
          out_.append(line.text.data(), line.text.size() + line.end.size());
          if (PageTooBig(path, number)) return false;
        }
        return true;
      }
      case Step::Kind::Command:
      case Step::Kind::Include: {
        bool ok = RunCommand(step.Words(), step.row->run, step.Line(), path, step.number) && !PageTooBig(path, step.number);
        if (step.kind == Step::Kind::Include && reader) reader->Resume(ok);
        return ok;
      }
    }
    return true;
  }

  // Puts a command's HTML where its line stood, followed by that line's end.
  void Emit(const std::string& html, const SourceLine& line) { out_.append(html).append(line.end); }
  bool RunCommand(const CommandLine& c, Handler run, const SourceLine& line, const std::string& path, int number) {
    if (!run) return RunOwnCommand(c, line, path, number);
    page_.SetLineEnd(line.end);
    // One Call serves every command; its path is set once for each file.
    call_.name = c.name;
    call_.rest = c.rest;
    call_.line = number;
    run(page_, call_);
    return true;
  }
  // The commands the translator runs itself: #Include and OpenText.
  [[gnu::noinline]] bool RunOwnCommand(const CommandLine& c, const SourceLine& line, const std::string& path, int number) {
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
    if (!ForEachChunk(found, [&](std::string_view chunk) {
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
    if (!onDisk_) {
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
      return Fail(path, number, "#Include: includes nest deeper than " + std::to_string(options_.maxIncludeDepth) + " files");
    if (++includes_ > options_.maxIncludes)
      return Fail(path, number, "#Include: more than " + std::to_string(options_.maxIncludes) +
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
    std::string closing = page_.CloseAll() + page_.Scripts();
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
    std::string css = StyleSheet();
    if (css.empty()) return page;
    size_t at = FindNoCase(page, "</head");
    if (at == std::string::npos) at = FindNoCase(page, "<body");
    if (at == std::string::npos) {
      size_t html = FindNoCase(page, "<html");
      size_t gt = html == std::string::npos ? std::string::npos : page.find('>', html);
      at = gt == std::string::npos ? 0 : gt + 1;
      css = eol_ + css;
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
    body.insert(0, doctype + e + "<html>" + e + "<head>" + e + "<meta charset=\"utf-8\">" + e + "<title>" +
                       EscapeText(core::StemOf(programPath_)) + "</title>" + e + StyleSheet() + "</head>" + e +
                       "<body>" + e);
    return body.append("</body>").append(e).append("</html>").append(e);
  }

  Options options_;
  std::string programPath_, programFolder_;
  std::string out_, eol_ = "\n";
  Page page_;
  Call call_;
  bool anyCommand_ = false;
  MarkupScanner scanner_;
  bool onDisk_;
  bool ownFiles_ = false;  // a reference to one of the editor's own files was refused
  std::vector<std::string> roots_, stack_, outside_;
  std::vector<Diagnostic> diagnostics_;
  int includes_ = 0;
  static constexpr int kMaxWarnings = 501;
  int warningCount_ = 0;
  std::atomic<bool> warningsFull_{false};  // warningCount_ has reached kMaxWarnings
};

}  // namespace

Result Translate(std::string_view program, const std::string& programPath, const Options& options) {
  return Translation(programPath, options).Run(program);
}

Result TranslateStream(std::FILE* in, const std::string& programPath, size_t size, const Options& options) {
  return Translation(programPath, options).RunFrom(in, size);
}

Result TranslateFile(const std::string& programPath, const Options& options) {
  if (!options.read) {
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(programPath, ec);
    if (!ec && size > options.maxPageBytes) {
      Result r;
      r.error = "The program \"" + programPath + "\" is larger than " + std::to_string(options.maxPageBytes >> 20) + " MB";
      return r;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
        core::FileExists(programPath) ? std::fopen(programPath.c_str(), "rb") : nullptr, std::fclose);
    if (!in) return Translation(programPath, options).ReadError();
    try {
      return TranslateStream(in.get(), programPath, ec ? 0 : static_cast<size_t>(size), options);
    } catch (const std::system_error&) {
      // No second thread to be had: the program is read whole instead.
      std::string bytes;
      if (!core::ReadFileBytes(programPath, bytes)) return Translation(programPath, options).ReadError();
      return Translate(bytes, programPath, options);
    }
  }
  std::string bytes;
  if (!options.read(programPath, bytes)) {
    Result r;
    r.error = "Cannot read the program \"" + programPath + "\"";
    return r;
  }
  return Translate(bytes, programPath, options);
}

}  // namespace translator
