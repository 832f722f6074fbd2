// Printing: Qt's print support and the printing system's libraries load with the first
// print job, not at start-up.
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "documents/print_job.h"

namespace {

// Sets up `printer` as the job says: a PDF file, else the default printer (or the dialog's
// choice), then the paper. With no printer installed the user may choose a PDF file instead.
bool AttachPrinter(const PrintJob& job, QPrinter& printer) {
  bool toPdf = false;
  std::string pdf = job.pdfFile;
  if (pdf.empty() && QPrinterInfo::availablePrinterNames().isEmpty()) {
    pdf = job.pdfInstead ? job.pdfInstead() : std::string();
    if (pdf.empty()) return false;
    toPdf = true;
  }
  if (!pdf.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
  }
  if (job.dialog && !toPdf && !(job.printDialog && job.printDialog(printer))) return false;
  if (job.a4) printer.setPageSize(QPageSize(QPageSize::A4));
  if (job.letter) printer.setPageSize(QPageSize(QPageSize::Letter));
  // Narrow margins leave room for the 62 counted lines and the header on A4.
  printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
  if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
  return !printer.printerName().isEmpty();
}

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

bool RenderPlan(QPrinter& printer, const PrintPlan& plan) {
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
    writer.Line(QString::fromUtf8(op.text.data(), static_cast<qsizetype>(op.text.size())),
                op.kind == PrintOp::Header ? header : body);
  }
  return painter.end();
}

}  // namespace

extern "C" Q_DECL_EXPORT bool VerostaPrintJob(const PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  return AttachPrinter(job, printer) && RenderPlan(printer, job.plan);
}

extern "C" Q_DECL_EXPORT bool VerostaPrintDialog(QPrinter& printer, QWidget* owner) {
  QPrintDialog dialog(&printer, owner);
  return dialog.exec() == QDialog::Accepted;
}
