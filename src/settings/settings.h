// The configuration record and its file Verosta.ini.
#pragma once
#include <cstdint>
#include <string>

struct Settings {
  // [Editor]
  int windowWidth = 0, windowHeight = 0, maximizeWindow = 0;
  std::string fontName;
  int fontSize = 0, statusbarFile = 0, titlebarName = 0, toolbarTips = 0, editorsMargin = 0, feedback = 0,
      thinCursor = 0, blockCursor = 0, lineNumbers = 0, wrapText = 0, lineMarkers = 0, whiteSpace = 0;
  std::string tabIndent;
  // [New program]
  int html5 = 0, htmlTransitional = 0, htmlStrict = 0, htmlFrameset = 0, xhtmlTransitional = 0, xhtmlStrict = 0,
      xhtmlFrameset = 0, blankPage = 0;
  // [New project]
  int projectDirectories = 0;
  // [Files]
  int lastFile = 0;
  std::string sessionFiles[33];  // 1..32 used
  int backupFile = 0, deleteFile = 0, recycleBin = 0, existingFile = 0, saveOnExit = 0;
  // [File associations]
  int webFiles = 0, bakFiles = 0, htmlFiles = 0, xhtmlFiles = 0, cssFiles = 0, jsFiles = 0, javaFiles = 0,
      plainFiles = 0, wordFiles = 0, allFiles = 0;
  // [Browsers]
  std::string explorerPath, firefoxPath, safariPath, chromePath, operaPath;
  // [Browser check box]
  int checkExplorer = 0, checkFirefox = 0, checkSafari = 0, checkChrome = 0, checkOpera = 0;
  // [Programes]
  std::string textEditorPath, libraryEditorPath, styleEditorPath, imageEditorPath, soundEditorPath;
  // [System colors], Windows colour values 0x00BBGGRR
  int colorMainText = 0, colorComment = 0, colorOperator = 0, colorDoctype = 0, colorStrings = 0, colorNumbers = 0,
      colorKeywords = 0, colorBackground = 0, colorCursor = 0, colorGutter = 0, colorSetNumbers = 0, colorSpace = 0;
  // [Print]
  int printerDialog = 0, printNumbers = 0, printFileName = 0, ukPaperSize = 0, usPaperSize = 0;
  // [Find]
  int findCase = 0, findWordWrap = 0, findHighlight = 0;
  // [Comment]
  int remComment = 0, apostropheComment = 0;
  // [Tables]
  int centerTable = 0;
  std::string tableRows, tableColumns, cellWidth, cellHeight, textAlign, cellColor, textColor, borderColor,
      tablePadding;
  // [Form]
  std::string formAction, formName, formEmail, formAddress, formPost, formCountry, formComments, formSubmit, formClear;
  // [List]
  int listDisc = 0, listCircle = 0, listSquare = 0;
  int autoVideo = 0, autoSound = 0, lowercaseUpload = 0, buildOnSave = 0, syntaxHighlighting = 0;
  // [Preview]
  int previewOtherDevices = 0, previewWhileTyping = 0, followActiveDocument = 1;
  // One-key style sections
  int headerStyle = 0, listStyle = 0, linkStyle = 0, emailStyle = 0, formStyle = 0, imageStyle = 0,
      rolloverImageStyle = 0, imageLinkStyle = 0, imageGalleryStyle = 0;

  bool operator==(const Settings&) const = default;
};

// Applies the lines of a configuration file to `s`. Fields whose line is missing keep
// their value; font-size rules are applied as when reading the file.
void ReadSettingsText(const std::string& fileBytes, Settings& s);
// The complete configuration file for `s`, CR LF line ends.
std::string WriteSettingsText(const Settings& s);

// A file that cannot be what the editor wrote: nothing of a settings file in it (empty,
// zero-filled, foreign bytes); the header without the key every version writes last (cut
// short); or a number key whose value is no number. A file that merely lacks some keys (one
// from an older version, a short file written by hand) is not damaged.
bool SettingsTextDamaged(const std::string& fileBytes);

enum class SettingsFileStatus { Missing, Sound, Damaged };

// File-level operations on Verosta.ini at `path` (in the configuration folder).
// A missing file changes only the font size rule. An existing file is read over the shipped
// defaults at `defaultsPath` (when given and readable): keys it lacks or cannot give take
// those; a damaged or unreadable one says so.
SettingsFileStatus LoadSettingsFile(Settings& s, const std::string& path, const std::string& defaultsPath = "");
// Writes through a temporary file and a rename; false when the file could not be written
// (the old file is then left whole, `error` says why).
bool SaveSettingsFile(const Settings& s, const std::string& path, std::string* error = nullptr);

// A damaged file is kept beside its name with this suffix, replacing an older one.
inline constexpr const char* kDamagedSuffix = ".damaged";
// Moves the damaged file at `path` aside; false when it could not be moved.
bool KeepDamagedSettingsFile(const std::string& path);

// What the user has been told about the settings file during this run.
struct SettingsFileState {
  bool damaged = false;  // start-up found it damaged; it is moved aside before the next write
  bool damageTold = false;
  bool writeFailureTold = false;  // cleared by the next write that succeeds
};
