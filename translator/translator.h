// The page-language translator: turns a web program (HTML mixed with command lines)
// into a finished HTML page. Pure logic over byte strings; files are read through
// a reader so the same code serves the Comp program and the tests.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace translator {

// Reads a file whole; false when there is none or it cannot be read.
using FileReader = std::function<bool(const std::string& path, std::string& bytes)>;
// Lists the names of the files (not folders) in a folder; false when it cannot be read.
using FolderLister = std::function<bool(const std::string& folder, std::vector<std::string>& names)>;

struct Options {
  std::string libraryFolder = "Library";    // searched by #Include after the program's folders
  FileReader read;                          // the disk when empty
  std::string scriptFolder = "JavaScript";  // the scripts some commands put into the page
  // The scripts stay files of their own, linked from the page, instead of being copied
  // into it: the page then holds no script and works under a policy that forbids inline
  // scripts. Whoever writes the page puts Result::scripts beside it.
  bool scriptsBeside = false;
  FolderLister list;  // the disk when empty
  // `read` and `list` are the disk seen through a cache: paths are still checked on the disk
  // (links resolved, sizes bounded), and every file a page takes goes through `read`.
  bool readsDisk = false;
  // Files (or folders) outside the site and Library folders that the user allowed for
  // this run; #Include and OpenText read nothing else outside those two folders.
  std::vector<std::string> allowed;
  // The editor's configuration folder: nothing in it, and none of the editor's own files
  // anywhere, reaches a page.
  std::string configFolder;
  // The page's language, for pages made from a program without its own <html> element.
  std::string lang = "en";
  // TranslateFile checks the page's local references against the disk (a build of the
  // whole site checks every page at once instead and turns this off).
  bool checkReferences = true;
  // A picture shown without an alternative text warns (its file name stands for one).
  bool warnPictureWithoutAlt = false;
  int maxIncludeDepth = 32;
  int maxIncludes = 10000;  // expansions in total: bounds include fan-out
  size_t maxPageBytes = size_t(64) << 20;
};

struct Diagnostic {
  enum class Severity { Warning, Error };
  std::string path;  // absolute path of the file the line is in
  int line = 0;      // from 1
  Severity severity = Severity::Warning;
  std::string message;
};
// "PATH:LINE: warning: MESSAGE" or "PATH:LINE: error: MESSAGE".
std::string FormatDiagnostic(const Diagnostic& d);

// A file of the site that a page points at: a picture, a style sheet, a linked page...
struct Reference {
  enum class Kind { Picture, Sound, Video, StyleSheet, Script, Link };
  std::string path;    // absolute path of the file the line is in (the program or an included file)
  int line = 0;        // from 1
  std::string target;  // as written: "images/a.jpg", "news.html#today", "#top"
  Kind kind = Kind::Link;
};

struct Result {
  bool ok = false;
  std::string page;                     // the finished page when ok
  std::string error;                    // the first error line when not ok
  std::vector<std::string> warnings;    // one formatted line each
  std::vector<Diagnostic> diagnostics;  // warnings and errors in the order found
  std::vector<Reference> references;    // the local ones, in the order made
  // With Options::scriptsBeside: the scripts the page links to, as paths in the
  // script folder; each belongs beside the page under its file name.
  std::vector<std::string> scripts;
  // Files the program reads outside the allowed folders (canonical paths), when they
  // are the only reason the translation failed: it may succeed once they are allowed.
  std::vector<std::string> outside;
};

// Translates `program`, the text of the file at `programPath` (the path names the
// folder that includes and text files are relative to, and the page title).
Result Translate(std::string_view program, const std::string& programPath, const Options& options = {});
// Reads the program at `programPath` whole (it is no larger than the page may grow)
// and translates it; see Options::checkReferences.
Result TranslateFile(const std::string& programPath, const Options& options = {});

// The program path from the bytes of Cname.ini: the first line "Name " + path.
bool ProgramPathFromHandover(std::string_view cnameBytes, std::string& path);
// The "Allow " + path lines of Cname.ini.
std::vector<std::string> AllowedPathsFromHandover(std::string_view cnameBytes);

// The Library folder as an absolute path: a relative one is taken from the current folder.
std::string LibraryFolderPath(const Options& options);

// A source line and the line end that followed it ("\r\n", "\n", "\r" or "" at the end).
struct SourceLine {
  std::string_view text;
  std::string_view end;
};
std::vector<SourceLine> SplitKeepingEnds(std::string_view bytes);

// A command line: its keyword (usual spelling, from the keyword list, which lives as
// long as the program) and the text after the keyword. `comment` is set for Rem and
// apostrophe lines.
struct CommandLine {
  std::string_view name;
  std::string_view rest;
  bool comment = false;
};
bool ParseCommandLine(std::string_view line, CommandLine& command);

// The argument after a keyword: (…), "…" or '…', or the bare rest. `closed` is false
// when the closing bracket or quote is missing (the rest of the line is then taken).
struct Argument {
  std::string_view value;  // a view into the text given
  bool closed = true;
};
Argument ParseArgument(std::string_view rest);

}  // namespace translator
