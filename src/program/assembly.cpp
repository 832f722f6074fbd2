// The parts every layer leaves to the program: the App with its window shell, and the
// command table joined from every subsystem. The executable and the tests link this.
#include "app/commands.h"
#include "app/shell.h"
#include "documents/application.h"
#include "documents/search.h"
#include "publish/ftp_profiles.h"
#include "tools/site_build_command.h"

namespace {

std::vector<CommandRow> AssembleCommands() {
  std::vector<CommandRow> rows;
  for (std::span<const CommandRow> (*fragment)() :
       {ShellCommands, TextInsertCommands, ToolbarCommands, FileCommands, EditorViewCommands, TextCommands,
        PrintCommands, ColourCommands, PreferenceCommands, InsertCommands, PublishCommands, ToolCommands,
        ProjectCommands, PreviewCommands}) {
    std::span<const CommandRow> part = fragment();
    rows.insert(rows.end(), part.begin(), part.end());
  }
  return rows;
}

}  // namespace

App::App(Platform& p)
    : platform(p),
      shell(WindowShellHooks()),
      search(std::make_unique<SearchState>()),
      profiles(std::make_unique<FtpProfileTable>()) {
  SetCommandAssembly(AssembleCommands);
  programSaved = [this](const std::string& path) { BuildOnSave(*this, path); };
}
App::~App() = default;
