// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"
#include "projects/library.h"
#include "projects/new_project.h"
#include "projects/sessions.h"

namespace {

const CommandRow kMenu[] = {
    {1101, NewProject, true},
    {934, LibraryManager, true},
    {131, LoadSession, false},
    {133, SaveSession, false},
    {1107, AddActiveFileToFolder, false},
    {1105, AddAllOpenFilesToFolder, false},
    {1108, CopyFileToFolder, false},
};

const CommandRow kKeys[] = {
    {4014, NewProject, true},
    {4011, LibraryManager, true},
    {4027, IncludeLibraryFile, false},
    {4005, AddActiveFileToFolder, true},
    {4025, AddAllOpenFilesToFolder, true},
};

}  // namespace

CommandFragment ProjectCommands() { return {kMenu, kKeys}; }
