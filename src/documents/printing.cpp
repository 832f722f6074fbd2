#include "documents/printing.h"

#include "documents/application.h"
#include "core/text.h"
#include "documents/print_job.h"
#include "platform/modules.h"
#include "platform/platform.h"

PrintFlags PrintFlagsOf(const Settings& s) {
  return {.numbers = s.printNumbers == 1,
          .fileName = s.printFileName == 1,
          .a4 = s.ukPaperSize == 1,
          .letter = s.usPaperSize == 1};
}

int CountedLines(std::string_view line) {
  size_t characters = 0;
  for (unsigned char c : line)
    if ((c & 0xC0) != 0x80) ++characters;
  int count = 1;
  for (size_t limit = 100; limit <= 1900; limit += 100)
    if (characters > limit) ++count;
  return count;
}

bool PageLimitPassed(int counter, const PrintFlags& flags) {
  return (flags.a4 && counter > 62) || (flags.letter && counter > 53);
}

PrintPlanner::PrintPlanner(const PrintFlags& flags, std::string headerName)
    : flags_(flags), headerName_(std::move(headerName)) {
  PageHeader();
}

void PrintPlanner::PageHeader() {
  if (!flags_.fileName) return;
  plan_.push_back({PrintOp::Header, " Program name " + headerName_});
  plan_.push_back({PrintOp::Header, " "});
}

void PrintPlanner::BreakPage() {
  plan_.push_back({PrintOp::NewPage, {}});
  counter_ = 1;
  PageHeader();
}

void PrintPlanner::Document(std::string_view text) {
  // The buffer goes out with a line end added, as the design's hand-over file had it.
  std::string buffer(text);
  buffer += "\r\n";
  for (std::string& line : core::SplitLines(buffer)) {
    counter_ += CountedLines(line);
    ++lineNumber_;
    Body(flags_.numbers ? std::to_string(lineNumber_) + ":  " + line : std::move(line));
    if (PageLimitPassed(counter_, flags_)) BreakPage();
  }
}

void PrintPlanner::PlainText(std::string_view text) {
  for (std::string& line : core::SplitLines(text)) {
    counter_ += CountedLines(line);
    if (PageLimitPassed(counter_, flags_)) BreakPage();
    Body(std::move(line));
  }
}

void PrintPlanner::ListedFile(const std::string& path, bool readable, std::string_view bytes) {
  if (flags_.fileName) {
    Body("Program name " + core::FileNameOf(path));
    Body(" ");
  }
  if (!readable) {
    // Said on paper, so that a missing document is not mistaken for an empty one.
    std::string note = "The file " + path + " could not be read.";
    counter_ += CountedLines(note);
    if (PageLimitPassed(counter_, flags_)) BreakPage();
    Body(std::move(note));
  } else {
    for (std::string& line : core::SplitLines(bytes)) {
      counter_ += CountedLines(line);
      ++lineNumber_;
      if (PageLimitPassed(counter_, flags_)) BreakPage();
      Body(flags_.numbers ? std::to_string(lineNumber_) + " " + line : std::move(line));
    }
  }
  counter_ = 0;
  lineNumber_ = 0;
  plan_.push_back({PrintOp::NewPage, {}});
}

std::vector<std::string> ListedFilePaths(std::string_view configText) {
  std::vector<std::string> paths;
  for (const std::string& line : core::SplitLines(configText)) {
    if (!core::StartsWith(line, "File") || line.size() <= 8) continue;
    paths.push_back(line.substr(8));
  }
  return paths;
}

std::string PrintableLine(std::string_view line, int tabWidth) {
  if (tabWidth < 1) tabWidth = 8;
  std::string out;
  out.reserve(line.size());
  size_t column = 0;
  for (char c : line) {
    if (c == '\0') continue;
    if (c == '\t') {
      size_t next = (column / tabWidth + 1) * tabWidth;
      out.append(next - column, ' ');
      column = next;
      continue;
    }
    out += c;
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
  }
  return out;
}

namespace {

// With no printer installed a print job would vanish: offer a PDF file instead.
std::string ChoosePdfInstead(App& app) {
  if (app.platform.Message(kNoPrinterQuestion, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) return "";
  FileDialogSpec fileDialog;
  fileDialog.title = "Save as PDF";
  fileDialog.filters = {{"PDF Files (*.pdf)", "*.pdf"}};
  fileDialog.startName =
      core::FileNameOf(app.currentPath).empty() ? "Print.pdf" : core::FileNameOf(app.currentPath) + ".pdf";
  fileDialog.defaultExtension = "pdf";
  fileDialog.askOverwrite = true;
  std::string path;
  return app.platform.SaveFile(fileDialog, path) ? path : "";
}

}  // namespace

bool RunPrintJob(App& app, const PrintPlan& plan) {
  auto* print = modules::Function<PrintJobFunction>(modules::kPrint, kPrintJobSymbol);
  if (!print) return false;
  const Settings& s = app.settings;
  int tabWidth = core::ParseNumber(s.tabIndent);
  if (tabWidth < 1 || tabWidth > 20) tabWidth = 8;
  PrintJob job{.plan = {},
               .pdfFile = app.printToFile,
               .dialog = s.printerDialog == 1,
               .a4 = s.ukPaperSize == 1,
               .letter = s.usPaperSize == 1,
               .pdfInstead = [&app] { return ChoosePdfInstead(app); },
               .printDialog = [&app](QPrinter& printer) { return app.platform.PrintDialog(printer); }};
  job.plan.reserve(plan.size());
  for (const PrintOp& op : plan) job.plan.push_back({op.kind, PrintableLine(op.text, tabWidth)});
  return print(job);
}

bool PrintText(App& app, const std::string& text, const std::string& name) {
  PrintPlanner planner(PrintFlagsOf(app.settings), core::FileNameOf(name));
  planner.PlainText(text + "\r\n");
  return RunPrintJob(app, planner.Plan());
}
