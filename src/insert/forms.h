// The Form dialog: a contact form for web programs, and its .form files.
#pragma once
#include <string>

struct App;

namespace insert {

struct FormValues {
  std::string action{}, name{}, email{}, address{}, post{}, country{}, comments{}, submit{}, clear{};
  int style = 0;  // formStyle: 1 puts the large text style on the form start
};

// The fragment; every line ends in LF and nothing follows "</form>".
std::string BuildForm(const FormValues& v);
// A .form file: "[Form data]", an empty line and the nine key lines, each ending in CR LF.
std::string WriteFormFile(const FormValues& v);
// Applies a .form file to the nine texts: a line that begins with a key (exact letter case)
// sets that text to the rest of the line; other lines are skipped, the later of two wins.
void ReadFormFile(const std::string& bytes, FormValues& v);

// Command 403.
void RunFormDialog(App& app);

}  // namespace insert
