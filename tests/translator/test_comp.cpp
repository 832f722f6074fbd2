// The Comp program: the hand-over files, its exit code and error line, and an
// end-to-end page made from what the editor's inserts write, checked by tidy.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "support/fixture.h"

namespace {

struct Run {
  int exitCode = -1;
  QString errors;  // standard error
};

class CompFolder {
 public:
  CompFolder() { QDir().mkpath(Q("site")); }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  QString Q(const std::string& name) const { return QString::fromStdString(Path(name)); }
  void Write(const std::string& name, const std::string& bytes) const { WriteAll(Path(name), bytes); }
  std::string Read(const std::string& name) const { return ReadAll(Path(name)); }
  bool Exists(const std::string& name) const { return QFileInfo::exists(Q(name)); }

  Run Comp(const QString& program = QString::fromStdString(BuiltProgram("Comp"))) const {
    QProcess p;
    p.setWorkingDirectory(dir_.path());
    p.start(program, {});
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
  }
  // Hands `program` over as the editor does and runs Comp.
  Run Translate(const std::string& name, const std::string& program) const {
    Write(name, program);
    Write("Cname.ini", "Name " + Path(name) + "\r\n");
    return Comp();
  }

 private:
  QTemporaryDir dir_;
};

// What the insert dialogs and menus put into a document, byte for byte.
std::string TableFragment() {
  std::string t = "<table style=\"margin: 0px auto; background-color: #FFFFCC; text-align: center;\">\r\n";
  int cell = 0;
  for (int row = 0; row < 2; ++row) {
    t += "<tr>\n\n";
    for (int c = 0; c < 3; ++c)
      t +=
          "<td style=\"padding: 4px; border: 1px solid #808080; width: 80px; height: 20px; color: #000000 ;\">\nCell " +
          std::to_string(++cell) + " </td>\n\n";
    t += "</tr>\n";
  }
  return t + "</table>";
}

std::string FormFragment() {
  std::string f =
      "<form method=\"post\" action=\"https://example.org/send\" style=\"font-family:arial ; font-size: 25px ;\">\n\n";
  const char* captions[] = {"Name:", "Email:", "Address:", "Zip/Post:", "Country:"};
  const char* names[] = {"Name", "Email", "Address", "code", "country"};
  for (int i = 0; i < 5; ++i)
    f += std::string("WriteText \"") + captions[i] + "\"\n<input type=\"text\" name=\"" + names[i] +
         "\" size=\"50px\"><br><br>\n\n";
  f += "WriteText \"Comments:\"\n<textarea name=\"Comments\" rows=\"8\" cols=\"37\"></textarea><br><br>\n\n";
  f += "<input type=\"submit\" name=\"submit\" value=\"Send\">\n<input type=\"reset\" value=\"Clear\">\n\n</form>";
  return f;
}

std::string GalleryFragment() {
  return "SetImageStyle (width: 170px; height: 150px;)\nViewGallery ()\n    ShowImage [0] = 'images/a.jpg'\n"
         "    ShowImage [1] = 'images/b.png'\nEndView ()";
}

std::string FormatLines(const std::string& textFile) {
  return "Rem made by the end-to-end test\n'and an apostrophe comment\n"
         "<h1 style=\"font-family:arial ; font-size: 25px ;\">Welcome</h1>\n"
         "BouncingText \"Bouncing <in>\"\nRainbowText \"Colours & more\"\nWriteText \"Plain\"\nLineBreak ()\n"
         "HorizontalRule ()\nScrollingText \"News\"\nShadowBoxStyle \"background: #eef\"\nShadowBoxText \"Boxed\"\n"
         "MirrorText \"Mirror\"\nShakingText \"Shake\"\n"
         "SetTextStyle (font-family:arial ; font-size: 14px ;)\nOpenText (" +
         textFile + ")\n";
}

}  // namespace

class TestComp : public QObject {
  Q_OBJECT
 private slots:
  void translatesHandedOverProgram();
  void failures_data();
  void failures();
  void warningsGoToStandardError();
  void outsideFilesAreRefused_data();
  void outsideFilesAreRefused();
  void emptyProgramMakesEmptyPage();
  void dataFoldersBesideTheProgram_data();
  void dataFoldersBesideTheProgram();
  void pageFromInsertsPassesTidy_data();
  void pageFromInsertsPassesTidy();
};

void TestComp::translatesHandedOverProgram() {
  CompFolder d;
  d.Write("Library/menu.lib", "WriteText \"menu\"\n");
  Run r = d.Translate("site/my page.web", "<html>\n#Include menu.lib\nRem gone\n</html>\n");
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(r.errors, QString());
  QCOMPARE(QByteArray::fromStdString(d.Read("Final.ini")),
           QByteArray("<html>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<p>menu</p>\n</html>\n"));
  QCOMPARE(QByteArray::fromStdString(d.Read("Cname.ini")),
           QByteArray::fromStdString("Name " + d.Path("site/my page.web") + "\r\n"));
}

void TestComp::failures_data() {
  QTest::addColumn<QString>("cname");  // "" = no Cname.ini; "PROGRAM" = hand over site/a.web
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("error");
  QTest::newRow("no Cname.ini") << ""
                                << ""
                                << "Cannot read Cname.ini: ";
  QTest::newRow("no Name line") << "name x\r\n"
                                << ""
                                << "Cname.ini holds no \"Name \" line with a program path";
  QTest::newRow("program missing") << "Name /nowhere/x.web\r\n"
                                   << ""
                                   << "Cannot read the program \"/nowhere/x.web\"";
  QTest::newRow("include missing") << "PROGRAM"
                                   << "<p>a</p>\n#Include nope.lib\n"
                                   << "DIR/site/a.web:2: error: #Include: cannot find \"nope.lib\"";
  QTest::newRow("include cycle") << "PROGRAM"
                                 << "#Include a.web\n"
                                 << "DIR/site/a.web:1: error: #Include cycle: a.web -> a.web";
  QTest::newRow("outside file and another error")
      << "PROGRAM"
      << "#Include /etc/passwd\n#Include nope.lib\n"
      << "DIR/site/a.web:1: error: #Include: \"/etc/passwd\" is outside the site folder and the Library folder\n"
         "DIR/site/a.web:2: error: #Include: cannot find \"nope.lib\"";
}

void TestComp::failures() {
  QFETCH(QString, cname);
  QFETCH(QString, program);
  QFETCH(QString, error);
  CompFolder d;
  d.Write("Final.ini", "stays as it was");
  if (cname == "PROGRAM") {
    d.Write("site/a.web", program.toStdString());
    d.Write("Cname.ini", "Name " + d.Path("site/a.web") + "\r\n");
  } else if (!cname.isEmpty()) {
    d.Write("Cname.ini", cname.toStdString());
  }
  Run r = d.Comp();
  QCOMPARE(r.exitCode, 1);
  error.replace("DIR/", QString::fromStdString(d.Path("")));
  QVERIFY2(r.errors.startsWith(error), qPrintable(r.errors));
  QCOMPARE(r.errors.count('\n'), error.count('\n') + 1);
  QCOMPARE(d.Read("Final.ini"), std::string("stays as it was"));
}

void TestComp::warningsGoToStandardError() {
  CompFolder d;
  Run r = d.Translate("site/a.web", "<p>x</p>\nWrteText \"x\"\n");
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(r.errors, QString::fromStdString(d.Path("site/a.web") +
                                            ":2: warning: \"WrteText\" is not a command; did you mean WriteText?\n"));
  QCOMPARE(d.Read("Final.ini"), std::string("<p>x</p>\nWrteText \"x\"\n"));
}

void TestComp::outsideFilesAreRefused_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("outside");
  QTest::newRow("include") << "#Include /etc/passwd\n"
                           << "/etc/passwd";
  QTest::newRow("text file") << "<p>a</p>\nOpenText (/etc/hostname)\n"
                             << "/etc/hostname";
  QTest::newRow("symbolic link") << "OpenText (link.txt)\n"
                                 << "/etc/hostname";
  QTest::newRow("dot-dot") << "OpenText (../private.txt)\n"
                           << "DIR/private.txt";
}

void TestComp::outsideFilesAreRefused() {
  QFETCH(QString, program);
  QFETCH(QString, outside);
  CompFolder d;
  QString dir = QDir(QString::fromStdString(d.Path(""))).canonicalPath() + "/";
  outside.replace("DIR/", dir);
  d.Write("private.txt", "private");
  QVERIFY(QFile::link("/etc/hostname", d.Q("site/link.txt")));
  Run r = d.Translate("site/a.web", program.toStdString());
  QCOMPARE(r.exitCode, 2);
  QStringList lines = r.errors.split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 2);
  QVERIFY2(lines[0].startsWith(QString::fromStdString(d.Path("site/a.web:"))) &&
               lines[0].endsWith(": error: " + QString(program.startsWith("#") ? "#Include" : "OpenText") + ": \"" +
                                 outside + "\" is outside the site folder and the Library folder"),
           qPrintable(lines[0]));
  QCOMPARE(lines[1], "outside: " + outside);
  QVERIFY(!d.Exists("Final.ini"));

  // The editor's second run names the file the user allowed.
  d.Write("Cname.ini", "Name " + d.Path("site/a.web") + "\r\nAllow " + outside.toStdString() + "\r\n");
  r = d.Comp();
  QCOMPARE(r.errors, QString());
  QCOMPARE(r.exitCode, 0);
  QVERIFY(d.Exists("Final.ini"));
}

// An installed copy keeps the shipped Library and JavaScript folders beside Comp only;
// the current folder's own folders come first.
void TestComp::dataFoldersBesideTheProgram_data() {
  QTest::addColumn<bool>("ownFolders");
  QTest::newRow("only beside the program") << false;
  QTest::newRow("the current folder's first") << true;
}

void TestComp::dataFoldersBesideTheProgram() {
  QFETCH(bool, ownFolders);
  QTemporaryDir installed;
  const QString comp = installed.filePath("Comp");
  QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), comp));
  WriteAll(installed.filePath("Library/menu.lib").toStdString(), "WriteText \"shipped menu\"\n");
  WriteAll(installed.filePath("JavaScript/Search.js").toStdString(), "function shippedSearch() {}\n");
  CompFolder d;
  if (ownFolders) {
    d.Write("Library/menu.lib", "WriteText \"my menu\"\n");
    d.Write("JavaScript/Search.js", "function mySearch() {}\n");
  }
  d.Write("site/a.web", "#Include menu.lib\nSearchButton ()\n");
  d.Write("Cname.ini", "Name " + d.Path("site/a.web") + "\r\n");
  Run r = d.Comp(comp);
  QCOMPARE(r.errors, QString());
  QCOMPARE(r.exitCode, 0);
  QString page = QString::fromStdString(d.Read("Final.ini"));
  QVERIFY2(page.contains(ownFolders ? "<p>my menu</p>" : "<p>shipped menu</p>"), qPrintable(page));
  QVERIFY2(page.contains(ownFolders ? "function mySearch() {}" : "function shippedSearch() {}"), qPrintable(page));
}

void TestComp::emptyProgramMakesEmptyPage() {
  CompFolder d;
  d.Write("Final.ini", "old");
  Run r = d.Translate("site/empty.web", "");
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(r.errors, QString());
  QVERIFY(d.Exists("Final.ini"));
  QCOMPARE(d.Read("Final.ini"), std::string());
}

void TestComp::pageFromInsertsPassesTidy_data() {
  QTest::addColumn<bool>("skeleton");
  QTest::newRow("inside an HTML5 page") << true;
  QTest::newRow("bare program") << false;
}

void TestComp::pageFromInsertsPassesTidy() {
  QFETCH(bool, skeleton);
  CompFolder d;
  d.Write("site/notes.txt", "First line\r\nSecond <line> & more\r\n");
  for (const char* picture : {"site/images/a.jpg", "site/images/b.png"}) d.Write(picture, "x");  // the gallery's
  std::string body =
      FormatLines(d.Path("site/notes.txt")) + TableFragment() + "\n" + FormFragment() + "\n" + GalleryFragment() + "\n";
  std::string program = skeleton ? "<!DOCTYPE HTML>\n<html>\n<head>\n<title>Test page</title>\n</head>\n<body>\n" +
                                       body + "</body>\n</html>\n"
                                 : body;
  Run r = d.Translate("site/index.web", program);
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(r.errors, QString());
  std::string page = d.Read("Final.ini");
  QVERIFY(page.find("WriteText") == std::string::npos);
  QVERIFY(page.find("made by the end-to-end test") == std::string::npos);
  QVERIFY(page.find("Second &lt;line&gt; &amp; more") != std::string::npos);
  QVERIFY(page.find(TableFragment()) != std::string::npos);  // HTML stays where it stood

  QString tidy = QStandardPaths::findExecutable("tidy");
  QVERIFY2(!tidy.isEmpty(), "tidy is missing: run scripts/install-deps");
  QProcess p;
  p.start(tidy, {"-errors", "-q", d.Q("Final.ini")});
  p.waitForFinished(-1);
  QByteArray report = p.readAllStandardError() + p.readAllStandardOutput();
  QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() < 2, report.constData());
  // The form fragment's size="50px" draws tidy warnings: it is the user's HTML and passes unchanged.
  QVERIFY2(!report.contains("Error:"), report.constData());
  for (const QByteArray& line : report.split('\n'))
    QVERIFY2(line.isEmpty() || line.contains("attribute \"size\" has invalid value \"50px\""), line.constData());
}

QTEST_GUILESS_MAIN(TestComp)
#include "test_comp.moc"
