// Comp: the page-language translator started by the editor's Create Web Page.
// Without arguments it reads "Name " + program path (and any "Allow " + path lines, and the editor's
// configuration folder on a "Config " + path line) from Cname.ini in the
// current folder, translates that program and leaves the page in Final.ini.
// Warnings and errors go to standard error as "PATH:LINE: warning|error: MESSAGE".
// Exit code 0: page written; 1: failed, no Final.ini; 2: refused because the program
// reads files outside the allowed folders, each named on an "outside: PATH" line.
//
// `Comp --site FOLDER [--jobs N] [--quiet] [--config DIR] [--progress]` builds every page of
// a site, only those whose inputs changed since the last build, and exits 1 when any failed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/file_stamp.h"
#include "core/files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "site_build.h"
#include "translator.h"

static void Line(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

static int Failure(const std::string& line) {
  Line(line);
  return 1;
}

// The folder `name` of the current folder, else the one beside this program: an
// installed copy keeps the shipped Library and JavaScript folders only there.
static std::string DataFolder(const std::string& name) {
  if (core::FolderExists(name)) return name;
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return name;
  std::filesystem::path beside = self.parent_path() / name;
  return core::FolderExists(beside.string()) ? beside.string() : name;
}

static int BuildSite(int argc, char** argv);

int main(int argc, char** argv) {
  if (argc > 1) return BuildSite(argc, argv);
  std::string cname, error;
  if (!core::ReadFileBytes("Cname.ini", cname, &error)) return Failure("Cannot read Cname.ini: " + error);
  std::string program;
  if (!translator::ProgramPathFromHandover(cname, program))
    return Failure("Cname.ini holds no \"Name \" line with a program path");
  translator::Options options;
  options.allowed = translator::AllowedPathsFromHandover(cname);
  options.libraryFolder = DataFolder(options.libraryFolder);
  options.scriptFolder = DataFolder(options.scriptFolder);
  core::LastValue(core::SplitLines(cname), "Config ", options.configFolder);
  // The page's language is the site's, as a site build gives it.
  core::SiteFile site;
  if (core::ReadSiteFile(core::SiteFolderOf(program), site)) options.lang = site.lang;
  translator::Result result = translator::TranslateFile(program, options);
  if (result.ok && !core::WriteFileAtomically("Final.ini", result.page, &error))
    return Failure("Cannot write Final.ini: " + error);
  for (const translator::Diagnostic& d : result.diagnostics) Line(translator::FormatDiagnostic(d));
  if (result.ok) return 0;
  if (result.diagnostics.empty()) Line(result.error);
  for (const std::string& path : result.outside) Line("outside: " + path);
  return result.outside.empty() ? 1 : 2;
}

// The editor's configuration folder when it does not name one: where it keeps the builds too.
static std::string DefaultConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return core::JoinPath(xdg, "verosta");
  const char* home = std::getenv("HOME");
  return home && home[0] ? core::JoinPath(core::JoinPath(home, ".config"), "verosta") : std::string();
}

// This program's own size and time: a rebuilt translator makes every page again.
static std::string Version() {
  core::FileStamp self = core::StampOf("/proc/self/exe");
  return std::to_string(self.size) + "-" + std::to_string(self.modifiedNs);
}

static int Usage(const std::string& problem) {
  Line(problem);
  Line("usage: Comp --site FOLDER [--jobs N] [--quiet] [--config DIR] [--progress]");
  return 1;
}

static int BuildSite(int argc, char** argv) {
  translator::SiteBuildOptions build;
  bool quiet = false, progress = false, config = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--site" && hasValue) build.folder = argv[++i];
    else if (arg == "--jobs" && hasValue) build.jobs = core::ParseNumber(argv[++i]);
    else if (arg == "--config" && hasValue) build.translate.configFolder = argv[++i], config = true;
    else if (arg == "--quiet") quiet = true;
    else if (arg == "--progress") progress = true;
    else return Usage("Comp: unknown or incomplete argument \"" + arg + "\"");
  }
  if (build.folder.empty()) return Usage("Comp: no site folder given");
  if (build.jobs < 0) return Usage("Comp: --jobs takes a number of threads");
  if (!config) build.translate.configFolder = DefaultConfigFolder();
  build.stateFolder = build.translate.configFolder;
  build.version = Version();
  build.translate.libraryFolder = DataFolder(build.translate.libraryFolder);
  build.translate.scriptFolder = DataFolder(build.translate.scriptFolder);
  if (progress)
    build.progress = [](size_t done, size_t total, const std::string& program) {
      std::printf("[%zu/%zu] %s\n", done, total, program.c_str());
      std::fflush(stdout);
    };
  translator::SiteBuildResult r = translator::BuildSite(build);
  for (const translator::Diagnostic& d : r.diagnostics) Line(translator::FormatDiagnostic(d));
  if (!r.error.empty()) Line("Comp: " + r.error);
  size_t warnings = std::count_if(r.diagnostics.begin(), r.diagnostics.end(), [](const translator::Diagnostic& d) {
    return d.severity == translator::Diagnostic::Severity::Warning;
  });
  if (!quiet)
    std::printf("%zu programs: %zu pages made, %zu up to date, %zu failed, %zu warnings\n", r.programs, r.built,
                r.upToDate, r.failed, warnings);
  return r.failed > 0 || !r.error.empty() ? 1 : 0;
}
