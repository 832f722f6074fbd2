// The Hypertext Link and Email Link dialogs.
#pragma once

struct App;

namespace insert {

// Control ids of the Hypertext Link dialog.
enum HypertextLinkIds {
  kLinkToBox = 101,
  kLinkBrowseButton = 102,
  kLinkTextBox = 104,
  kLinkTooltipBox = 106,
  kLinkStyleBox = 107
};
// Control ids of the Email Link dialog.
enum EmailLinkIds {
  kEmailTextBox = 101,
  kEmailOpenButton = 102,
  kEmailSubjectBox = 104,
  kEmailSaveButton = 105,
  kEmailAddressBox = 107,
  kEmailDeleteButton = 108,
  kEmailTooltipBox = 110,
  kEmailStyleBox = 111
};

void RunHypertextLinkDialog(App& app);
void RunEmailLinkDialog(App& app);

}  // namespace insert
