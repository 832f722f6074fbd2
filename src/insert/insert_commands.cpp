// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"
#include "insert/forms.h"
#include "insert/images.h"
#include "insert/lists.h"
#include "insert/tables.h"

namespace {

const CommandRow kMenuRows[] = {
    // Tables, forms, lists and images
    {403, insert::RunFormDialog, true},
    {404, insert::RunTablesDialog, true},
    {409, insert::RunListDialog, true},
    {401, insert::RunDisplayImageDialog, true},
    {414, insert::RunRolloverImageDialog, true},
    {407, insert::RunImageLinkDialog, true},
    {342, insert::OrderedListCommand, false},
    {343, insert::UnorderedListCommand, false},

    // Links, media, gallery and small inserts
};

}  // namespace

CommandFragment InsertCommands() { return {kMenuRows, {}}; }
