// Printing of documents and texts.
#pragma once
#include <string>

struct App;

// Prints `text` under the header name `name` with the print settings; false when
// cancelled or failed. Used by the print commands and the Library Manager.
bool PrintText(App& app, const std::string& text, const std::string& name);
