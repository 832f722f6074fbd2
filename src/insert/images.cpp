#include "insert/images.h"

#include "documents/application.h"
#include "core/text.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

std::string AltPiece(const ImageValues& v) {
  std::string out = "alt=\"" + AttributeText(v.tooltip) + "\"";
  if (v.style == 1) out += " style=\"" + AttributeText(ImageStyle(v.height, v.width)) + "\"";
  return out + ">";
}

std::string Slashes(const std::string& path) { return core::ReplaceAll(path, "\\", "/"); }

}  // namespace

std::vector<std::string> BuildDisplayImage(const ImageValues& v) {
  return {"<img src=\"" + LocalFileUrl(v.image) + "\"", AltPiece(v)};
}

std::string BuildImageLink(const ImageValues& v) {
  return "<a href=\"" + AttributeText(v.link) + "\">\n" + "<img src=\"" + LocalFileUrl(v.image) + "\"\n" + AltPiece(v) +
         "\n</a>";
}

std::string BuildRolloverImage(const ImageValues& v) {
  const std::string main = LocalFileUrl(Slashes(v.image));
  return "<a href=\"" + LocalFileUrl(Slashes(v.link)) + "\">\n" + "<img src=\"" + main + "\"\n" +
         "onmouseover=\"src='" + LocalFileUrl(Slashes(v.rollover)) + "'\"\n" + "onmouseout=\"src='" + main + "'\"\n" +
         AltPiece(v) + "\n</a>";
}

namespace {

using Filters = std::vector<std::pair<std::string, std::string>>;
const Filters kImageFilters = {{"Gif Files (*.gif)", "*.gif"},
                               {"Jpg Files (*.jpg)", "*.jpg"},
                               {"Png Files (*.png)", "*.png"},
                               {"Tif Files (*.tif)", "*.tif"},
                               {"All Files (*.*)", "*.*"}};
const Filters kPageFilters = {{"Html Files (*.html)", "*.html"}, {"All Files (*.*)", "*.*"}};

Filters WithBmp() {
  Filters f = kImageFilters;
  f.insert(f.end() - 1, {"Bmp Files (*.bmp)", "*.bmp"});
  return f;
}

BrowseSpec Browse(const std::string& title, const Filters& filters,
                  std::function<std::string(const std::string&)> convert, bool clearOnCancel) {
  return {.dialog = {.title = title, .folder = "", .filters = filters, .startName = "", .defaultExtension = ""},
          .convert = std::move(convert),
          .clearOnCancel = clearOnCancel};
}

// A path row: label, path box and "Browse..." button.
struct PathRow {
  const char* label;
  BrowseSpec browse;
};

// The rows every image dialog shares after its path rows: tooltip, sizes, inline style.
// Boxes are numbered from 1001 in row order, Browse buttons from 3001.
struct ImageDialog {
  DialogEntry entry;
  InlineStyleBox style;
  std::vector<PathRow> paths;

  int Box(int row) const { return 1001 + row; }
  int Tooltip() const { return Box(static_cast<int>(paths.size())); }
  int Width() const { return Tooltip() + 1; }
  int Height() const { return Tooltip() + 2; }
  int StyleBox() const { return Tooltip() + 3; }

  DialogSpec Describe(const Settings& s) const {
    DialogSpec fileDialog{.entry = entry};
    for (size_t i = 0; i < paths.size(); ++i) {
      int row = static_cast<int>(i);
      fileDialog.controls.push_back(Label(2001 + row, paths[i].label));
      fileDialog.controls.push_back(TextBox(Box(row)));
      fileDialog.controls.push_back(PushButton(3001 + row, "Browse..."));
    }
    fileDialog.controls.push_back(Label(2001 + Tooltip() - 1001, "Tooltip text:"));
    fileDialog.controls.push_back(TextBox(Tooltip()));
    fileDialog.controls.push_back(Label(2001 + Width() - 1001, "Image width:"));
    fileDialog.controls.push_back(DropDown(Width(), SizeChoices(), "100px"));
    fileDialog.controls.push_back(Label(2001 + Height() - 1001, "Image height:"));
    fileDialog.controls.push_back(DropDown(Height(), SizeChoices(), "100px"));
    fileDialog.controls.push_back(StyleCheckBox(StyleBox(), style, s));
    return fileDialog;
  }

  // Runs the dialog; on Ok stores the style flag and returns the values.
  bool Run(App& app, ImageValues& v) const {
    InsertDialog d(app, Describe(app.settings));
    for (size_t i = 0; i < paths.size(); ++i) {
      int row = static_cast<int>(i);
      ConnectBrowse(app, d, 3001 + row, Box(row), paths[i].browse);
    }
    if (!RunInsertDialog(app, d)) return false;
    std::string* targets[] = {&v.image, paths.size() == 3 ? &v.rollover : &v.link, &v.link};
    for (size_t i = 0; i < paths.size(); ++i) *targets[i] = d.Text(Box(static_cast<int>(i)));
    v.tooltip = d.Text(Tooltip());
    v.width = d.Text(Width());
    v.height = d.Text(Height());
    v.style = d.Checked(StyleBox());
    StoreStyle(d, StyleBox(), style, app.settings);
    return true;
  }
};

}  // namespace

void RunDisplayImageDialog(App& app) {
  const ImageDialog dialog{kDisplayImageDialog,
                           kImageStyle,
                           {{"Locate image:", Browse("Locate Image", WithBmp(), nullptr, true)}}};
  ImageValues v;
  if (!dialog.Run(app, v)) return;
  InsertPieces(app, BuildDisplayImage(v));
  FinishOk(app, kDisplayImageDialog);
}

void RunImageLinkDialog(App& app) {
  const ImageDialog dialog{kImageLinkDialog,
                           kImageLinkStyle,
                           {{"Locate image:", Browse("Locate Image", kImageFilters, nullptr, true)},
                            {"Link to:", Browse(
                                             "Link To", kPageFilters,
                                             [](const std::string& p) { return LocalFileUrl(p); }, false)}}};
  ImageValues v;
  if (!dialog.Run(app, v)) return;
  InsertTextAtCaret(app, BuildImageLink(v));
  FinishOk(app, kImageLinkDialog);
}

void RunRolloverImageDialog(App& app) {
  const ImageDialog dialog{kRolloverImageDialog,
                           kRolloverImageStyle,
                           {{"Main image:", Browse("Locate Image", kImageFilters, Slashes, false)},
                            {"Rollover image:", Browse("Locate Image", kImageFilters, Slashes, false)},
                            {"Link to:", Browse("Link To", kPageFilters, nullptr, false)}}};
  ImageValues v;
  if (!dialog.Run(app, v)) return;
  InsertTextAtCaret(app, BuildRolloverImage(v));
  FinishOk(app, kRolloverImageDialog);
}

}  // namespace insert
