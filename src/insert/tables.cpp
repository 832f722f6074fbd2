#include "insert/tables.h"

#include <cctype>
#include <algorithm>
#include <climits>

#include "documents/application.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

// Far below what the editor can hold, far above any table a page would carry.
constexpr double kMaxTableBytes = 64.0 * 1024 * 1024;

std::string TableStart(const TableValues& v) {
  if (v.center != 0 && v.center != 1) return {};
  if (!v.inlineStyle) return "<table>\r\n";
  std::string margin = v.center == 1 ? "margin: 0px auto; " : "";
  return "<table style=\"" + margin + "background-color: " + AttributeText(v.cellColor) +
         "; text-align: " + AttributeText(v.textAlign) + ";\">\r\n";
}

std::string CellStart(const TableValues& v) {
  if (!v.inlineStyle) return "<td>\n";
  return "<td style=\"padding: " + AttributeText(v.padding) + "; border: 1px solid " + AttributeText(v.borderColor) +
         "; width: " + AttributeText(v.cellWidth) + ";" + " height: " + AttributeText(v.cellHeight) +
         "; color: " + AttributeText(v.textColor) + " ;\">\n";
}

}  // namespace

long long LeadingCount(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long n = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    n = n > (LLONG_MAX - 9) / 10 ? LLONG_MAX : n * 10 + (text[i] - '0');
  return negative ? -n : n;
}

double TableSize(const TableValues& v) {
  double rows = static_cast<double>(std::max(0LL, LeadingCount(v.rows)));
  double cells = static_cast<double>(std::max(0LL, LeadingCount(v.columns)));
  // A cell: its start line, "Cell", a number of at most 20 digits, " </td>" and two LF.
  double cell = static_cast<double>(CellStart(v).size()) + 4 + 21 + 6 + 2;
  double row = 6 + cells * cell + 6;
  return static_cast<double>(TableStart(v).size()) + rows * row + 8;
}

bool TableTooLarge(const TableValues& v) { return TableSize(v) > kMaxTableBytes; }

std::string BuildTable(const TableValues& v) {
  if (TableTooLarge(v)) return {};
  const long long rows = LeadingCount(v.rows);
  const long long cells = LeadingCount(v.columns);
  const std::string cellStart = CellStart(v);
  std::string out = TableStart(v);
  out.reserve(static_cast<size_t>(TableSize(v)));
  long long number = 0;
  for (long long r = 1; r <= rows; ++r) {
    out += "<tr>\n\n";
    for (long long c = 1; c <= cells; ++c) {
      ++number;
      out += cellStart;
      out += "Cell " + std::to_string(number) + " </td>\n\n";
    }
    out += "</tr>\n";
  }
  out += "</table>";
  return out;
}

namespace {

enum : int {
  kRows = 1001,
  kColumns,
  kCellWidth,
  kCellHeight,
  kTextAlign,
  kCellColor,
  kTextColor,
  kBorderColor,
  kPadding,
  kCenter,
  kInlineStyle,
  kCellColorButton = 3006,
  kTextColorButton,
  kBorderColorButton,
};

DialogSpec TablesSpec(const App& app) {
  const Settings& s = app.settings;
  auto right = [](ControlSpec c) { return InColumn(std::move(c), 1); };
  return {.entry = kTablesDialog,
          .controls = {
              Label(2001, "Rows:"),
              DropDown(kRows, NumberedChoices(1, 15, 1, ""), s.tableRows),
              Label(2002, "Columns:"),
              DropDown(kColumns, NumberedChoices(1, 15, 1, ""), s.tableColumns),
              Label(2003, "Cell width:"),
              DropDown(kCellWidth, NumberedChoices(50, 190, 10, "px"), s.cellWidth),
              Label(2004, "Cell height:"),
              DropDown(kCellHeight, NumberedChoices(14, 28, 1, "px"), s.cellHeight),
              Label(2005, "Text align:"),
              DropDown(kTextAlign, {"left", "right", "center"}, s.textAlign),
              right(Label(2006, "Cell color:")),
              right(TextBox(kCellColor, s.cellColor)),
              right(PushButton(kCellColorButton, "Select...")),
              right(Label(2007, "Text color:")),
              right(TextBox(kTextColor, s.textColor)),
              right(PushButton(kTextColorButton, "Select...")),
              right(Label(2008, "Border color:")),
              right(TextBox(kBorderColor, s.borderColor)),
              right(PushButton(kBorderColorButton, "Select...")),
              right(Label(2009, "Padding:")),
              right(DropDown(kPadding, NumberedChoices(1, 15, 1, "px"), s.tablePadding)),
              CheckBox(kCenter, " Center table", s.centerTable == 1),
              CheckBox(kInlineStyle, " Use inline style when displaying tables", app.tableInlineStyle == 1),
          }};
}

TableValues ReadValues(const App& app, const InsertDialog& d) {
  return {.rows = d.Text(kRows),
          .columns = d.Text(kColumns),
          .cellWidth = d.Text(kCellWidth),
          .cellHeight = d.Text(kCellHeight),
          .textAlign = d.Text(kTextAlign),
          .cellColor = d.Text(kCellColor),
          .textColor = d.Text(kTextColor),
          .borderColor = d.Text(kBorderColor),
          .padding = d.Text(kPadding),
          .center = app.settings.centerTable,
          .inlineStyle = d.Checked(kInlineStyle) == 1};
}

void RefuseTooLarge(App& app, const TableValues& v) {
  app.platform.Message("The table of " + v.rows + " rows and " + v.columns + " columns is too large to insert." + "\r" +
                           "Please choose fewer rows or columns.",
                       MsgIcon::Warning);
}

}  // namespace

void RunTablesDialog(App& app) {
  InsertDialog d(app, TablesSpec(app));
  ConnectColour(app, d, kCellColorButton, kCellColor);
  ConnectColour(app, d, kTextColorButton, kTextColor);
  ConnectColour(app, d, kBorderColorButton, kBorderColor);
  // The box writes its setting at every click, so Cancel keeps it.
  d.OnClick(kCenter, [&app, &d] { app.settings.centerTable = d.Checked(kCenter); });
  d.SetOkCheck([&app, &d] {
    TableValues v = ReadValues(app, d);
    if (!TableTooLarge(v)) return true;
    RefuseTooLarge(app, v);
    d.Focus(kRows);
    return false;
  });
  if (!RunInsertDialog(app, d)) return;

  TableValues v = ReadValues(app, d);
  if (TableTooLarge(v)) {
    RefuseTooLarge(app, v);
    return;
  }
  InsertTextAtCaret(app, BuildTable(v));
  Settings& s = app.settings;
  s.tableRows = v.rows;
  s.tableColumns = v.columns;
  s.cellWidth = v.cellWidth;
  s.cellHeight = v.cellHeight;
  s.textAlign = v.textAlign;
  s.cellColor = v.cellColor;
  s.textColor = v.textColor;
  s.borderColor = v.borderColor;
  s.tablePadding = v.padding;
  app.tableInlineStyle = d.Checked(kInlineStyle);
  FinishOk(app, kTablesDialog);
}

}  // namespace insert
