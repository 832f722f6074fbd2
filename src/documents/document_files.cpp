// Save, Save As, Close with its question, Delete File.
#include "app/application.h"
#include "documents/document_table.h"

bool SaveActiveDocument(App&) { return false; }
bool SaveActiveDocumentAs(App&) { return false; }
bool ConfirmSaveBeforeClose(App&, bool) { return true; }
QsciScintilla* CloseActiveDocument(App& app) { return CloseActiveDocumentQuietly(app); }
bool DeleteFileWithDialog(App&, const std::string&, const std::string&,
                          const std::vector<std::pair<std::string, std::string>>&, const std::string&,
                          const std::string&) {
  return false;
}
