// The Tables dialog: an HTML table of numbered placeholder cells, all styled alike.
#pragma once
#include <string>
#include <string_view>

struct App;

namespace insert {

struct TableValues {
  std::string rows{}, columns{};  // texts; the number at their start is the count
  std::string cellWidth{}, cellHeight{}, textAlign{}, cellColor{}, textColor{}, borderColor{}, padding{};
  int center = 0;           // centerTable: 1 centred, 0 not, anything else writes no table start
  bool inlineStyle = true;  // without it <table> and <td> carry no style attribute
};

// The number at the start of a text (after leading blanks), 0 when there is none.
long long LeadingCount(std::string_view text);
// Bytes the table would take, computed without building it.
double TableSize(const TableValues& v);
// True when the table is too large to be built and inserted.
bool TableTooLarge(const TableValues& v);
// The fragment: the table start line ends in CR LF, every other line in LF, no end after </table>.
std::string BuildTable(const TableValues& v);

// Command 404.
void RunTablesDialog(App& app);

}  // namespace insert
