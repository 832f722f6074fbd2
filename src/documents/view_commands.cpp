// The View menu toggles: line numbers, end-of-line marks, wrapping, white space.
#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/commands.h"
#include "app/shell.h"
#include "documents/editor.h"
#include "documents/editor_style.h"

namespace {

using Sci = QsciScintillaBase;

// Flips a flag, shows it on its menu item and writes the settings.
int Toggle(App& app, int& flag, int menuNumber) {
  flag = flag == 1 ? 0 : 1;
  SetMenuCheck(app, menuNumber, flag == 1);
  SaveSettings(app);
  return flag;
}

// The margin width and end-of-line marks follow at the next styling pass.
void ToggleLineNumbers(App& app) { Toggle(app, app.settings.lineNumbers, 305); }
void ToggleLineMarkers(App& app) { Toggle(app, app.settings.lineMarkers, 306); }

void ToggleWrap(App& app) {
  int on = Toggle(app, app.settings.wrapText, 307);
  Send(app, Sci::SCI_SETWRAPMODE, on == 1 ? Sci::SC_WRAP_WORD : Sci::SC_WRAP_NONE);
}

void ToggleWhiteSpace(App& app) {
  if (Toggle(app, app.settings.whiteSpace, 317) == 1) {
    // Red until the next styling pass gives it colorSpace.
    Send(app, Sci::SCI_SETWHITESPACEFORE, 1, 0x0000FF);
    Send(app, Sci::SCI_SETWHITESPACESIZE, 2);
    Send(app, Sci::SCI_SETVIEWWS, Sci::SCWS_VISIBLEALWAYS);
  } else {
    Send(app, Sci::SCI_SETVIEWWS, Sci::SCWS_INVISIBLE);
  }
}

const CommandRow kMenu[] = {
    {305, ToggleLineNumbers, false},
    {306, ToggleLineMarkers, false},
    {307, ToggleWrap, false},
    {317, ToggleWhiteSpace, false},
};

}  // namespace

CommandFragment EditorViewCommands() { return {kMenu, {}}; }
