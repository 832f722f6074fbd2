// Display Image, Image Link and Rollover Image: pictures on the author's disk, written
// with file URLs.
#pragma once
#include <string>
#include <vector>

struct App;

namespace insert {

struct ImageValues {
  std::string image{};     // "Locate image:" or "Main image:"
  std::string rollover{};  // "Rollover image:"
  std::string link{};      // "Link to:"
  std::string tooltip{};
  std::string width{}, height{};
  int style = 0;  // the dialog's inline-style flag
};

// Two pieces, inserted with a line break step between them: the "<img src=" piece and the
// "alt=" piece.
std::vector<std::string> BuildDisplayImage(const ImageValues& v);
// One piece: the link, the image and "</a>" on lines of their own, joined by LF.
std::string BuildImageLink(const ImageValues& v);
// One piece: a linked image that shows `rollover` while the pointer is over it.
std::string BuildRolloverImage(const ImageValues& v);

// Commands 401, 407 and 414.
void RunDisplayImageDialog(App& app);
void RunImageLinkDialog(App& app);
void RunRolloverImageDialog(App& app);

}  // namespace insert
