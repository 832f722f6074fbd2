// The List dialog with its .list files, and the Ordered List / Unordered List commands.
#pragma once
#include <string>
#include <vector>

struct App;

namespace insert {

struct ListValues {
  std::string title{};
  std::string items{};  // the items box: lines separated by CR LF
  int disc = 0, circle = 0, square = 0;
  int style = 0;  // listStyle
};

// The paragraph with the title ("</p>" + CR LF), one list start per checked bullet box
// (ending in LF), one "<li>" line per item line and "</ul>", each ending in CR LF.
std::string BuildList(const ListValues& v);
// "List title " + title, then the items text, each followed by CR LF.
std::string WriteListFile(const std::string& title, const std::string& items);

struct ListFile {
  bool hasTitle = false;
  std::string title{};                   // from the last "List title " line
  std::vector<std::string> itemLines{};  // every other line, in order
};
ListFile ReadListFile(const std::string& bytes);

// The pieces of Ordered List / Unordered List: the start tag, one "<li>" piece per line of
// `source` that is not empty (any line end), and the end tag.
std::vector<std::string> ListCommandPieces(const std::string& source, bool ordered);

// Command 409.
void RunListDialog(App& app);
// Commands 342 and 343.
void OrderedListCommand(App& app);
void UnorderedListCommand(App& app);

}  // namespace insert
