#include "insert/gallery_fragments.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/text.h"

namespace insert {

std::vector<std::string> ListGalleryFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string la = core::ToLower(a), lb = core::ToLower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

std::vector<std::string> GalleryPictures(const std::string& imagesText) {
  std::vector<std::string> pictures;
  for (std::string& line : core::SplitLines(imagesText + "\r\n"))
    if (!line.empty()) pictures.push_back(std::move(line));
  return pictures;
}

PieceFragment BuildGallery(const std::vector<std::string>& pictures, bool inlineStyle) {
  PieceFragment f;
  if (inlineStyle) f.pieces.push_back("SetImageStyle (width: 170px; height: 150px;)");
  f.pieces.push_back("ViewGallery ()");
  for (size_t i = 0; i < pictures.size(); ++i)
    f.pieces.push_back("    ShowImage [" + std::to_string(i) + "] = 'images/" + pictures[i] + "'");
  f.pieces.push_back("EndView ()");
  return f;
}

}  // namespace insert
