// Printing of documents and texts: the page-line counting and page breaks as pure
// functions over text, and one renderer that puts the result on a printer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct App;
struct Settings;

// The Library Manager's print: `text` with a line end added, no line numbers, the page
// check before each line, the file name of `name` in the page header. False when
// cancelled or failed. The caller plays the feedback sound.
bool PrintText(App& app, const std::string& text, const std::string& name);

// The print settings that shape a job (flags tested for exactly 1).
struct PrintFlags {
  bool numbers = false;   // printNumbers
  bool fileName = false;  // printFileName
  bool a4 = false;        // ukPaperSize: A4, 62 counted lines per page
  bool letter = false;    // usPaperSize: Letter, 53 counted lines per page
};
PrintFlags PrintFlagsOf(const Settings& s);

// Counted lines of one source line: 1, plus 1 for each of 100, 200, ... 1900
// characters that the line exceeds (so 1 to 20). Characters are UTF-8 code points.
int CountedLines(std::string_view line);
// True when the page-line counter has passed the limit of a chosen paper.
bool PageLimitPassed(int counter, const PrintFlags& flags);

// What a job draws, in order: header lines in the bold font, body lines in the regular
// font, and page breaks.
struct PrintOp {
  enum Kind { Header, Body, NewPage };
  Kind kind;
  std::string text;
  bool operator==(const PrintOp&) const = default;
};
using PrintPlan = std::vector<PrintOp>;

// Builds the plan of one job, keeping the page-line counter and the line number.
class PrintPlanner {
 public:
  // Starts the plan with the page header; `headerName` is the file name it prints.
  PrintPlanner(const PrintFlags& flags, std::string headerName);

  // Print: every line counted, numbered "n:  line" when numbers is on, the page
  // check after the line.
  void Document(std::string_view text);
  // Print Selected and the Library Manager: no numbers, the page check before the line.
  void PlainText(std::string_view text);
  // Print All, one file: its title when fileName is on, its lines numbered "n line"
  // with the check before each, then a new page with counter and numbering restarted.
  // `readable` false prints a line saying the file could not be read instead.
  void ListedFile(const std::string& path, bool readable, std::string_view bytes);

  const PrintPlan& Plan() const { return plan_; }

 private:
  void Body(std::string text) { plan_.push_back({PrintOp::Body, std::move(text)}); }
  // " Program name " + name and a line holding one space, when fileName is on.
  void PageHeader();
  void BreakPage();
  PrintFlags flags_;
  std::string headerName_;
  int counter_ = 0;
  int lineNumber_ = 0;
  PrintPlan plan_;
};

// The paths that Print All prints: every line of the configuration file text that
// begins with "File", from its ninth character on, when that is not empty.
std::vector<std::string> ListedFilePaths(std::string_view configText);

// Tabs expanded to the next multiple of `tabWidth`, NUL bytes dropped (drawing only).
std::string PrintableLine(std::string_view line, int tabWidth);

inline constexpr const char* kNoPrinterQuestion =
    "No printer is installed.\rWould you like to save the document as a PDF file instead?";

// Prints `plan` through the print module: the printer (or PDF file) by the settings, the
// page and paper by the plan. False when cancelled or failed.
bool RunPrintJob(App& app, const PrintPlan& plan);
