#include "settings/settings.h"

#include <filesystem>
#include <vector>

#include "core/files.h"
#include "core/text.h"

namespace {

enum class Kind { Number, Text, Section, Blank, Sessions };

struct Field {
  Kind kind;
  const char* key;  // key text; text keys carry their trailing space; section lines their brackets
  int Settings::*number = nullptr;
  std::string Settings::*text = nullptr;
  bool noSpaceWhenReading = false;
};

Field Sec(const char* name) { return {Kind::Section, name}; }
Field Num(const char* key, int Settings::*m, bool tight = false) { return {Kind::Number, key, m, nullptr, tight}; }
Field Txt(const char* key, std::string Settings::*m) { return {Kind::Text, key, nullptr, m}; }
Field Blank() { return {Kind::Blank, ""}; }

// The file in writing order.
const std::vector<Field>& Layout() {
  using S = Settings;
  static const std::vector<Field> fields = {
      Sec("[Verosta editor Configuration file]"),
      Blank(),
      Sec("[Editor]"),
      Num("Window width", &S::windowWidth),
      Num("Window height", &S::windowHeight),
      Num("Maximize window", &S::maximizeWindow),
      Txt("Font name ", &S::fontName),
      Num("Font size", &S::fontSize),
      Num("Statusbar file", &S::statusbarFile),
      Num("Titlebar name", &S::titlebarName, true),
      Num("Toolbar tips", &S::toolbarTips, true),
      Num("Editors margin", &S::editorsMargin, true),
      Num("Feedback", &S::feedback, true),
      Num("Thin cursor", &S::thinCursor),
      Num("Block cursor", &S::blockCursor),
      Num("Line numbers", &S::lineNumbers),
      Num("Wrap text", &S::wrapText),
      Num("Line markers", &S::lineMarkers),
      Num("White space", &S::whiteSpace),
      Txt("Tab indent ", &S::tabIndent),
      Blank(),
      Sec("[New program]"),
      Num("Html5", &S::html5),
      Num("Html transitional", &S::htmlTransitional),
      Num("Html strict", &S::htmlStrict),
      Num("Html frameset", &S::htmlFrameset),
      Num("Xhtml transitional", &S::xhtmlTransitional),
      Num("Xhtml strict", &S::xhtmlStrict),
      Num("Xhtml frameset", &S::xhtmlFrameset),
      Num("Blank Page", &S::blankPage),
      Blank(),
      Sec("[New project]"),
      Num("Project directories", &S::projectDirectories),
      Blank(),
      Sec("[Files]"),
      Num("Last file", &S::lastFile),
      {Kind::Sessions, "File"},
      Num("Backup file", &S::backupFile),
      Num("Delete file", &S::deleteFile),
      Num("Recycle bin", &S::recycleBin, true),
      Num("Existing file", &S::existingFile),
      Num("Save on exit", &S::saveOnExit),
      Blank(),
      Sec("[File associations]"),
      Num("Web files", &S::webFiles),
      Num("Bak files", &S::bakFiles),
      Num("Html files", &S::htmlFiles),
      Num("Xhtml files", &S::xhtmlFiles),
      Num("Css files", &S::cssFiles),
      Num("Js files", &S::jsFiles),
      Num("Java files", &S::javaFiles),
      Num("Plain files", &S::plainFiles),
      Num("Word files", &S::wordFiles),
      Num("All files", &S::allFiles),
      Blank(),
      Sec("[Browsers]"),
      Txt("Explorer ", &S::explorerPath),
      Txt("Firefox ", &S::firefoxPath),
      Txt("Safari ", &S::safariPath),
      Txt("Chrome ", &S::chromePath),
      Txt("Opera ", &S::operaPath),
      Blank(),
      Sec("[Browser check box]"),
      Num("Check explorer", &S::checkExplorer),
      Num("Check firefox", &S::checkFirefox),
      Num("Check safari", &S::checkSafari),
      Num("Check chrome", &S::checkChrome),
      Num("Check opera", &S::checkOpera),
      Blank(),
      Sec("[Programes]"),
      Txt("Text editor ", &S::textEditorPath),
      Txt("Library editor ", &S::libraryEditorPath),
      Txt("Style editor ", &S::styleEditorPath),
      Txt("Image editor ", &S::imageEditorPath),
      Txt("Sound editor ", &S::soundEditorPath),
      Blank(),
      Sec("[System colors]"),
      Num("Main text", &S::colorMainText),
      Num("Comment", &S::colorComment),
      Num("Operator", &S::colorOperator),
      Num("Doctype", &S::colorDoctype),
      Num("Strings", &S::colorStrings),
      Num("Numbers", &S::colorNumbers),
      Num("Keywords", &S::colorKeywords),
      Num("Background", &S::colorBackground),
      Num("Cursor", &S::colorCursor),
      Num("Gutter", &S::colorGutter),
      Num("Set numbers", &S::colorSetNumbers),
      Num("Space", &S::colorSpace),
      Blank(),
      Sec("[Print]"),
      Num("Printer dialog", &S::printerDialog),
      Num("Print numbers", &S::printNumbers),
      Num("Print file name", &S::printFileName),
      Num("UK paper size", &S::ukPaperSize),
      Num("US paper size", &S::usPaperSize),
      Blank(),
      Sec("[Find]"),
      Num("Find case", &S::findCase),
      Num("Find word wrap", &S::findWordWrap),
      Num("Find highlight", &S::findHighlight),
      Blank(),
      Sec("[Comment]"),
      Num("Rem comment", &S::remComment),
      Num("Apostrophe comment", &S::apostropheComment),
      Blank(),
      Sec("[Tables]"),
      Num("Center table", &S::centerTable),
      Txt("Table rows ", &S::tableRows),
      Txt("Table columns ", &S::tableColumns),
      Txt("Cell width ", &S::cellWidth),
      Txt("Cell height ", &S::cellHeight),
      Txt("Text align ", &S::textAlign),
      Txt("Cell color ", &S::cellColor),
      Txt("Text color ", &S::textColor),
      Txt("Border color ", &S::borderColor),
      Txt("Table padding ", &S::tablePadding),
      Blank(),
      Sec("[Form]"),
      Txt("Form action ", &S::formAction),
      Txt("Form name ", &S::formName),
      Txt("Form email ", &S::formEmail),
      Txt("Form address ", &S::formAddress),
      Txt("Form post ", &S::formPost),
      Txt("Form country ", &S::formCountry),
      Txt("Form comments ", &S::formComments),
      Txt("Form submit ", &S::formSubmit),
      Txt("Form clear ", &S::formClear),
      Blank(),
      Sec("[List]"),
      Num("List disc", &S::listDisc),
      Num("List circle", &S::listCircle),
      Num("List square", &S::listSquare),
      Blank(),
      Sec("[Play video]"),
      Num("Auto video", &S::autoVideo),
      Blank(),
      Sec("[Play sound]"),
      Num("Auto sound", &S::autoSound),
      Blank(),
      Sec("[Publish]"),
      Num("Lowercase upload", &S::lowercaseUpload),
      Num("Build on save", &S::buildOnSave),
      Blank(),
      Sec("[Syntax]"),
      Num("Syntax highlighting", &S::syntaxHighlighting),
      Blank(),
      Sec("[Preview]"),
      Num("Preview on other devices", &S::previewOtherDevices),
      Num("Preview while typing", &S::previewWhileTyping),
      Num("Follow active document", &S::followActiveDocument),
      Blank(),
      Sec("[Header]"),
      Num("Header style", &S::headerStyle),
      Blank(),
      Sec("[List]"),
      Num("List style", &S::listStyle),
      Blank(),
      Sec("[Link]"),
      Num("Link style", &S::linkStyle),
      Blank(),
      Sec("[Email]"),
      Num("Email style", &S::emailStyle),
      Blank(),
      Sec("[Form]"),
      Num("Form style", &S::formStyle),
      Blank(),
      Sec("[Image]"),
      Num("Image style", &S::imageStyle),
      Blank(),
      Sec("[Rollover image]"),
      Num("Rollover image style", &S::rolloverImageStyle),
      Blank(),
      Sec("[Image link]"),
      Num("Image link style", &S::imageLinkStyle),
      Blank(),
      Sec("[Image gallery]"),
      Num("Image gallery style", &S::imageGalleryStyle),
  };
  return fields;
}

std::string SessionKey(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "File%03d", n);
  return buf;
}

}  // namespace

namespace {

// The keys as reading compares them, grouped by their first character, so that each line
// is compared with the few keys that can match it rather than with all of them.
struct ReadKey {
  std::string key;
  const Field* field;
};
const std::vector<ReadKey>& KeysStartingWith(unsigned char first) {
  static const std::vector<std::vector<ReadKey>> byFirst = [] {
    std::vector<std::vector<ReadKey>> groups(256);
    for (const Field& f : Layout()) {
      std::string key;
      if (f.kind == Kind::Number) key = std::string(f.key) + (f.noSpaceWhenReading ? "" : " ");
      else if (f.kind == Kind::Text) key = f.key;
      else continue;
      groups[static_cast<unsigned char>(key[0])].push_back({key, &f});
    }
    return groups;
  }();
  return byFirst[first];
}

// "File001" .. "File032": the session line's number, 0 when the line is none.
int SessionNumber(std::string_view line) {
  if (line.size() < 7 || line.compare(0, 4, "File") != 0) return 0;
  int n = 0;
  for (size_t i = 4; i < 7; ++i) {
    if (line[i] < '0' || line[i] > '9') return 0;
    n = n * 10 + (line[i] - '0');
  }
  return n >= 1 && n <= 32 ? n : 0;
}

}  // namespace

namespace {

// A number as the reader takes it: blanks, an optional sign, then a digit or a fraction.
bool HoldsNumber(std::string_view value) {
  size_t i = value.find_first_not_of(" \t\r\n");
  if (i == std::string_view::npos) return false;
  if (value[i] == '+' || value[i] == '-') ++i;
  if (i < value.size() && value[i] == '.') ++i;
  return i < value.size() && value[i] >= '0' && value[i] <= '9';
}

// What reading saw of the file's shape, for telling a damaged file from an old or short one.
struct Scan {
  bool header = false, anyKey = false, lastKey = false;
  std::vector<int Settings::*> unreadable;  // number keys whose value is not a number
};

// The key every version of the file has written last: a file cut short lacks it.
// (Matched without its space: a negative value follows the key directly.)
constexpr std::string_view kLastKey = "Image gallery style";
constexpr std::string_view kHeader = "[Verosta editor Configuration file]";

void ApplyLines(const std::string& fileBytes, Settings& s, Scan* scan) {
  std::string value;
  for (const std::string& line : core::SplitLines(fileBytes)) {
    if (line.empty()) continue;
    if (scan && line == kHeader) scan->header = true;
    if (scan && core::StartsWith(line, kLastKey)) scan->lastKey = true;
    for (const ReadKey& k : KeysStartingWith(static_cast<unsigned char>(line[0]))) {
      if (line.size() < 2 || line[1] != k.key[1] || !core::MatchKey(line, k.key, value)) continue;
      const Field& f = *k.field;
      if (scan) scan->anyKey = true;
      if (f.kind == Kind::Number) {
        int v = core::ParseNumber(value);
        if (f.number == &Settings::fontSize && v < 5) v = 10;
        s.*f.number = v;
        if (scan && !HoldsNumber(value)) scan->unreadable.push_back(f.number);
      } else {
        s.*f.text = value;
      }
    }
    if (int n = SessionNumber(line)) {
      value = line.substr(7);
      s.sessionFiles[n] = core::Trim(value.empty() ? value : value.substr(1));
      if (scan) scan->anyKey = true;
    }
  }
}

// Empty, zero-filled or foreign bytes hold nothing of the file; a header without the last key
// was cut short. A file written by hand without a header is taken as it is.
bool Damaged(const Scan& scan) {
  return (!scan.header && !scan.anyKey) || (scan.header && !scan.lastKey) || !scan.unreadable.empty();
}

}  // namespace

void ReadSettingsText(const std::string& fileBytes, Settings& s) { ApplyLines(fileBytes, s, nullptr); }

bool SettingsTextDamaged(const std::string& fileBytes) {
  Settings ignored;
  Scan scan;
  ApplyLines(fileBytes, ignored, &scan);
  return Damaged(scan);
}

std::string WriteSettingsText(const Settings& s) {
  std::string out;
  out.reserve(4096);  // the whole file is about 2.5 KB
  const auto& layout = Layout();
  for (size_t i = 0; i < layout.size(); ++i) {
    const Field& f = layout[i];
    switch (f.kind) {
      case Kind::Section: out += f.key; break;
      case Kind::Blank: break;
      case Kind::Number: out += core::NumberLine(f.key, s.*f.number); break;
      case Kind::Text: out += f.key + core::LineValue(s.*f.text); break;
      case Kind::Sessions:
        for (int n = 1; n <= 32; ++n) {
          out += SessionKey(n) + " " + core::Trim(core::LineValue(s.sessionFiles[n]));
          if (n < 32) out += "\r\n";
        }
        break;
    }
    out += "\r\n";
  }
  return out;
}

SettingsFileStatus LoadSettingsFile(Settings& s, const std::string& path, const std::string& defaultsPath) {
  SettingsFileStatus status = SettingsFileStatus::Missing;
  std::string bytes, defaults;
  std::error_code ec;
  if (core::ReadFileBytes(path, bytes)) {
    // Keys the file lacks or cannot give take the shipped value, not the value that
    // happened to be in memory: a file cut short must not leave black text on black.
    Settings base = s;
    if (!defaultsPath.empty() && core::ReadFileBytes(defaultsPath, defaults)) ReadSettingsText(defaults, base);
    Scan scan;
    s = base;
    ApplyLines(bytes, s, &scan);
    for (int Settings::*m : scan.unreadable) s.*m = base.*m;
    status = Damaged(scan) ? SettingsFileStatus::Damaged : SettingsFileStatus::Sound;
  } else if (std::filesystem::exists(path, ec)) {
    status = SettingsFileStatus::Damaged;  // there, but not readable: not the missing file of a first start
    if (!defaultsPath.empty() && core::ReadFileBytes(defaultsPath, defaults)) ReadSettingsText(defaults, s);
  }
  if (s.fontSize < 6) s.fontSize = 10;
  return status;
}

bool SaveSettingsFile(const Settings& s, const std::string& path, std::string* error) {
  return core::WriteFileAtomically(path, WriteSettingsText(s), error);
}

bool KeepDamagedSettingsFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::rename(path, path + kDamagedSuffix, ec);
  return !ec;
}
