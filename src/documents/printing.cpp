#include "documents/printing.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "documents/application.h"
#include "core/text.h"
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
bool ChoosePdfInstead(App& app, QPrinter& printer) {
  if (app.platform.Message(kNoPrinterQuestion, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) return false;
  FileDialogSpec fileDialog;
  fileDialog.title = "Save as PDF";
  fileDialog.filters = {{"PDF Files (*.pdf)", "*.pdf"}};
  fileDialog.startName =
      core::FileNameOf(app.currentPath).empty() ? "Print.pdf" : core::FileNameOf(app.currentPath) + ".pdf";
  fileDialog.defaultExtension = "pdf";
  fileDialog.askOverwrite = true;
  std::string path;
  if (!app.platform.SaveFile(fileDialog, path) || path.empty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  return true;
}

}  // namespace

bool AttachPrinter(App& app, QPrinter& printer) {
  const Settings& s = app.settings;
  bool toPdf = false;
  if (!app.printToFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(app.printToFile));
  } else if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    if (!ChoosePdfInstead(app, printer)) return false;
    toPdf = true;
  }
  if (s.printerDialog == 1 && !toPdf && !app.platform.PrintDialog(printer)) return false;
  if (s.ukPaperSize == 1) printer.setPageSize(QPageSize(QPageSize::A4));
  if (s.usPaperSize == 1) printer.setPageSize(QPageSize(QPageSize::Letter));
  // Narrow margins leave room for the 62 counted lines and the header on A4.
  printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
  if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
  return !printer.printerName().isEmpty();
}

namespace {

// Puts rows of text down the page, starting a page only when something is drawn on it,
// so that a trailing page break leaves no empty sheet.
class PageWriter {
 public:
  PageWriter(QPrinter& printer, QPainter& painter) : printer_(printer), painter_(painter) {
    QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    width_ = area.width();
    height_ = area.height();
  }
  void BreakPage() { breakPending_ = true; }
  void Line(const QString& text, const QFont& font) {
    QFontMetricsF metrics(font, &printer_);
    for (const QString& row : Rows(text, metrics)) Row(row, font, metrics);
  }

 private:
  void Row(const QString& row, const QFont& font, const QFontMetricsF& metrics) {
    double pitch = metrics.lineSpacing();
    if (breakPending_ || (y_ > 0 && y_ + pitch > height_)) {
      printer_.newPage();
      y_ = 0;
      breakPending_ = false;
    }
    if (!row.isEmpty()) {
      painter_.setFont(font);
      painter_.drawText(QPointF(0, y_ + metrics.ascent()), row);
    }
    y_ += pitch;
  }
  // The line cut into rows that fit the width, at the last space where there is one.
  QStringList Rows(const QString& text, const QFontMetricsF& metrics) const {
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= width_) return {text};
    QStringList rows;
    qsizetype start = 0;
    while (start < text.size()) {
      double used = 0;
      qsizetype end = start, lastSpace = -1;
      while (end < text.size()) {
        qsizetype step = (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
        double advance = metrics.horizontalAdvance(text.mid(end, step));
        if (end > start && used + advance > width_) break;
        if (text[end] == ' ') lastSpace = end;
        used += advance;
        end += step;
      }
      if (end < text.size() && lastSpace > start) end = lastSpace + 1;
      rows << text.mid(start, end - start);
      start = end;
    }
    return rows;
  }

  QPrinter& printer_;
  QPainter& painter_;
  double width_ = 0, height_ = 0, y_ = 0;
  bool breakPending_ = false;
};

}  // namespace

bool RenderPlan(QPrinter& printer, const PrintPlan& plan, int tabWidth) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont body("Verdana");
  body.setPointSizeF(10);
  QFont header = body;
  header.setBold(true);
  PageWriter writer(printer, painter);
  for (const PrintOp& op : plan) {
    if (op.kind == PrintOp::NewPage) {
      writer.BreakPage();
      continue;
    }
    std::string line = PrintableLine(op.text, tabWidth);
    writer.Line(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())),
                op.kind == PrintOp::Header ? header : body);
  }
  return painter.end();
}

bool RunPrintJob(App& app, const PrintPlan& plan) {
  QPrinter printer(QPrinter::HighResolution);
  if (!AttachPrinter(app, printer)) return false;
  int tabWidth = core::ParseNumber(app.settings.tabIndent);
  return RenderPlan(printer, plan, tabWidth >= 1 && tabWidth <= 20 ? tabWidth : 8);
}

bool PrintText(App& app, const std::string& text, const std::string& name) {
  PrintPlanner planner(PrintFlagsOf(app.settings), core::FileNameOf(name));
  planner.PlainText(text + "\r\n");
  return RunPrintJob(app, planner.Plan());
}
