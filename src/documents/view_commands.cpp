// The View menu toggles: line numbers, end-of-line marks, wrapping, white space.
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "core/command_rows.h"
#include "documents/shell_events.h"
#include "documents/editor.h"
#include "documents/editor_style.h"

namespace {

using Sci = QsciScintillaBase;

// Flips a flag, shows it on its menu item and writes the settings.
int Toggle(App& app, int& flag, Cmd item) {
  flag = flag == 1 ? 0 : 1;
  SetMenuCheck(app, item, flag == 1);
  SaveSettings(app);
  return flag;
}

// The margin width and end-of-line marks follow at the next styling pass.
void ToggleLineNumbers(App& app) { Toggle(app, app.settings.lineNumbers, Cmd::LineNumbers); }
void ToggleLineMarkers(App& app) { Toggle(app, app.settings.lineMarkers, Cmd::EndOfLineMarks); }

void ToggleWrap(App& app) {
  int on = Toggle(app, app.settings.wrapText, Cmd::WrapText);
  Send(app, Sci::SCI_SETWRAPMODE, on == 1 ? Sci::SC_WRAP_WORD : Sci::SC_WRAP_NONE);
}

void ToggleWhiteSpace(App& app) {
  if (Toggle(app, app.settings.whiteSpace, Cmd::ShowWhiteSpace) == 1) {
    // Red until the next styling pass gives it colorSpace.
    Send(app, Sci::SCI_SETWHITESPACEFORE, 1, 0x0000FF);
    Send(app, Sci::SCI_SETWHITESPACESIZE, 2);
    Send(app, Sci::SCI_SETVIEWWS, Sci::SCWS_VISIBLEALWAYS);
  } else {
    Send(app, Sci::SCI_SETVIEWWS, Sci::SCWS_INVISIBLE);
  }
}

const CommandRow kRows[] = {
    {Cmd::LineNumbers, "Line Numbers", ToggleLineNumbers},
    {Cmd::EndOfLineMarks, "End of Line", ToggleLineMarkers},
    {Cmd::WrapText, "Wrap Text", ToggleWrap},
    {Cmd::ShowWhiteSpace, "Show White Space", ToggleWhiteSpace},
};

}  // namespace

std::span<const CommandRow> EditorViewCommands() { return kRows; }
