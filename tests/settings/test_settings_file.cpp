#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "core/files.h"
#include "settings/settings.h"

namespace {
std::string Golden(const char* name) {
  std::string bytes;
  core::ReadFileBytes(std::string(VEROSTA_TEST_DATA) + "/settings/golden/" + name, bytes);
  return bytes;
}
Settings Read(const std::string& text) {
  Settings s;
  ReadSettingsText(text, s);
  if (s.fontSize < 6) s.fontSize = 10;
  return s;
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
    QTest::newRow("font size 3 is 10") << QByteArray("Font size 3\r\n") << "fontSize" << "10";
    QTest::newRow("font size 5 is 10") << QByteArray("Font size 5\r\n") << "fontSize" << "10";
    QTest::newRow("font size 6 stays") << QByteArray("Font size 6\r\n") << "fontSize" << "6";
    QTest::newRow("font size missing") << QByteArray("[Editor]\r\n") << "fontSize" << "10";
    QTest::newRow("negative titlebar read") << QByteArray("Titlebar name-1\r\n") << "titlebarName" << "-1";
    QTest::newRow("negative maximize ignored") << QByteArray("Maximize window-1\r\n") << "maximizeWindow" << "0";
    QTest::newRow("equals sign ignored") << QByteArray("Window width=5\r\n") << "windowWidth" << "0";
    QTest::newRow("key case matters") << QByteArray("window width 5\r\n") << "windowWidth" << "0";
    QTest::newRow("last line wins") << QByteArray("Window width 5\r\n[Print]\r\nWindow width 7\r\n") << "windowWidth" << "7";
    QTest::newRow("any section") << QByteArray("[Find]\r\nFeedback 1\r\n") << "feedback" << "1";
    QTest::newRow("tight key no space") << QByteArray("Feedback1\r\n") << "feedback" << "1";
    QTest::newRow("fraction rounds") << QByteArray("Window height 2.6\r\n") << "windowHeight" << "3";
    QTest::newRow("not a number") << QByteArray("Window height abc\r\n") << "windowHeight" << "0";
    QTest::newRow("tab indent keeps space") << QByteArray("Tab indent 4 \r\n") << "tabIndent" << "4 ";
    QTest::newRow("font name verbatim") << QByteArray("Font name  Courier New \r\n") << "fontName" << " Courier New ";
    QTest::newRow("session spaces trimmed") << QByteArray("File003    /a/my file.web   \r\n") << "session3" << "/a/my file.web";
    QTest::newRow("session skips one char") << QByteArray("File004X/a.web\r\n") << "session4" << "/a.web";
    QTest::newRow("session 32") << QByteArray("File032 /z.web\r\n") << "session32" << "/z.web";
    QTest::newRow("lf line ends") << QByteArray("Window width 5\nWindow height 6\n") << "windowHeight" << "6";
    QTest::newRow("lone cr line ends") << QByteArray("Window width 5\rWindow height 6\r") << "windowHeight" << "6";
    QTest::newRow("ctrl-z ends file") << QByteArray("Window width 5\r\n\x1aWindow width 9\r\n") << "windowWidth" << "5";
    QTest::newRow("nul inside line") << QByteArray("Window width 5\0\r\nWindow height 4\r\n", 33) << "windowHeight" << "4";
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

  void missingFileKeepsDefaults() {
    Settings s;
    LoadSettingsFile(s, "/nonexistent/Verosta.ini");
    QCOMPARE(s.fontSize, 10);
    QCOMPARE(s.titlebarName, 0);
  }
};

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
