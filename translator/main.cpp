// Comp: the page-language translator started by the editor's Create Web Page.
// Reads "Name " + program path (and any "Allow " + path lines, and the editor's
// configuration folder on a "Config " + path line) from Cname.ini in the
// current folder, translates that program and leaves the page in Final.ini.
// Warnings and errors go to standard error as "PATH:LINE: warning|error: MESSAGE".
// Exit code 0: page written; 1: failed, no Final.ini; 2: refused because the program
// reads files outside the allowed folders, each named on an "outside: PATH" line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/files.h"
#include "core/text.h"
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

int main() {
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
  translator::Result result = translator::TranslateFile(program, options);
  if (result.ok && !core::WriteFileAtomically("Final.ini", result.page, &error))
    return Failure("Cannot write Final.ini: " + error);
  for (const translator::Diagnostic& d : result.diagnostics) Line(translator::FormatDiagnostic(d));
  if (result.ok) return 0;
  if (result.diagnostics.empty()) Line(result.error);
  for (const std::string& path : result.outside) Line("outside: " + path);
  return result.outside.empty() ? 1 : 2;
}
