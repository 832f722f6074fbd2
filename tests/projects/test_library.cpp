// The fragment library: include by name (Ctrl+L) and the Library Manager.
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintillabase.h>

#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"
#include "projects/library.h"
#include "support/fixture.h"

namespace {

const char kNotFound[] = "File not found.\rPlease make sure the correct library file name is used.";

void StartWithDocument(EditorFixture& f) {
  f.WriteFile("doc.web", "");
  f.app->settings.lastFile = 1;
  f.app->settings.sessionFiles[1] = f.Path("doc.web");
  f.Start();
}

QPlainTextEdit* Box(QDialog& d, int id) { return d.findChild<QPlainTextEdit*>(QString::number(id)); }
void Click(QDialog& d, int id) { d.findChild<QPushButton*>(QString::number(id))->click(); }

}  // namespace

class LibraryTest : public QObject {
  Q_OBJECT
 private slots:
  void nameFromLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("blanks around") << QByteArray(" menu ") << QByteArray("menu.lib");
    QTest::newRow("tabs around") << QByteArray("\tmenu\t") << QByteArray("menu.lib");
    QTest::newRow("as it stands") << QByteArray("menu.lib") << QByteArray("menu.lib");
    QTest::newRow("contains .lib") << QByteArray("menu.library") << QByteArray("menu.library");
    QTest::newRow("case-sensitive") << QByteArray("menu.LIB") << QByteArray("menu.LIB.lib");
    QTest::newRow("inner spaces kept") << QByteArray("my menu") << QByteArray("my menu.lib");
    QTest::newRow("cut at NUL") << QByteArray("menu\0tail", 9) << QByteArray("menu.lib");
    QTest::newRow("dots only") << QByteArray("..") << QByteArray("...lib");
    QTest::newRow("empty line") << QByteArray("") << QByteArray(".lib");
    QTest::newRow("parent folder") << QByteArray("../Verosta.ini") << QByteArray("");
    QTest::newRow("backslash") << QByteArray("..\\x.lib") << QByteArray("");
    QTest::newRow("absolute") << QByteArray("/etc/passwd") << QByteArray("");
  }
  void nameFromLine() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, name);
    QCOMPARE(QByteArray::fromStdString(LibraryNameFromLine(line.toStdString())), name);
  }

  void fileList() {
    EditorFixture f(false);
    for (const char* n : {"b.lib", "A.lib", "c.LIB", "d.txt", "e.lib.bak", ".lib"})
      f.WriteFile(std::string("Lib/") + n, "x");
    QDir().mkpath(QString::fromStdString(f.Path("Lib/folder.lib")));
    QCOMPARE(LibraryFileList(f.Path("Lib")), std::string("A.lib\r\nb.lib\r\nc.LIB"));
    QCOMPARE(LibraryFileList(f.Path("NoLibrary")), std::string());
  }

  void boxLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("crlf") << QByteArray("<ul>\r\n<li></li>\r\n</ul>\r\n");
    QTest::newRow("lf") << QByteArray("<ul>\n</ul>");
    QTest::newRow("cr") << QByteArray("a\rb\r");
    QTest::newRow("one line") << QByteArray("<br>");
  }
  void boxLineEnds() {
    QFETCH(QByteArray, bytes);
    std::string b = bytes.toStdString();
    QVERIFY(ToBoxText(b).find('\r') == std::string::npos);
    QCOMPARE(FromBoxText(ToBoxText(b), LineEndOf(b)), b);
  }

  // The fragment replaces the caret's line and is followed by the document's own line end.
  void includeByName_data() {
    QTest::addColumn<int>("eolMode");
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("CR document") << int(QsciScintillaBase::SC_EOL_CR) << QByteArray("\r");
    QTest::newRow("LF document") << int(QsciScintillaBase::SC_EOL_LF) << QByteArray("\n");
    QTest::newRow("CR LF document") << int(QsciScintillaBase::SC_EOL_CRLF) << QByteArray("\r\n");
  }
  void includeByName() {
    QFETCH(int, eolMode);
    QFETCH(QByteArray, eol);
    EditorFixture f;
    f.WriteFile("Library/menu.lib", "<ul>\n<li>x</li>\n</ul>");
    StartWithDocument(f);
    std::string e = eol.toStdString();
    Send(*f.app, QsciScintillaBase::SCI_SETEOLMODE, eolMode);
    SetEditorText(f.app->activeEditor, "one" + e + "  menu  " + e + "three");
    Send(*f.app, QsciScintillaBase::SCI_GOTOPOS, 6);
    f.platform.clipboard = "kept";
    f.Key(4027);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(EditorText(f.app->activeEditor), "one" + e + "<ul>\n<li>x</li>\n</ul>" + e + "three");
    QCOMPARE(f.platform.clipboard, std::string("kept"));
    QVERIFY(!core::FileExists(f.Path("1.tmp")));
    // One undo step takes the whole include back.
    Send(*f.app, QsciScintillaBase::SCI_UNDO);
    QCOMPARE(EditorText(f.app->activeEditor), "one" + e + "  menu  " + e + "three");
  }

  void includeOnLastLineAndOddNames_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("name.library") << QByteArray("menu.library") << QByteArray("menu.library");
    QTest::newRow("upper case LIB") << QByteArray("menu.LIB.lib") << QByteArray("menu.LIB");
    QTest::newRow("spaces in name") << QByteArray("my menu.lib") << QByteArray(" my menu");
  }
  void includeOnLastLineAndOddNames() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, line);
    EditorFixture f;
    f.WriteFile("Library/" + file.toStdString(), "FRAG");
    StartWithDocument(f);
    Send(*f.app, QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_LF);
    SetEditorText(f.app->activeEditor, "top\n" + line.toStdString());
    Send(*f.app, QsciScintillaBase::SCI_DOCUMENTEND);
    f.Key(4027);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(EditorText(f.app->activeEditor), std::string("top\nFRAG\n"));
  }

  void includeMissingFileShowsMessage_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("no such file") << QByteArray("nothing");
    QTest::newRow("upper case not added to") << QByteArray("menu.LIB");
    QTest::newRow("outside the library") << QByteArray("../outside.lib");
    QTest::newRow("empty line") << QByteArray("   ");
  }
  void includeMissingFileShowsMessage() {
    QFETCH(QByteArray, line);
    EditorFixture f;
    f.WriteFile("Library/menu.lib", "M");
    f.WriteFile("outside.lib", "secret");
    StartWithDocument(f);
    std::string text = "a\n" + line.toStdString() + "\nb";
    SetEditorText(f.app->activeEditor, text);
    Send(*f.app, QsciScintillaBase::SCI_GOTOLINE, 1);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4027);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto msg = f.platform.CallsOf("message").at(0);
    QCOMPARE(msg.text, std::string(kNotFound));
    QCOMPARE(msg.title, std::string("Verosta editor"));
    QCOMPARE(msg.icon, MsgIcon::Warning);
    QCOMPARE(EditorText(f.app->activeEditor), text);
  }

  void includeWithoutLibraryFolder() {
    EditorFixture f(false);
    StartWithDocument(f);
    SetEditorText(f.app->activeEditor, "menu");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4027);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(EditorText(f.app->activeEditor), std::string("menu"));
  }

  void managerOpensFreshWithTheList() {
    EditorFixture f;
    QDir(QString::fromStdString(f.Path("Library"))).removeRecursively();
    f.WriteFile("Library/b.lib", "B");
    f.WriteFile("Library/a.lib", "A");
    f.app->settings.fontSize = 12;
    f.Start();
    for (int command : {934, 4011}) {
      std::string title, list, edit;
      int pointSize = 0;
      f.platform.AnswerDialog([&](QDialog& d) {
        title = d.windowTitle().toStdString();
        list = Box(d, kLibraryList)->toPlainText().toStdString();
        edit = Box(d, kLibraryEditor)->toPlainText().toStdString();
        pointSize = Box(d, kLibraryEditor)->font().pointSize();
        Box(d, kLibraryEditor)->setPlainText("typed, never saved");
        Click(d, kLibraryHelp);
        return true;
      });
      if (command == 934) f.Menu(command);
      else f.Key(command);
      QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
      QCOMPARE(title, std::string("Library Manager - New.lib"));
      QCOMPARE(list, std::string("a.lib\nb.lib"));
      QCOMPARE(edit, std::string());
      QCOMPARE(pointSize, 11);
    }
    QCOMPARE(f.platform.CallsOf("help").at(0).context, 47);
    QVERIFY(!core::FileExists(f.Path("Library/New.lib")));
  }

  void managerOpenAndSaveKeepBytes() {
    EditorFixture f;
    f.WriteFile("Library/menu.lib", "<ul>\r\n<li>one</li>\r\n</ul>\r\n");
    f.app->settings.feedback = 1;
    f.Start();
    std::string titleAfterOpen, editAfterOpen, titleAfterSave, listAfterSave;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, kLibraryOpen);
      titleAfterOpen = d.windowTitle().toStdString();
      editAfterOpen = Box(d, kLibraryEditor)->toPlainText().toStdString();
      Box(d, kLibraryEditor)->moveCursor(QTextCursor::End);
      Box(d, kLibraryEditor)->insertPlainText("<p>more</p>");
      Click(d, kLibrarySave);
      titleAfterSave = d.windowTitle().toStdString();
      listAfterSave = Box(d, kLibraryList)->toPlainText().toStdString();
      return false;
    });
    f.platform.AnswerOpen({f.Path("Library/menu.lib")});
    f.platform.AnswerSave(f.Path("Library/menu2.lib"));
    f.Menu(934);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(titleAfterOpen, std::string("Library Manager - menu.lib"));
    QCOMPARE(editAfterOpen, std::string("<ul>\n<li>one</li>\n</ul>\n"));
    QCOMPARE(f.ReadFile("Library/menu2.lib"), std::string("<ul>\r\n<li>one</li>\r\n</ul>\r\n<p>more</p>"));
    QCOMPARE(titleAfterSave, std::string("Library Manager - menu.lib"));
    QVERIFY(listAfterSave.find("menu2.lib") != std::string::npos);
    auto open = f.platform.CallsOf("open").at(0).fileDialog;
    QCOMPARE(open.title, std::string("Open Library File"));
    QCOMPARE(open.folder, std::string("Library"));
    QCOMPARE(open.defaultExtension, std::string("snp"));
    QCOMPARE(open.filters.at(0).first, std::string("Library Files (*.lib)"));
    auto save = f.platform.CallsOf("save").at(0).fileDialog;
    QCOMPARE(save.title, std::string("Save Library File"));
    QCOMPARE(save.defaultExtension, std::string("lib"));
    QVERIFY(!save.askOverwrite);
    QCOMPARE(f.platform.sounds.size(), size_t(2));
  }

  void managerCancelledDialogsChangeNothing() {
    EditorFixture f;
    f.Start();
    std::string title, edit;
    f.platform.AnswerDialog([&](QDialog& d) {
      Box(d, kLibraryEditor)->setPlainText("draft");
      Click(d, kLibraryOpen);
      Click(d, kLibrarySave);
      title = d.windowTitle().toStdString();
      edit = Box(d, kLibraryEditor)->toPlainText().toStdString();
      return true;
    });
    f.platform.AnswerOpen({f.Path("Library/none.lib")});
    f.platform.AnswerSave("");
    f.app->settings.existingFile = 1;
    f.Menu(934);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(title, std::string("Library Manager - New.lib"));
    QCOMPARE(edit, std::string("draft"));
    QVERIFY(f.platform.CallsOf("save").at(0).fileDialog.askOverwrite);
  }

  void managerDeleteRefreshesTheList() {
    EditorFixture f;
    f.WriteFile("Library/old.lib", "O");
    f.WriteFile("Library/kept.lib", "K");
    f.app->settings.feedback = 1;
    f.app->settings.deleteFile = 1;
    f.Start();
    std::string listBefore, listAfter;
    f.platform.AnswerDialog([&](QDialog& d) {
      listBefore = Box(d, kLibraryList)->toPlainText().toStdString();
      Click(d, kLibraryDelete);
      listAfter = Box(d, kLibraryList)->toPlainText().toStdString();
      return true;
    });
    f.platform.AnswerOpen({f.Path("Library/old.lib")});
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(934);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(!core::FileExists(f.Path("Library/old.lib")));
    QVERIFY(listBefore.find("old.lib") != std::string::npos);
    QVERIFY(listAfter.find("old.lib") == std::string::npos);
    QVERIFY(listAfter.find("kept.lib") != std::string::npos);
    auto fileDialog = f.platform.CallsOf("open").at(0).fileDialog;
    QCOMPARE(fileDialog.title, std::string("Delete Library File"));
    QCOMPARE(fileDialog.folder, std::string("Library"));
    QCOMPARE(fileDialog.defaultExtension, std::string("web"));
    QCOMPARE(fileDialog.filters.at(0).second, std::string("*.lib"));
    QCOMPARE(f.platform.sounds.size(), size_t(1));
  }

  void shippedFragmentsAreLibraryFiles() {
    std::string list = LibraryFileList(std::string(VEROSTA_SOURCE_DIR) + "/data/Library");
    QVERIFY(list.find("menu.lib") != std::string::npos);
    QVERIFY(list.find("scripts.lib") != std::string::npos);
  }
};

QTEST_MAIN(LibraryTest)
#include "test_library.moc"
