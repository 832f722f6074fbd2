#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <random>

#include "core/files.h"
#include "core/text.h"
#include "settings/settings.h"

namespace {
std::string Golden(const char* name) {
  std::string bytes;
  core::ReadFileBytes(std::string(VEROSTA_TEST_DATA) + "/settings/golden/" + name, bytes);
  return bytes;
}
// The default file the program folder ships.
std::string Shipped() {
  std::string bytes;
  core::ReadFileBytes(std::string(VEROSTA_SOURCE_DIR) + "/data/Verosta.ini", bytes);
  return bytes;
}
std::string ReadAllBytes(const std::string& path) {
  std::string bytes;
  core::ReadFileBytes(path, bytes);
  return bytes;
}
Settings Read(const std::string& text) {
  Settings s;
  ReadSettingsText(text, s);
  if (s.fontSize < 6) s.fontSize = 10;
  return s;
}

using S = Settings;
// Every number and text field of the record.
const std::vector<int S::*> kNumbers = {
    &S::windowWidth,     &S::windowHeight,       &S::maximizeWindow,  &S::fontSize,           &S::statusbarFile,
    &S::titlebarName,    &S::toolbarTips,        &S::editorsMargin,   &S::feedback,           &S::thinCursor,
    &S::blockCursor,     &S::lineNumbers,        &S::wrapText,        &S::lineMarkers,        &S::whiteSpace,
    &S::html5,           &S::htmlTransitional,   &S::htmlStrict,      &S::htmlFrameset,       &S::xhtmlTransitional,
    &S::xhtmlStrict,     &S::xhtmlFrameset,      &S::blankPage,       &S::projectDirectories, &S::lastFile,
    &S::backupFile,      &S::deleteFile,         &S::recycleBin,      &S::existingFile,       &S::saveOnExit,
    &S::webFiles,        &S::bakFiles,           &S::htmlFiles,       &S::xhtmlFiles,         &S::cssFiles,
    &S::jsFiles,         &S::javaFiles,          &S::plainFiles,      &S::wordFiles,          &S::allFiles,
    &S::checkExplorer,   &S::checkFirefox,       &S::checkSafari,     &S::checkChrome,        &S::checkOpera,
    &S::colorMainText,   &S::colorComment,       &S::colorOperator,   &S::colorDoctype,       &S::colorStrings,
    &S::colorNumbers,    &S::colorKeywords,      &S::colorBackground, &S::colorCursor,        &S::colorGutter,
    &S::colorSetNumbers, &S::colorSpace,         &S::printerDialog,   &S::printNumbers,       &S::printFileName,
    &S::ukPaperSize,     &S::usPaperSize,        &S::findCase,        &S::findWordWrap,       &S::findHighlight,
    &S::remComment,      &S::apostropheComment,  &S::centerTable,     &S::listDisc,           &S::listCircle,
    &S::listSquare,      &S::autoVideo,          &S::autoSound,       &S::lowercaseUpload,    &S::syntaxHighlighting,
    &S::headerStyle,     &S::listStyle,          &S::linkStyle,       &S::emailStyle,         &S::formStyle,
    &S::imageStyle,      &S::rolloverImageStyle, &S::imageLinkStyle,  &S::imageGalleryStyle};
// Keys read without the space before the number: their negative values come back.
const std::vector<int S::*> kTightNumbers = {&S::titlebarName, &S::toolbarTips, &S::editorsMargin, &S::feedback,
                                             &S::recycleBin};
const std::vector<std::string S::*> kTexts = {
    &S::fontName,        &S::tabIndent,       &S::explorerPath,   &S::firefoxPath,       &S::safariPath,
    &S::chromePath,      &S::operaPath,       &S::textEditorPath, &S::libraryEditorPath, &S::styleEditorPath,
    &S::imageEditorPath, &S::soundEditorPath, &S::tableRows,      &S::tableColumns,      &S::cellWidth,
    &S::cellHeight,      &S::textAlign,       &S::cellColor,      &S::textColor,         &S::borderColor,
    &S::tablePadding,    &S::formAction,      &S::formName,       &S::formEmail,         &S::formAddress,
    &S::formPost,        &S::formCountry,     &S::formComments,   &S::formSubmit,        &S::formClear};

std::string RandomText(std::mt19937& rng) {
  // Mostly ordinary characters, with line breaks, Ctrl+Z, key-like texts and UTF-8 mixed in.
  static const std::vector<std::string> pieces = {"a",
                                                  "Z",
                                                  " ",
                                                  "/",
                                                  "\\",
                                                  ".",
                                                  "-5",
                                                  "7",
                                                  "\r",
                                                  "\n",
                                                  "\r\n",
                                                  "\x1a",
                                                  "\t",
                                                  "Tab indent 999",
                                                  "File001 /etc/x",
                                                  "[Editor]",
                                                  "\xc3\xa9",
                                                  "\xe2\x82\xac",
                                                  "\xf0\x9f\x98\x80",
                                                  "\"",
                                                  "="};
  std::uniform_int_distribution<int> length(0, 12), pick(0, int(pieces.size()) - 1);
  std::string out;
  for (int n = length(rng); n > 0; --n) out += pieces[size_t(pick(rng))];
  return out;
}
}  // namespace

class SettingsFileTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyFileGivesCompleteDefaultFile() {
    QCOMPARE(WriteSettingsText(Read("")), Golden("default.ini"));
    QCOMPARE(WriteSettingsText(Read("[Verosta editor Configuration file]\r\n")), Golden("default.ini"));
  }

  void writtenFileReadsBackEqual() {
    Settings s = Read("");
    s.windowWidth = 812;
    s.titlebarName = 1;
    s.fontName = "Courier New";
    s.tabIndent = "3 ";
    s.sessionFiles[1] = "/home/ann/my site/index.web";
    s.sessionFiles[32] = "/x/y.css";
    s.colorBackground = 0xFFFFFF;
    s.formComments = " spaced ";
    s.imageGalleryStyle = 2;
    std::string text = WriteSettingsText(s);
    QCOMPARE(WriteSettingsText(Read(text)), text);
  }

  void readingRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("font size 3 is 10") << QByteArray("Font size 3\r\n") << "fontSize"
                                       << "10";
    QTest::newRow("font size 5 is 10") << QByteArray("Font size 5\r\n") << "fontSize"
                                       << "10";
    QTest::newRow("font size 6 stays") << QByteArray("Font size 6\r\n") << "fontSize"
                                       << "6";
    QTest::newRow("font size missing") << QByteArray("[Editor]\r\n") << "fontSize"
                                       << "10";
    QTest::newRow("negative titlebar read") << QByteArray("Titlebar name-1\r\n") << "titlebarName"
                                            << "-1";
    QTest::newRow("negative maximize ignored") << QByteArray("Maximize window-1\r\n") << "maximizeWindow"
                                               << "0";
    QTest::newRow("equals sign ignored") << QByteArray("Window width=5\r\n") << "windowWidth"
                                         << "0";
    QTest::newRow("key case matters") << QByteArray("window width 5\r\n") << "windowWidth"
                                      << "0";
    QTest::newRow("last line wins") << QByteArray("Window width 5\r\n[Print]\r\nWindow width 7\r\n") << "windowWidth"
                                    << "7";
    QTest::newRow("any section") << QByteArray("[Find]\r\nFeedback 1\r\n") << "feedback"
                                 << "1";
    QTest::newRow("tight key no space") << QByteArray("Feedback1\r\n") << "feedback"
                                        << "1";
    QTest::newRow("fraction rounds") << QByteArray("Window height 2.6\r\n") << "windowHeight"
                                     << "3";
    QTest::newRow("not a number") << QByteArray("Window height abc\r\n") << "windowHeight"
                                  << "0";
    QTest::newRow("tab indent keeps space") << QByteArray("Tab indent 4 \r\n") << "tabIndent"
                                            << "4 ";
    QTest::newRow("font name verbatim") << QByteArray("Font name  Courier New \r\n") << "fontName"
                                        << " Courier New ";
    QTest::newRow("session spaces trimmed") << QByteArray("File003    /a/my file.web   \r\n") << "session3"
                                            << "/a/my file.web";
    QTest::newRow("session skips one char") << QByteArray("File004X/a.web\r\n") << "session4"
                                            << "/a.web";
    QTest::newRow("session 32") << QByteArray("File032 /z.web\r\n") << "session32"
                                << "/z.web";
    QTest::newRow("lf line ends") << QByteArray("Window width 5\nWindow height 6\n") << "windowHeight"
                                  << "6";
    QTest::newRow("lone cr line ends") << QByteArray("Window width 5\rWindow height 6\r") << "windowHeight"
                                       << "6";
    QTest::newRow("ctrl-z ends file") << QByteArray("Window width 5\r\n\x1aWindow width 9\r\n") << "windowWidth"
                                      << "5";
    QTest::newRow("nul inside line") << QByteArray("Window width 5\0\r\nWindow height 4\r\n", 33) << "windowHeight"
                                     << "4";
  }
  void readingRules() {
    QFETCH(QByteArray, file);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    Settings s = Read(std::string(file.constData(), file.size()));
    QString got;
    if (field == "fontSize") got = QString::number(s.fontSize);
    else if (field == "titlebarName") got = QString::number(s.titlebarName);
    else if (field == "maximizeWindow") got = QString::number(s.maximizeWindow);
    else if (field == "windowWidth") got = QString::number(s.windowWidth);
    else if (field == "windowHeight") got = QString::number(s.windowHeight);
    else if (field == "feedback") got = QString::number(s.feedback);
    else if (field == "tabIndent") got = QString::fromStdString(s.tabIndent);
    else if (field == "fontName") got = QString::fromStdString(s.fontName);
    else if (field.startsWith("session")) got = QString::fromStdString(s.sessionFiles[field.mid(7).toInt()]);
    QCOMPARE(got, expected);
  }

  void loadingNeverClearsAField() {
    Settings s;
    s.windowWidth = 640;
    s.fontName = "Verdana";
    ReadSettingsText("Window height 5\r\n", s);
    QCOMPARE(s.windowWidth, 640);
    QCOMPARE(s.fontName, std::string("Verdana"));
  }

  void oddFilesLoadWithoutCrash() {
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary.push_back(static_cast<char>((i * 37) % 256));
    Settings s = Read(binary);
    QCOMPARE(s.fontSize, 10);
    Settings t = Read(std::string(100000, 'W') + "\r\nFont size 12");
    QCOMPARE(t.fontSize, 12);
    Settings u = Read("Font size");  // truncated: a key without its space matches nothing
    QCOMPARE(u.fontSize, 10);
  }

  void saveReplacesFileWholeAndKeepsOldOnFailure() {
    QTemporaryDir dir;
    std::string path = dir.filePath("Verosta.ini").toStdString();
    Settings s = Read("");
    QVERIFY(SaveSettingsFile(s, path));
    std::string bytes;
    QVERIFY(core::ReadFileBytes(path, bytes));
    QCOMPARE(bytes, Golden("default.ini"));
    // A path in a folder that does not exist cannot be written: nothing changes, no crash.
    QVERIFY(!SaveSettingsFile(s, dir.filePath("missing/Verosta.ini").toStdString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }

  // Random records written and read back: each field returns as written, cut at its first
  // line break; a text can never set another key. Negative numbers follow the file's rule
  // ("Window width-5" does not match "Window width "), so those fields keep their value.
  void randomRecordsRoundTrip() {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> number(-100000, 100000), small(-3, 3), coin(0, 3);
    for (int round = 0; round < 400; ++round) {
      Settings s;
      for (auto m : kNumbers) s.*m = coin(rng) ? number(rng) : small(rng);
      for (auto m : kTexts) s.*m = RandomText(rng);
      for (int n = 1; n <= 32; ++n) s.sessionFiles[n] = RandomText(rng);
      const std::string written = WriteSettingsText(s);
      Settings back;
      ReadSettingsText(written, back);
      const QByteArray where = "round " + QByteArray::number(round);
      for (auto m : kNumbers) {
        bool tight = std::find(kTightNumbers.begin(), kTightNumbers.end(), m) != kTightNumbers.end();
        int want = s.*m < 0 && !tight ? 0 : s.*m;
        if (m == &S::fontSize && s.*m >= 0 && want < 5) want = 10;
        QVERIFY2(back.*m == want,
                 where + " number " + QByteArray::number(s.*m) + " came back " + QByteArray::number(back.*m));
      }
      for (auto m : kTexts)
        QVERIFY2(back.*m == core::LineValue(s.*m), where + " text " + QByteArray::fromStdString(s.*m));
      for (int n = 1; n <= 32; ++n)
        QVERIFY2(back.sessionFiles[n] == core::Trim(core::LineValue(s.sessionFiles[n])), where);
      QVERIFY2(!SettingsTextDamaged(written), where);
      // The file has exactly its own lines: the layout of a record without any text.
      QCOMPARE(core::SplitLines(written).size(), core::SplitLines(WriteSettingsText(Settings{})).size());
    }
  }

  // Damaged: what a crash, a full disk or a stray program leaves. Not damaged: what an older
  // version or a person may write.
  void damagedFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("damaged");
    const QByteArray whole = QByteArray::fromStdString(Shipped());
    const qsizetype colours = whole.indexOf("[System colors]");
    QByteArray older = whole;
    older.replace("[Syntax]\r\nSyntax highlighting 1\r\n\r\n", "");
    QByteArray word = whole;
    word.replace("Background 16777215", "Background white");
    QByteArray negative = whole;
    negative.replace("Image gallery style 0", "Image gallery style-1");
    QTest::newRow("whole") << whole << false;
    QTest::newRow("older, without a key added later") << older << false;
    QTest::newRow("written by hand, no header") << QByteArray("Titlebar name 1\r\nFile001 /a.web\r\n") << false;
    QTest::newRow("negative last value") << negative << false;
    QTest::newRow("cut at a line end") << whole.left(colours) << true;
    QTest::newRow("cut inside a line") << whole.left(colours + 20) << true;
    QTest::newRow("cut in the last value") << whole.left(whole.size() - 3) << true;
    QTest::newRow("header only") << QByteArray("[Verosta editor Configuration file]\r\n") << true;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("zero-filled") << QByteArray(4096, '\0') << true;
    QTest::newRow("foreign text") << QByteArray("<html><body>hello</body></html>\n") << true;
    QTest::newRow("a colour that is no number") << word << true;
  }
  void damagedFiles() {
    QFETCH(QByteArray, file);
    QFETCH(bool, damaged);
    QCOMPARE(SettingsTextDamaged(file.toStdString()), damaged);
  }

  // Keys a file lacks or cannot give take the shipped value, never black on black.
  void loadTakesShippedValuesForWhatTheFileLacks() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Verosta.ini").toStdString(), defaults = dir.filePath("d.ini").toStdString();
    const std::string shipped = Shipped();
    QVERIFY(core::WriteFileAtomically(defaults, shipped));
    std::string cut = shipped.substr(0, shipped.find("[System colors]") + 20);
    cut = core::ReplaceAll(cut, "Font size 10", "Font size 14");
    struct Case {
      std::string file;
      SettingsFileStatus status;
    };
    std::string word = shipped;
    word = core::ReplaceAll(core::ReplaceAll(word, "Main text 0", "Main text black"), "Background 16777215",
                            "Background 255");
    for (const Case& c : {Case{cut, SettingsFileStatus::Damaged}, Case{word, SettingsFileStatus::Damaged}}) {
      QVERIFY(core::WriteFileAtomically(path, c.file));
      Settings s;
      s.colorMainText = 0x123456;  // what memory held must not survive a damaged file
      QCOMPARE(int(LoadSettingsFile(s, path, defaults)), int(c.status));
      QCOMPARE(s.colorMainText, 0);
      QVERIFY(s.colorBackground != s.colorMainText);
      QVERIFY(s.colorBackground == 16777215 || s.colorBackground == 255);
      QCOMPARE(s.tableRows, std::string("2"));
    }
    Settings s;
    QVERIFY(core::WriteFileAtomically(path, cut));
    LoadSettingsFile(s, path, defaults);
    QCOMPARE(s.fontSize, 14);  // what the file still holds is kept

    // Kept aside under its own name, replacing an older copy.
    QVERIFY(core::WriteFileAtomically(path + ".damaged", "old"));
    QVERIFY(KeepDamagedSettingsFile(path));
    QVERIFY(!core::FileExists(path));
    QCOMPARE(ReadAllBytes(path + ".damaged"), cut);

    // A name that is there but cannot be read is no first start.
    QVERIFY(QDir().mkpath(QString::fromStdString(path)));
    Settings t;
    QCOMPARE(int(LoadSettingsFile(t, path, defaults)), int(SettingsFileStatus::Damaged));
    QCOMPARE(t.colorBackground, 16777215);
    Settings u;
    QCOMPARE(int(LoadSettingsFile(u, dir.filePath("none.ini").toStdString(), defaults)),
             int(SettingsFileStatus::Missing));
    QCOMPARE(u.colorBackground, 0);
  }

  void missingFileKeepsDefaults() {
    Settings s;
    LoadSettingsFile(s, "/nonexistent/Verosta.ini");
    QCOMPARE(s.fontSize, 10);
    QCOMPARE(s.titlebarName, 0);
  }
};

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
