#include <QWidget>
#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/commands.h"

namespace {

std::vector<CommandRow> Assemble(bool menu) {
  std::vector<CommandRow> rows;
  for (CommandFragment (*fragment)() :
       {ShellCommands, TextInsertCommands, ToolbarCommands, FileCommands, EditorViewCommands, TextCommands, PrintCommands, ColourCommands,
        PreferenceCommands, InsertCommands, PublishCommands, ToolCommands, ProjectCommands}) {
    CommandFragment f = fragment();
    auto part = menu ? f.menu : f.keys;
    rows.insert(rows.end(), part.begin(), part.end());
  }
  return rows;
}

bool Run(App& app, const std::vector<CommandRow>& table, int number) {
  for (const CommandRow& row : table) {
    if (row.number != number) continue;
    row.handler(app);
    if (row.thenFocus && app.activeEditor) app.activeEditor->setFocus();
    return true;
  }
  return false;
}

}  // namespace

const std::vector<CommandRow>& MenuTable() {
  static const std::vector<CommandRow> table = Assemble(true);
  return table;
}

const std::vector<CommandRow>& KeyTable() {
  static const std::vector<CommandRow> table = Assemble(false);
  return table;
}

bool DispatchCommand(App& app, int number, bool fromMenu) {
  bool ran = false;
  if (fromMenu) ran = Run(app, MenuTable(), number);
  // Table B holds only accelerator numbers, so a menu number never runs twice.
  ran = Run(app, KeyTable(), number) || ran;
  return ran;
}
