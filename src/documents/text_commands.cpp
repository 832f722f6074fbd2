// The Edit and Search menu commands and the rows of the dispatch tables for text
// editing, find and replace and the other document commands.
#include "documents/text_commands.h"

#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/commands.h"
#include "app/shell.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/find_replace.h"
#include "documents/text_transforms.h"
#include "platform/platform.h"

namespace {

using Sci = QsciScintillaBase;

// Every command works on the document of the selected tab.
bool Active(App& app) {
  FindActiveDocument(app);
  return app.activeEditor != nullptr;
}

template <unsigned Message>
void Plain(App& app) {
  if (Active(app)) Send(app, Message);
}

void ClearUndo(App& app) {
  if (!Active(app)) return;
  FeedbackIfOn(app);
  MsgAnswer a = app.platform.Message(
      "This will clear the undo chain.\rYou will be unable to undo any modifications to this program.",
      MsgIcon::Information, MsgButtons::OkCancel);
  if (a == MsgAnswer::Ok) EmptyUndoHistory(app);
}

// Cut and Copy leave the selection on the clipboard as plain text alone; with nothing
// selected the clipboard ends up empty.
void CopyToClipboard(App& app, bool cut) {
  if (!Active(app)) return;
  std::string selected = SelectedText(app.activeEditor);
  app.platform.SetClipboardText(selected);
  if (cut && !selected.empty()) Send(app, Sci::SCI_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
}
void Cut(App& app) { CopyToClipboard(app, true); }
void Copy(App& app) { CopyToClipboard(app, false); }

void Paste(App& app) {
  if (!Active(app)) return;
  std::string text = app.platform.ClipboardText();
  if (text.empty()) return;
  Send(app, Sci::SCI_BEGINUNDOACTION);
  Send(app, Sci::SCI_TARGETFROMSELECTION);
  Send(app, Sci::SCI_REPLACETARGET, text.size(), reinterpret_cast<intptr_t>(text.data()));
  Send(app, Sci::SCI_GOTOPOS, Send(app, Sci::SCI_GETTARGETEND));
  Send(app, Sci::SCI_ENDUNDOACTION);
}

void DeleteSelected(App& app) {
  if (!Active(app)) return;
  std::string selected = SelectedText(app.activeEditor);
  if (selected.empty()) return;
  app.platform.SetClipboardText(selected);
  Send(app, Sci::SCI_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
}

void PasteCurrentDirectory(App& app) {
  if (!Active(app)) return;
  InsertTextAtCaret(app, core::FolderOf(app.currentPath));
  Send(app, Sci::SCI_LINEEND);
}

void PasteActiveFileName(App& app) {
  if (!Active(app)) return;
  InsertTextAtCaret(app, core::FileNameOf(app.currentPath));
  Send(app, Sci::SCI_LINEEND);
}

// Comment, Uncomment and the case commands transform the selection in memory; with
// nothing selected they change nothing.
template <std::string (*Transform)(std::string_view)>
void TransformSelection(App& app) {
  if (!Active(app)) return;
  std::string selected = SelectedText(app.activeEditor);
  if (selected.empty()) return;
  ReplaceSelectionCaretBefore(app, Transform(selected));
}

void Uncomment(App& app) {
  if (!Active(app)) return;
  std::string selected = SelectedText(app.activeEditor);
  if (!HasRemLine(selected)) return;
  ReplaceSelectionCaretBefore(app, UncommentLines(selected));
}

std::string Upper(std::string_view s) { return ChangeCase(s, CaseChange::Upper); }
std::string Lower(std::string_view s) { return ChangeCase(s, CaseChange::Lower); }
std::string Capitalize(std::string_view s) { return ChangeCase(s, CaseChange::Capitalize); }

void GoToTop(App& app) {
  if (Active(app)) Send(app, Sci::SCI_GOTOLINE, 0);
}

void GoToBottom(App& app) {
  if (Active(app)) Send(app, Sci::SCI_GOTOLINE, static_cast<uintptr_t>(Send(app, Sci::SCI_GETLINECOUNT) - 1));
}

// The caret's line and its line end stand twice, then one empty line follows; the
// clipboard is not used at all, so it keeps its text.
void DuplicateLine(App& app) {
  if (!Active(app)) return;
  intptr_t line = Send(app, Sci::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(Send(app, Sci::SCI_GETCURRENTPOS)));
  intptr_t start = Send(app, Sci::SCI_POSITIONFROMLINE, static_cast<uintptr_t>(line));
  intptr_t next = Send(app, Sci::SCI_POSITIONFROMLINE, static_cast<uintptr_t>(line + 1));
  if (next < start) next = Send(app, Sci::SCI_GETLENGTH);
  std::string copy = TextRange(app.activeEditor, start, next);
  Send(app, Sci::SCI_BEGINUNDOACTION);
  Send(app, Sci::SCI_LINEEND);
  Send(app, Sci::SCI_NEWLINE);
  Send(app, Sci::SCI_ADDTEXT, copy.size(), reinterpret_cast<intptr_t>(copy.data()));
  Send(app, Sci::SCI_ENDUNDOACTION);
}

void HighlightLine(App& app) {
  if (!Active(app)) return;
  Send(app, Sci::SCI_HOME);
  Send(app, Sci::SCI_LINEENDDISPLAYEXTEND);
}

void FindNextKey(App& app) {
  if (Active(app)) FindNextAgain(app);
}

void NextOccurrenceCommand(App& app) {
  if (Active(app)) NextOccurrence(app);
}

const CommandRow kMenuRows[] = {
    {200, Plain<Sci::SCI_UNDO>, false},
    {217, Plain<Sci::SCI_REDO>, false},
    {218, ClearUndo, false},
    {204, Cut, false},
    {205, Copy, false},
    {206, Paste, false},
    {226, PasteCurrentDirectory, false},
    {227, PasteActiveFileName, false},
    {210, TransformSelection<CommentLines>, false},
    {211, Uncomment, false},
    {312, TransformSelection<Upper>, false},
    {314, TransformSelection<Lower>, false},
    {315, TransformSelection<Capitalize>, false},
    {207, Plain<Sci::SCI_SELECTALL>, false},
    {208, DeleteSelected, false},
    {233, Plain<Sci::SCI_TAB>, false},
    {237, Plain<Sci::SCI_BACKTAB>, false},
    {351, GoToTop, false},
    {352, GoToBottom, false},
    {221, Plain<Sci::SCI_HOME>, false},
    {223, Plain<Sci::SCI_LINEEND>, false},
    {222, DuplicateLine, false},
    {213, Plain<Sci::SCI_LINEDELETE>, false},
    {214, HighlightLine, false},
    {1042, GoToLineCommand, true},
    {201, FindCommand, true},
    {202, FindNextKey, false},
    {203, FindReplaceCommand, true},
    {1041, NextOccurrenceCommand, true},
    {113, InsertProgramFileCommand, false},
    {114, InsertLibraryFileCommand, false},
    {116, InsertDocumentFileCommand, false},
    {112, SaveSelectedProgramCommand, false},
    {115, SaveSelectedLibraryCommand, false},
    {118, SaveSelectedDocumentCommand, false},
    {111, RestoreBackupCommand, false},
    {132, RenameProgramCommand, true},
    {304, ProgramInfoCommand, false},
};

const CommandRow kKeyRows[] = {
    {5003, DuplicateLine, false},
    {4020, FindCommand, true},
    {4021, FindNextKey, false},
    {4058, NextOccurrenceCommand, false},
    {4009, RenameProgramCommand, false},
    {4023, RestoreBackupCommand, false},
    {4046, ProgramInfoCommand, false},
};

}  // namespace

void ReplaceSelectionCaretBefore(App& app, const std::string& text) {
  intptr_t start = Send(app, Sci::SCI_GETSELECTIONSTART);
  intptr_t end = Send(app, Sci::SCI_GETSELECTIONEND);
  Send(app, Sci::SCI_SETTARGETRANGE, static_cast<uintptr_t>(start), end);
  Send(app, Sci::SCI_REPLACETARGET, text.size(), reinterpret_cast<intptr_t>(text.data()));
  Send(app, Sci::SCI_SETEMPTYSELECTION, static_cast<uintptr_t>(start));
}

CommandFragment TextCommands() { return {kMenuRows, kKeyRows}; }
