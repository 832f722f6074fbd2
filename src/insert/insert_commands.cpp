// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"
#include "insert/forms.h"
#include "insert/gallery_dialog.h"
#include "insert/images.h"
#include "insert/link_dialogs.h"
#include "insert/lists.h"
#include "insert/media_dialogs.h"
#include "insert/small_inserts_dialogs.h"
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
    {406, insert::RunHypertextLinkDialog, true},
    {408, insert::RunEmailLinkDialog, true},
    {411, insert::RunPlaySoundDialog, true},
    {412, insert::RunPlayVideoDialog, true},
    {421, insert::RunImageGalleryDialog, true},
    {419, insert::RunCommentDialog, true},
    {418, insert::RunStyleSheetDialog, true},
    {402, insert::RunHeaderDialog, true},
    {400, insert::RunTextFileDialog, true},
    {417, insert::RunSpecialCharactersDialog, true},
};

}  // namespace

CommandFragment InsertCommands() { return {kMenuRows, {}}; }
