#include "insert/gallery_dialog.h"

#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
#include "app/shell.h"
#include "documents/editor.h"
#include "insert/gallery_fragments.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

void BrowseGalleryFolder(App& app, InsertDialog& d) {
  FeedbackIfOn(app);
  std::string folder;
  if (!app.platform.PickFolder("Please select an image folder", folder) || folder.empty()) {
    d.Focus(kGalleryFolderBox);
    return;
  }
  app.galleryFolder = folder;
  d.SetText(kGalleryFolderBox, folder);
  std::string names;
  for (const std::string& name : ListGalleryFolder(folder)) names += (names.empty() ? "" : "\r\n") + name;
  d.SetText(kGalleryImagesBox, names);
  d.Focus(kGalleryImagesBox);
}

}  // namespace

void RunImageGalleryDialog(App& app) {
  InsertDialog d(app, {.entry = kImageGalleryDialog,
                       .controls = {Label(100, "Images directory:"), TextBox(kGalleryFolderBox),
                                    PushButton(kGalleryBrowseButton, "Browse..."), Label(103, "Images:"),
                                    MultiLineBox(kGalleryImagesBox),
                                    StyleCheckBox(kGalleryStyleBox, kImageGalleryStyle, app.settings)}});
  d.OnClick(kGalleryBrowseButton, [&app, &d] { BrowseGalleryFolder(app, d); });
  d.SetOkCheck([&app, &d] {
    if (!app.galleryFolder.empty()) return true;
    app.platform.Message("Please click on the Browse button and select the image dictionary.", MsgIcon::Information);
    d.Focus(kGalleryFolderBox);
    return false;
  });
  if (!RunInsertDialog(app, d)) return;
  std::vector<std::string> pictures = GalleryPictures(d.Text(kGalleryImagesBox));
  StoreStyle(d, kGalleryStyleBox, kImageGalleryStyle, app.settings);
  SaveSettings(app);
  InsertPieces(app, BuildGallery(pictures, app.settings.imageGalleryStyle == 1).pieces);
  Send(app, QsciScintillaBase::SCI_LINEEND);
}

}  // namespace insert
