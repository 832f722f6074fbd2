// This subsystem's rows of the command registry.
#include "app/commands.h"
#include "projects/library.h"
#include "projects/new_project.h"
#include "projects/sessions.h"

namespace {

const CommandRow kRows[] = {
    {Cmd::NewProject,
     "New Project...                   \tCtrl+J",
     NewProject,
     Then::Focus,
     {Accel::NewProject, "Ctrl+J"},
     {ButtonId::NewProject, "110.svg", "New Project (Ctrl+J)"}},
    {Cmd::SiteFolder, "Site Folder...", SiteFolder},
    {Cmd::LibraryManager,
     "Library &Manager...    \tAlt+M",
     LibraryManager,
     Then::Focus,
     {Accel::LibraryManager, "Alt+M"},
     {ButtonId::LibraryManager, "310.svg", "Library Manager (Alt+M)"}},
    {Cmd::LoadSession, "Load Session...", LoadSession},
    {Cmd::SaveSession, "Save Session...", SaveSession},
    {Cmd::AddActiveFileToFolder,
     "Add Active File to Folder...\tAlt+A",
     AddActiveFileToFolder,
     Then::Stay,
     {Accel::AddActiveFileToFolder, "Alt+A", Then::Focus}},
    {Cmd::AddAllOpenFilesToFolder,
     "Add All Open Files to Folder...\tAlt+L",
     AddAllOpenFilesToFolder,
     Then::Stay,
     {Accel::AddAllOpenFilesToFolder, "Alt+L", Then::Focus}},
    {Cmd::CopyFileToFolder, "Copy File to Folder...", CopyFileToFolder},
    {Cmd::None, nullptr, IncludeLibraryFile, Then::Stay, {Accel::IncludeLibraryFile, "Ctrl+L"}},
};

}  // namespace

std::span<const CommandRow> ProjectCommands() { return kRows; }
