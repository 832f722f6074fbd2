#include "projects/library.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>
#include <filesystem>

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"
#include "platform/platform.h"

std::string LibraryFileList(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    // File name patterns match without regard to case, as on the system the library comes from.
    if (name.size() > 4 && core::EqualsNoCase(name.substr(name.size() - 4), ".lib") &&
        core::FileExists(core::JoinPath(folder, name)))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return core::ToLower(a) < core::ToLower(b); });
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : "\r\n") + n;
  return list;
}

std::string LibraryNameFromLine(const std::string& line) {
  std::string name = core::TrimBlank(line.substr(0, line.find('\0')));
  if (name.find(".lib") == std::string::npos) name += ".lib";
  // A name may not reach outside the library folder.
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) return std::string();
  return name;
}

std::string LineEndForMode(int eolMode) {
  switch (eolMode) {
    case QsciScintillaBase::SC_EOL_CR: return "\r";
    case QsciScintillaBase::SC_EOL_LF: return "\n";
    default: return "\r\n";
  }
}

std::string LineEndOf(const std::string& bytes) {
  size_t at = bytes.find_first_of("\r\n");
  if (at == std::string::npos) return "\r\n";
  if (bytes[at] == '\n') return "\n";
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? "\r\n" : "\r";
}

std::string ToBoxText(const std::string& bytes) {
  return core::ReplaceAll(core::ReplaceAll(bytes, "\r\n", "\n"), "\r", "\n");
}

std::string FromBoxText(const std::string& boxText, const std::string& lineEnd) {
  return lineEnd == "\n" ? boxText : core::ReplaceAll(boxText, "\n", lineEnd);
}

void IncludeLibraryFile(App& app) {
  QsciScintilla* editor = app.activeEditor;
  if (!editor) return;
  intptr_t line =
      Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, Send(editor, QsciScintillaBase::SCI_GETCURRENTPOS));
  std::string text = TextRange(editor, Send(editor, QsciScintillaBase::SCI_POSITIONFROMLINE, line),
                               Send(editor, QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
  std::string name = LibraryNameFromLine(text);
  std::string path = "Library/" + name;
  std::string content;
  if (name.empty() || !core::FileExists(path) || !core::ReadFileBytes(path, content)) {
    app.platform.Message("File not found.\rPlease make sure the correct library file name is used.", MsgIcon::Warning);
    return;
  }
  Send(editor, QsciScintillaBase::SCI_BEGINUNDOACTION);
  Send(editor, QsciScintillaBase::SCI_LINEDELETE);
  // The document's own line end, so the included text does not mix line-end styles.
  InsertTextAtCaret(app, LineEndForMode(static_cast<int>(Send(editor, QsciScintillaBase::SCI_GETEOLMODE))));
  InsertTextAtCaret(app, content);
  Send(editor, QsciScintillaBase::SCI_ENDUNDOACTION);
}
