#include "translator.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/files.h"
#include "core/text.h"
#include "commands.h"
#include "keywords.h"
#include "markup_scanner.h"

namespace translator {

std::vector<SourceLine> SplitKeepingEnds(std::string_view bytes) {
  std::vector<SourceLine> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t p = bytes.find_first_of("\r\n", start);
    if (p == std::string_view::npos) {
      lines.push_back({bytes.substr(start), {}});
      break;
    }
    size_t endLen = (bytes[p] == '\r' && p + 1 < bytes.size() && bytes[p + 1] == '\n') ? 2 : 1;
    lines.push_back({bytes.substr(start, p - start), bytes.substr(p, endLen)});
    start = p + endLen;
  }
  return lines;
}

static bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#'; }

bool ParseCommandLine(std::string_view line, CommandLine& command) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < line.size() && line[i] == '\'') {
    command = {"'", line.substr(i + 1), true};
    return true;
  }
  size_t j = i;
  while (j < line.size() && IsWordChar(line[j])) ++j;
  if (j == i) return false;
  std::string spelling = KeywordSpelling(line.substr(i, j - i));
  if (spelling.empty() || IsMarkupWord(spelling)) return false;
  command = {spelling, line.substr(j), spelling == "Rem"};
  return true;
}

Argument ParseArgument(std::string_view rest) {
  std::string r = core::TrimBlank(rest);
  if (r.empty()) return {};
  char open = r[0];
  char close = open == '(' ? ')' : (open == '"' || open == '\'') ? open : 0;
  if (!close) return {r, true};
  size_t last = r.rfind(close);
  if (last == 0 || last == std::string::npos) return {core::TrimBlank(r.substr(1)), false};
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

namespace {

bool ReadFromDisk(const std::string& path, std::string& bytes) {
  return core::FileExists(path) && core::ReadFileBytes(path, bytes);
}

std::string NormalPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(path), ec);
  if (ec) p = path;
  return p.lexically_normal().string();
}

class Translation {
 public:
  Translation(const std::string& programPath, const Options& options)
      : options_(options), programPath_(programPath), programFolder_(core::FolderOf(programPath)),
        page_(out_, options_, programPath, "\n",
              [this](const std::string& path, int line, const std::string& message) { Warn(path, line, message); }) {
    if (!options_.read) options_.read = ReadFromDisk;
  }

  Result Run(std::string_view program) {
    eol_ = LineEndOf(program);
    page_.SetEol(eol_);
    stack_.push_back(NormalPath(programPath_));
    Result r;
    if (!TranslateText(program, programPath_)) {
      r.error = error_;
      return r;
    }
    CloseBlocks();
    r.ok = true;
    r.warnings = warnings_;
    if (!anyCommand_) r.page = std::string(program);
    else if (scanner_.SawHtmlElement()) r.page = WithStyleSheet(out_);
    else r.page = Wrapped(out_);
    return r;
  }

 private:
  static std::string LineEndOf(std::string_view text) {
    size_t lf = text.find('\n');
    return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
  }

  std::string Where(const std::string& path, int line) const {
    return core::FileNameOf(path) + ":" + std::to_string(line) + ": ";
  }
  bool Fail(const std::string& message) {
    error_ = message;
    return false;
  }
  void Warn(const std::string& path, int line, const std::string& message) {
    warnings_.push_back(Where(path, line) + "warning: " + message);
  }

  bool TranslateText(std::string_view text, const std::string& path) {
    int number = 0;
    for (const SourceLine& line : SplitKeepingEnds(text)) {
      ++number;
      CommandLine command;
      if (scanner_.InRawText() || !ParseCommandLine(line.text, command)) {
        scanner_.Scan(line.text);
        out_.append(line.text).append(line.end);
      } else {
        anyCommand_ = true;
        if (command.comment) continue;
        if (command.name == "#End") return true;
        if (!RunCommand(command, line, path, number)) return false;
      }
      if (out_.size() > options_.maxPageBytes) return Fail(Where(path, number) + "the page grows beyond " +
                                                           std::to_string(options_.maxPageBytes >> 20) + " MB");
    }
    return true;
  }

  // Puts a command's HTML where its line stood, followed by that line's end.
  void Emit(const std::string& html, const SourceLine& line) { out_.append(html).append(line.end); }

  bool RunCommand(const CommandLine& c, const SourceLine& line, const std::string& path, int number) {
    const std::string& name = c.name;
    if (name == "#Include") return Include(c, line, path, number);
    if (Handler run = FindHandler(name)) {
      page_.SetLineEnd(line.end);
      run(page_, Call{name, c.rest, path, number});
      return true;
    }
    Argument arg = ParseArgument(c.rest);
    if (!arg.closed) Warn(path, number, name + ": the closing bracket or quote is missing");
    if (name == "OpenText") return OpenText(arg.value, line, path, number);
    else {
      Warn(path, number, name + " is not translated yet; it is left in the page as a comment");
      Emit("<!-- " + name + ": not translated -->", line);
    }
    return true;
  }

  // A relative name is looked for beside the program; backslashes are accepted as separators.
  bool ReadRelative(const std::string& name, const std::string& folder, std::string& found, std::string& bytes) {
    for (const std::string& n : {name, core::ReplaceAll(name, "\\", "/")}) {
      found = core::IsAbsolutePath(n) || folder.empty() ? n : core::JoinPath(folder, n);
      if (options_.read(found, bytes)) return true;
    }
    return false;
  }

  bool OpenText(const std::string& value, const SourceLine& line, const std::string& path, int number) {
    std::string name = core::TrimBlank(value), found, bytes;
    if (name.empty()) return Fail(Where(path, number) + "OpenText names no file");
    if (!ReadRelative(name, programFolder_, found, bytes))
      return Fail(Where(path, number) + "OpenText: cannot read \"" + name + "\"");
    std::string html = "<div class=\"vt-file\"" + StyleAttribute(page_.Get("SetTextStyle")) + ">";
    std::vector<std::string> lines = core::SplitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i) html += (i ? "<br>" + eol_ : "") + EscapeText(lines[i]);
    Emit(html + "</div>", line);
    return true;
  }

  bool Include(const CommandLine& c, const SourceLine& line, const std::string& path, int number) {
    std::string name = core::TrimBlank(ParseArgument(c.rest).value), found, bytes;
    if (name.empty()) return Fail(Where(path, number) + "#Include names no file");
    if (!ReadRelative(name, programFolder_, found, bytes) &&
        (core::IsAbsolutePath(name) || !ReadRelative(name, options_.libraryFolder, found, bytes)))
      return Fail(Where(path, number) + "#Include: cannot find \"" + name + "\"");
    std::string normal = NormalPath(found);
    if (std::find(stack_.begin(), stack_.end(), normal) != stack_.end()) {
      std::string chain;
      for (const std::string& s : stack_) chain += core::FileNameOf(s) + " -> ";
      return Fail(Where(path, number) + "#Include cycle: " + chain + core::FileNameOf(normal));
    }
    if (static_cast<int>(stack_.size()) > options_.maxIncludeDepth)
      return Fail(Where(path, number) + "#Include: includes nest deeper than " +
                  std::to_string(options_.maxIncludeDepth) + " files");
    stack_.push_back(normal);
    size_t before = out_.size();
    bool ok = TranslateText(bytes, found);
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
    size_t at = FindNoCase(out_, "</body");
    for (size_t next = at; next != std::string::npos; next = FindNoCase(out_, "</body", at + 1)) at = next;
    if (at == std::string::npos) {
      if (!out_.empty() && out_.back() != '\n' && out_.back() != '\r') out_ += eol_;
      out_ += closing;
    } else {
      out_.insert(at, closing);
    }
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
    return doctype + e + "<html>" + e + "<head>" + e + "<meta charset=\"utf-8\">" + e + "<title>" +
           EscapeText(core::StemOf(programPath_)) + "</title>" + e + StyleSheet() + "</head>" + e + "<body>" + e +
           body + "</body>" + e + "</html>" + e;
  }

  Options options_;
  std::string programPath_, programFolder_;
  std::string out_, eol_ = "\n";
  Page page_;
  bool anyCommand_ = false;
  MarkupScanner scanner_;
  std::vector<std::string> stack_, warnings_;
  std::string error_;
};

}  // namespace

Result Translate(std::string_view program, const std::string& programPath, const Options& options) {
  return Translation(programPath, options).Run(program);
}

Result TranslateFile(const std::string& programPath, const Options& options) {
  std::string bytes;
  bool read = options.read ? options.read(programPath, bytes) : ReadFromDisk(programPath, bytes);
  if (!read) {
    Result r;
    r.error = "Cannot read the program \"" + programPath + "\"";
    return r;
  }
  return Translate(bytes, programPath, options);
}

}  // namespace translator
