// This subsystem's rows of the command registry.
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

const CommandRow kRows[] = {
    // Tables, forms, lists and images
    {Cmd::InsertForm, "Form...", insert::RunFormDialog, Then::Focus},
    {Cmd::InsertTables, "Tables...", insert::RunTablesDialog, Then::Focus},
    {Cmd::InsertList, "List...", insert::RunListDialog, Then::Focus},
    {Cmd::InsertImage, "Image...", insert::RunDisplayImageDialog, Then::Focus},
    {Cmd::InsertRolloverImage, "Rollover Image...", insert::RunRolloverImageDialog, Then::Focus},
    {Cmd::InsertImageLink, "Image Link...", insert::RunImageLinkDialog, Then::Focus},
    {Cmd::OrderedList, "Ordered List", insert::OrderedListCommand},
    {Cmd::UnorderedList, "Unordered List", insert::UnorderedListCommand},

    // Links, media, gallery and small inserts
    {Cmd::InsertHypertextLink, "Hypertext Link...", insert::RunHypertextLinkDialog, Then::Focus},
    {Cmd::InsertEmailLink, "Email Link...", insert::RunEmailLinkDialog, Then::Focus},
    {Cmd::InsertSound, "Sound...", insert::RunPlaySoundDialog, Then::Focus},
    {Cmd::InsertVideo, "Video...", insert::RunPlayVideoDialog, Then::Focus},
    {Cmd::InsertImageGallery, "Image Gallery...", insert::RunImageGalleryDialog, Then::Focus},
    {Cmd::InsertComment, "Comment...", insert::RunCommentDialog, Then::Focus},
    {Cmd::InsertStyleSheet, "External Style Sheet...", insert::RunStyleSheetDialog, Then::Focus},
    {Cmd::InsertHeader, "Header...", insert::RunHeaderDialog, Then::Focus},
    {Cmd::InsertTextFile, "Text File...", insert::RunTextFileDialog, Then::Focus},
    {Cmd::InsertSpecialCharacters, "Special Characters...", insert::RunSpecialCharactersDialog, Then::Focus},
};

}  // namespace

std::span<const CommandRow> InsertCommands() { return kRows; }
