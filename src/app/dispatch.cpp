#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "app/commands.h"

namespace {

std::vector<CommandRow> (*assembler)() = nullptr;

template <typename Id, typename Facet>
const CommandRow* Find(Id id, Facet facet) {
  if (id == Id::None) return nullptr;
  for (const CommandRow& row : Commands())
    if (facet(row) == id) return &row;
  return nullptr;
}

bool Resolve(Then then, Then item) { return (then == Then::AsItem ? item : then) == Then::Focus; }

// A button runs its own action or its menu item's; either way the editor gets the focus.
std::vector<Route> BuildMenuRoutes() {
  std::vector<Route> routes;
  for (const CommandRow& row : Commands()) {
    if (row.id != Cmd::None) routes.push_back({Number(row.id), row.run, row.then == Then::Focus});
    if (row.button.id != ButtonId::None)
      routes.push_back({Number(row.button.id), row.button.run ? row.button.run : row.run, true});
  }
  return routes;
}

std::vector<Route> BuildKeyRoutes() {
  std::vector<Route> routes;
  for (const CommandRow& row : Commands())
    if (row.key.id != Accel::None)
      routes.push_back({Number(row.key.id), row.key.run ? row.key.run : row.run, Resolve(row.key.then, row.then)});
  return routes;
}

bool Run(App& app, const std::vector<Route>& table, int number) {
  for (const Route& route : table) {
    if (route.number != number) continue;
    route.run(app);
    if (route.thenFocus && app.activeEditor) app.activeEditor->setFocus();
    return true;
  }
  return false;
}

}  // namespace

void SetCommandAssembly(std::vector<CommandRow> (*assemble)()) { assembler = assemble; }

const std::vector<CommandRow>& Commands() {
  static const std::vector<CommandRow> rows = [] {
    if (!assembler) {
      std::fputs("The command table was used before an App was made\n", stderr);
      std::abort();
    }
    return assembler();
  }();
  return rows;
}

const CommandRow* FindCommand(Cmd id) {
  return Find(id, [](const CommandRow& row) { return row.id; });
}
const CommandRow* FindCommand(Accel id) {
  return Find(id, [](const CommandRow& row) { return row.key.id; });
}
const CommandRow* FindCommand(ButtonId id) {
  return Find(id, [](const CommandRow& row) { return row.button.id; });
}

const std::vector<Route>& MenuRoutes() {
  static const std::vector<Route> table = BuildMenuRoutes();
  return table;
}

const std::vector<Route>& KeyRoutes() {
  static const std::vector<Route> table = BuildKeyRoutes();
  return table;
}

bool DispatchCommand(App& app, int number, bool fromMenu) {
  bool ran = false;
  if (fromMenu) ran = Run(app, MenuRoutes(), number);
  // Table B holds only accelerator numbers, so a menu number never runs twice.
  ran = Run(app, KeyRoutes(), number) || ran;
  return ran;
}
