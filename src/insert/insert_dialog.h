// What every insert dialog shares: the dialog described as data, the feedback sound on
// opening, Help by context number, the Browse step, colour fields, size lists, the
// inline-style check boxes and the piece-by-piece insert with line break steps.
#pragma once
#include <QDialog>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "settings/settings.h"

struct App;

namespace insert {

// Ids of the standard buttons (the Windows IDOK, IDCANCEL, IDHELP).
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kHelpId = 9;

// One row of the table of insert dialogs: caption, help context, and whether Ok ends
// with SaveSettings.
struct DialogEntry {
  std::string_view caption;
  int helpContext;
  bool okWritesSettings;
};
inline constexpr DialogEntry kTablesDialog{"Tables", 35, true};
inline constexpr DialogEntry kFormDialog{"Form", 20, true};
inline constexpr DialogEntry kListDialog{"List", 36, true};
inline constexpr DialogEntry kDisplayImageDialog{"Display Image", 17, true};
inline constexpr DialogEntry kImageLinkDialog{"Image Link", 11, false};
inline constexpr DialogEntry kRolloverImageDialog{"Rollover Image", 56, false};
inline constexpr DialogEntry kHypertextLinkDialog{"Hypertext Link", 19, false};
inline constexpr DialogEntry kEmailLinkDialog{"Email Link", 38, false};
inline constexpr DialogEntry kPlaySoundDialog{"Play Sound", 37, true};
inline constexpr DialogEntry kPlayVideoDialog{"Play Video", 10, true};
inline constexpr DialogEntry kImageGalleryDialog{"Image Gallery", 5, false};
inline constexpr DialogEntry kCommentDialog{"Comment", 63, false};
inline constexpr DialogEntry kHeaderDialog{"Header", 33, true};
inline constexpr DialogEntry kTextFileDialog{"Text File", 14, false};
inline constexpr DialogEntry kStyleSheetDialog{"External Style Sheet", 64, false};
inline constexpr DialogEntry kSpecialCharactersDialog{"Special Characters", 48, false};

// The inline-style check box of a dialog and the Settings flag it shows and stores.
struct InlineStyleBox {
  std::string_view label;
  int Settings::*field;
};
inline constexpr InlineStyleBox kFormStyle{" Use inline style element within form", &Settings::formStyle};
inline constexpr InlineStyleBox kListStyle{" Use inline style element within list", &Settings::listStyle};
inline constexpr InlineStyleBox kImageStyle{" Use inline style element within image", &Settings::imageStyle};
inline constexpr InlineStyleBox kImageLinkStyle{" Use inline style element within image link",
                                                &Settings::imageLinkStyle};
inline constexpr InlineStyleBox kRolloverImageStyle{" Use inline style element within rollover image",
                                                    &Settings::rolloverImageStyle};
inline constexpr InlineStyleBox kLinkStyle{" Use inline style element within link tags", &Settings::linkStyle};
inline constexpr InlineStyleBox kEmailStyle{" Use inline style element within email link", &Settings::emailStyle};
inline constexpr InlineStyleBox kImageGalleryStyle{" Use inline style element within image gallery",
                                                   &Settings::imageGalleryStyle};
inline constexpr InlineStyleBox kHeaderStyle{" Use inline style element within header tags", &Settings::headerStyle};

// The fixed style texts of inline style.
inline constexpr std::string_view kTextStyle = "font-family:arial ; font-size: 14px ;";       // text, links, lists
inline constexpr std::string_view kLargeTextStyle = "font-family:arial ; font-size: 25px ;";  // header, form
// "height:" + height + "; width:" + width + "; padding: 8px;"
std::string ImageStyle(const std::string& height, const std::string& width);

// A text placed inside a double-quoted attribute value: a double quote becomes &quot; so
// that it cannot end the value early. Everything else stays as typed.
std::string AttributeText(std::string_view text);
// A local path written as a valid file URL: "file://" + the absolute path with "/" separators,
// bytes that a URL cannot hold literally (blanks, quotes, #, %, ?, non-ASCII ...) percent-encoded.
// A text that already carries a scheme is kept (only its double quotes are encoded); a relative
// path stays relative; an empty path gives "file:///".
std::string LocalFileUrl(std::string_view path);

// "100px", "110px", ... "240px": the size list of image and video fields.
std::vector<std::string> SizeChoices();
// from, from + step, ... up to `to`, each followed by `suffix` ("1px" ... "15px").
std::vector<std::string> NumberedChoices(int from, int to, int step, const std::string& suffix);
// "#" + red, green, blue as upper-case hex digits, from a colour 0x00BBGGRR.
std::string ColourText(uint32_t colour);
// The colour of a "#RRGGBB" (or "RRGGBB") text; false, and `colour` untouched, for anything else.
bool ParseColourText(std::string_view text, uint32_t& colour);

enum class ControlKind { Label, Text, MultiLineText, DropDown, Check, Button, Frame };

// One control of a dialog. Controls are laid out in rows from the top, in the order given:
// a label (or a check box, a frame, a multi-line box not following a label) starts a row,
// an input after a label sits to its right, buttons go to the right end of the current row.
struct ControlSpec {
  ControlKind kind = ControlKind::Label;
  int id = 0;                          // also the widget's objectName
  std::string text{};                  // label, check-box or button caption; initial text of an input
  std::vector<std::string> choices{};  // drop-down choices
  bool checked = false;                // check boxes
  int column = 0;                      // 0 left column, 1 right-hand column
  int frame = 0;                       // id of the group frame the control sits in, 0 for none
};

ControlSpec Label(int id, std::string text);
ControlSpec TextBox(int id, std::string initial = "");
ControlSpec MultiLineBox(int id, std::string initial = "");
ControlSpec DropDown(int id, std::vector<std::string> choices, std::string initial);
ControlSpec CheckBox(int id, std::string label, bool checked);
ControlSpec PushButton(int id, std::string caption);
ControlSpec Frame(int id, std::string title);
// The dialog's inline-style box, checked when its Settings flag is 1.
ControlSpec StyleCheckBox(int id, const InlineStyleBox& box, const Settings& settings);
// Places controls into the right-hand column (returns the changed copy).
ControlSpec InColumn(ControlSpec c, int column);

struct DialogSpec {
  DialogEntry entry{};   // caption, help context
  bool feedback = true;  // play the feedback sound on opening
  bool helpButton = true;
  std::vector<ControlSpec> controls{};  // top to bottom
};

// A dialog built from its description; every control is found by its id.
class InsertDialog : public QDialog {
 public:
  InsertDialog(App& app, DialogSpec fileDialog);

  const DialogSpec& Description() const { return spec_; }
  QWidget* Control(int id) const;  // null when there is none
  // Text of a text box, multi-line box (lines joined by CR LF) or drop-down field, as bytes.
  std::string Text(int id) const;
  void SetText(int id, const std::string& text);
  int Checked(int id) const;  // 1 or 0
  void SetChecked(int id, int on);
  void Focus(int id);
  // Runs `action` on every click of a push button or check box.
  void OnClick(int id, std::function<void()> action);
  // Ok closes the dialog only when `check` returns true.
  void SetOkCheck(std::function<bool()> check) { okCheck_ = std::move(check); }

 private:
  void Build();
  void PressOk();
  App& app_;
  DialogSpec spec_;
  std::map<int, QWidget*> controls_;
  std::function<bool()> okCheck_;
};

// Plays the feedback sound when the dialog wants it and the feedback setting is on,
// then runs the dialog modally through the platform. True when closed by Ok.
bool RunInsertDialog(App& app, InsertDialog& dialog);
// The end of Ok: SaveSettings when the dialog's table row says so.
void FinishOk(App& app, const DialogEntry& entry);

// Stores the inline-style box `id` (1 or 0) into its Settings flag.
void StoreStyle(const InsertDialog& dialog, int id, const InlineStyleBox& box, Settings& settings);

// Browse step: an open-file dialog; the chosen path, converted, goes into the path box.
struct BrowseSpec {
  FileDialogSpec dialog{};                                   // title and filters; no start folder
  std::function<std::string(const std::string&)> convert{};  // null keeps the path as returned
  bool clearOnCancel = false;                                // a cancelled dialog empties the box
};
void ConnectBrowse(App& app, InsertDialog& dialog, int buttonId, int boxId, BrowseSpec browse);
// Colour field: the "Select..." button opens the shared colour dialog starting at black.
void ConnectColour(App& app, InsertDialog& dialog, int buttonId, int boxId);

// Inserts the pieces at the caret with a line break step between consecutive pieces.
void InsertPieces(App& app, const std::vector<std::string>& pieces);

// Dialog text (UTF-16) and bytes (UTF-8).
std::string Bytes(const QString& s);
QString Qs(const std::string& s);

}  // namespace insert
