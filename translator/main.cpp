// Comp: the page-language translator started by the editor's Create Web Page.
// Reads "Name " + program path from Cname.ini in the current folder, translates that
// program and leaves the page in Final.ini. On failure no Final.ini is written, one
// line naming the problem goes to standard error and the exit code is 1.
#include <cstdio>
#include <string>

#include "core/files.h"
#include "translator.h"

static int Failure(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  return 1;
}

int main() {
  std::string cname, error;
  if (!core::ReadFileBytes("Cname.ini", cname, &error)) return Failure("Cannot read Cname.ini: " + error);
  std::string program;
  if (!translator::ProgramPathFromHandover(cname, program))
    return Failure("Cname.ini holds no \"Name \" line with a program path");
  translator::Result result = translator::TranslateFile(program);
  if (!result.ok) return Failure(result.error);
  if (!core::WriteFileAtomically("Final.ini", result.page, &error)) return Failure("Cannot write Final.ini: " + error);
  for (const std::string& w : result.warnings) std::fprintf(stderr, "%s\n", w.c_str());
  return 0;
}
