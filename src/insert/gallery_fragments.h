// The Image Gallery block of the page language and the folder listing behind it.
#pragma once
#include <string>
#include <vector>

#include "insert/media_fragments.h"

namespace insert {

// The file names (not folders) of `folder`, sorted by name without regard to case;
// empty when the folder cannot be read.
std::vector<std::string> ListGalleryFolder(const std::string& folder);

// The pictures of the "Images:" text: its non-empty lines, in order, exactly as they stand.
std::vector<std::string> GalleryPictures(const std::string& imagesText);

// SetImageStyle (with inline style), ViewGallery (), one ShowImage line per picture and
// EndView (); a line break step follows every piece but EndView ().
PieceFragment BuildGallery(const std::vector<std::string>& pictures, bool inlineStyle);

}  // namespace insert
