// The Edit and Search menu commands and the command rows for text editing, find and
// replace and the other document commands.
#include "documents/text_commands.h"

#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "core/command_rows.h"
#include "documents/shell_events.h"
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

// The keys that send their message straight to the editor, without looking for the
// active document first.
template <unsigned Message>
void Direct(App& app) {
  Send(app, Message);
}
void KeyGoToTop(App& app) { Send(app, Sci::SCI_GOTOLINE, 0); }
void KeyGoToBottom(App& app) { Send(app, Sci::SCI_GOTOLINE, 99000); }
void KeySelectLine(App& app) {
  Send(app, Sci::SCI_HOME);
  Send(app, Sci::SCI_LINEENDDISPLAYEXTEND);
}

const CommandRow kRows[] = {
    {Cmd::Undo,
     "&Undo                             \tCtrl+Z",
     Plain<Sci::SCI_UNDO>,
     Then::Stay,
     {Accel::Undo, "Ctrl+Z", Then::AsItem, Direct<Sci::SCI_UNDO>},
     {ButtonId::Undo, "312.svg", "Undo Text (Ctrl+Z)"}},
    {Cmd::Redo,
     "&Redo\tCtrl+Y",
     Plain<Sci::SCI_REDO>,
     Then::Stay,
     {Accel::Redo, "Ctrl+Y", Then::AsItem, Direct<Sci::SCI_REDO>},
     {ButtonId::Redo, "314.svg", "Redo Text (Ctrl+Y)"}},
    {Cmd::ClearUndo, "Clear Undo", ClearUndo},
    // Cut, Copy and Paste by key leave the clipboard to the editor.
    {Cmd::Cut,
     "Cut\tCtrl+X",
     Cut,
     Then::Stay,
     {Accel::Cut, "Ctrl+X", Then::AsItem, Direct<Sci::SCI_CUT>},
     {ButtonId::Cut, "170.svg", "Cut Selected Text (Ctrl+X)"}},
    {Cmd::Copy,
     "Copy\tCtrl+C",
     Copy,
     Then::Stay,
     {Accel::Copy, "Ctrl+C", Then::AsItem, Direct<Sci::SCI_COPY>},
     {ButtonId::Copy, "180.svg", "Copy Selected Text (Ctrl+C)"}},
    {Cmd::Paste,
     "Paste\tCtrl+V",
     Paste,
     Then::Stay,
     {Accel::Paste, "Ctrl+V", Then::AsItem, Direct<Sci::SCI_PASTE>},
     {ButtonId::Paste, "190.svg", "Paste Text From Clipboard (Ctrl+V)"}},
    {Cmd::PasteCurrentDirectory, "Current Directory\t", PasteCurrentDirectory},
    {Cmd::PasteActiveFileName, "Active File Name\t", PasteActiveFileName},
    {Cmd::CommentLines, "Comment", TransformSelection<CommentLines>},
    {Cmd::UncommentLines, "Uncomment", Uncomment},
    {Cmd::Uppercase, "UPPERCASE", TransformSelection<Upper>},
    {Cmd::Lowercase, "lowercase", TransformSelection<Lower>},
    {Cmd::CapitalizeWords, "Capitalize Word(s)", TransformSelection<Capitalize>},
    {Cmd::SelectAll, "Select All", Plain<Sci::SCI_SELECTALL>},
    {Cmd::DeleteSelected, "Delete Selected", DeleteSelected},
    {Cmd::IncreaseIndent,
     "Increase Indent\tTab",
     Plain<Sci::SCI_TAB>,
     Then::Stay,
     {Accel::Tab, "Tab", Then::AsItem, Direct<Sci::SCI_TAB>, kRepeats}},
    {Cmd::DecreaseIndent, "Decrease Indent\tShift+Tab", Plain<Sci::SCI_BACKTAB>},
    {Cmd::GoToTopOfScreen,
     "Go to Top of Screen\tCtrl+PgUp",
     GoToTop,
     Then::Stay,
     {Accel::GoToTop, "Ctrl+PgUp", Then::AsItem, KeyGoToTop}},
    {Cmd::GoToBottomOfScreen,
     "Go to Bottom of Screen\tCtrl+PgDn",
     GoToBottom,
     Then::Stay,
     {Accel::GoToBottom, "Ctrl+PgDown", Then::AsItem, KeyGoToBottom}},
    {Cmd::StartOfLine,
     "Start of Current Line\tShift+Ctrl+Left",
     Plain<Sci::SCI_HOME>,
     Then::Stay,
     {Accel::StartOfLine, "Ctrl+Shift+Left", Then::AsItem, Direct<Sci::SCI_HOME>}},
    {Cmd::EndOfLine,
     "End of Current Line\tShift+Ctrl+Right",
     Plain<Sci::SCI_LINEEND>,
     Then::Stay,
     {Accel::EndOfLine, "Ctrl+Shift+Right", Then::AsItem, Direct<Sci::SCI_LINEEND>}},
    {Cmd::DuplicateLine,
     "Duplicate Current Line\tShift+Ctrl+D",
     DuplicateLine,
     Then::Stay,
     {Accel::DuplicateLine, "Ctrl+Shift+D"}},
    {Cmd::RemoveLine,
     "Remove Current Line\tShift+Ctrl+R",
     Plain<Sci::SCI_LINEDELETE>,
     Then::Stay,
     {Accel::RemoveLine, "Ctrl+Shift+R", Then::AsItem, Direct<Sci::SCI_LINEDELETE>}},
    {Cmd::HighlightLine,
     "Highlight Current Line\tShift+Ctrl+H",
     HighlightLine,
     Then::Stay,
     {Accel::HighlightLine, "Ctrl+Shift+H", Then::AsItem, KeySelectLine}},
    {Cmd::GoToLine, "Go to Line...", GoToLineCommand, Then::Focus},
    {Cmd::Find,
     "&Find...\tCtrl+F",
     FindCommand,
     Then::Focus,
     {Accel::Find, "Ctrl+F"},
     {ButtonId::Find, "160.svg", "Find Text (Ctrl+F)"}},
    {Cmd::FindNext, "F&ind Next\tF3", FindNextKey, Then::Stay, {Accel::FindNext, "F3"}},
    {Cmd::FindReplace, "Find/Replace...", FindReplaceCommand, Then::Focus},
    {Cmd::NextOccurrence,
     "Next Occurrence\tCtrl+M",
     NextOccurrenceCommand,
     Then::Focus,
     {Accel::NextOccurrence, "Ctrl+M", Then::Stay}},
    {Cmd::InsertProgramFile,
     "Program File...",
     InsertProgramFileCommand,
     Then::Stay,
     {},
     {ButtonId::InsertFile, "130.svg", "Insert File"}},
    {Cmd::InsertLibraryFile, "Library File...", InsertLibraryFileCommand},
    {Cmd::InsertDocumentFile, "Document File...", InsertDocumentFileCommand},
    {Cmd::SaveSelectedProgram, "As Program File", SaveSelectedProgramCommand},
    {Cmd::SaveSelectedLibrary, "As Library File", SaveSelectedLibraryCommand},
    {Cmd::SaveSelectedDocument, "As Document File", SaveSelectedDocumentCommand},
    {Cmd::RestoreBackup,
     "Restore &Backup...\tCtrl+B",
     RestoreBackupCommand,
     Then::Stay,
     {Accel::RestoreBackup, "Ctrl+B"}},
    {Cmd::RenameProgram,
     "Rename Program...\tAlt+G",
     RenameProgramCommand,
     Then::Focus,
     {Accel::RenameProgram, "Alt+G", Then::Stay}},
    {Cmd::ProgramInfo, "Program Info\tAlt+F5", ProgramInfoCommand, Then::Stay, {Accel::ProgramInfo, "Alt+F5"}},
};

}  // namespace

void ReplaceSelectionCaretBefore(App& app, const std::string& text) {
  intptr_t start = Send(app, Sci::SCI_GETSELECTIONSTART);
  intptr_t end = Send(app, Sci::SCI_GETSELECTIONEND);
  Send(app, Sci::SCI_SETTARGETRANGE, static_cast<uintptr_t>(start), end);
  Send(app, Sci::SCI_REPLACETARGET, text.size(), reinterpret_cast<intptr_t>(text.data()));
  Send(app, Sci::SCI_SETEMPTYSELECTION, static_cast<uintptr_t>(start));
}

std::span<const CommandRow> TextCommands() { return kRows; }
