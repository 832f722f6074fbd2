// One print job as the print module takes it: everything it needs as plain values, and the
// two questions it may have to ask through the caller.
#pragma once
#include <functional>
#include <string>

#include "documents/printing.h"

class QPrinter;

struct PrintJob {
  PrintPlan plan;       // lines ready to draw: tabs expanded, NUL bytes dropped
  std::string pdfFile;  // print into this PDF file instead of on a printer ("" none)
  bool dialog = false;  // let the user choose the printer first
  bool a4 = false, letter = false;
  // With no printer installed: the PDF file to print into instead ("" when declined).
  std::function<std::string()> pdfInstead;
  // The print dialog on the printer; false when cancelled.
  std::function<bool(QPrinter&)> printDialog;
};

// The module's entry: attaches a printer as the job says and draws the plan on it in
// Verdana 10 (bold headers, regular body), wrapping long lines at the right edge. False
// when cancelled or when the job could not be started.
using PrintJobFunction = bool(const PrintJob&);
inline constexpr const char* kPrintJobSymbol = "VerostaPrintJob";
