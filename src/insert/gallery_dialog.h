// The Image Gallery dialog.
#pragma once

struct App;

namespace insert {

enum GalleryIds {
  kGalleryFolderBox = 101,
  kGalleryBrowseButton = 102,
  kGalleryImagesBox = 104,
  kGalleryStyleBox = 105
};

void RunImageGalleryDialog(App& app);

}  // namespace insert
