// Insert File, Save Selected, Restore Backup, Rename Program and Program Information.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Sci = QsciScintillaBase;
Q_DECLARE_METATYPE(std::string)

namespace {

// Opens `name` (written with `bytes`) in a tab of its own and makes it active.
std::string OpenFile(EditorFixture& f, const std::string& name, const std::string& bytes) {
  f.WriteFile(name, bytes);
  std::string path = f.Path(name);
  OpenDocumentTab(*f.app, path, path);
  return path;
}

std::string Text(App& app) { return EditorText(app.activeEditor); }

std::string TabText(App& app) {
  QTabWidget* tabs = TabStrip(app);
  return tabs->tabText(tabs->currentIndex()).toStdString();
}

std::string Filters(const FileDialogSpec& fileDialog) {
  std::string s;
  for (const auto& [label, pattern] : fileDialog.filters) s += label + "=" + pattern + ";";
  return s;
}

const std::string kProgramFilters = "Program Files (*.web)=*.web;All Files (*.*)=*.*;";
const std::string kLibraryFilters = "Library Files (*.lib)=*.lib;All Files (*.*)=*.*;";
const std::string kDocumentFilters = "Document Files (*.txt)=*.txt;All Files (*.*)=*.*;";

// Fills the Rename dialog with each name in turn, pressing Ok after each.
void RenameWith(EditorFixture& f, std::vector<QString> names, QString* oldName = nullptr) {
  f.platform.AnswerDialog([names, oldName](QDialog& d) {
    if (oldName) *oldName = d.findChild<QLineEdit*>("100")->text();
    for (const QString& n : names) {
      d.findChild<QLineEdit*>("110")->setText(n);
      d.findChild<QPushButton*>("1")->click();
    }
    return d.result() == QDialog::Accepted;
  });
}

}  // namespace

class TestTextDocumentCommands : public QObject {
  Q_OBJECT

 private slots:
  void insertFile_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<std::string>("title");
    QTest::addColumn<std::string>("folder");
    QTest::addColumn<std::string>("filters");
    QTest::addColumn<std::string>("extension");
    QTest::newRow("program") << 113 << std::string("Insert Program File") << std::string("") << kProgramFilters
                             << std::string("web");
    QTest::newRow("library") << 114 << std::string("Insert Library File") << std::string("Library") << kLibraryFilters
                             << std::string("lib");
    QTest::newRow("document") << 116 << std::string("Insert Document File") << std::string("Doc") << kDocumentFilters
                              << std::string("txt");
  }
  void insertFile() {
    QFETCH(int, command);
    QFETCH(std::string, title);
    QFETCH(std::string, folder);
    QFETCH(std::string, filters);
    QFETCH(std::string, extension);
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    SetEditorText(app.activeEditor, "[]");
    Send(app, Sci::SCI_GOTOPOS, 1);
    f.WriteFile("piece.bin", std::string("ab\r\n\0cd", 7));
    f.platform.AnswerOpen({f.Path("piece.bin")});
    f.Menu(command);
    // The text up to the first NUL byte goes in; the caret stays in front of it.
    QCOMPARE(Text(app), std::string("[ab\r\n]"));
    QCOMPARE(Send(app, Sci::SCI_GETCURRENTPOS), intptr_t(1));
    auto asked = f.platform.CallsOf("open");
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].fileDialog.title, title);
    QCOMPARE(asked[0].fileDialog.folder, folder);
    QCOMPARE(Filters(asked[0].fileDialog), filters);
    QCOMPARE(asked[0].fileDialog.defaultExtension, extension);
    // Cancelled, or a file that is not there: nothing changes.
    f.platform.AnswerOpen({});
    f.Menu(command);
    f.platform.AnswerOpen({f.Path("missing.web")});
    f.Menu(command);
    QCOMPARE(Text(app), std::string("[ab\r\n]"));
    QVERIFY(f.platform.Done());
  }

  void saveSelected_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<std::string>("folder");
    QTest::addColumn<std::string>("filters");
    QTest::addColumn<std::string>("extension");
    QTest::newRow("program") << 112 << std::string("") << kProgramFilters << std::string("web");
    QTest::newRow("library") << 115 << std::string("Library") << kLibraryFilters << std::string("lib");
    QTest::newRow("document") << 118 << std::string("Doc") << kDocumentFilters << std::string("txt");
  }
  void saveSelected() {
    QFETCH(int, command);
    QFETCH(std::string, folder);
    QFETCH(std::string, filters);
    QFETCH(std::string, extension);
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.existingFile = 1;
    SetEditorText(app.activeEditor, "xabcx");
    Send(app, Sci::SCI_SETSEL, 1, 4);
    f.platform.AnswerSave(f.Path("part.out"));
    f.Menu(command);
    QCOMPARE(f.ReadFile("part.out"), std::string("abc"));  // exactly the selected bytes
    QCOMPARE(Text(app), std::string("xabcx"));
    auto asked = f.platform.CallsOf("save");
    QCOMPARE(asked[0].fileDialog.title, std::string("Save Selected"));
    QCOMPARE(asked[0].fileDialog.folder, folder);
    QCOMPARE(Filters(asked[0].fileDialog), filters);
    QCOMPARE(asked[0].fileDialog.defaultExtension, extension);
    QVERIFY(asked[0].fileDialog.askOverwrite);
    QVERIFY(f.platform.Done());
  }

  void saveSelectedIntoMissingFolderIsReported() {
    EditorFixture f;
    f.Start();
    SetEditorText(f.app->activeEditor, "abc");
    Send(*f.app, Sci::SCI_SETSEL, 0, 3);
    f.platform.AnswerSave(f.Path("no/such/folder/part.web"));
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(112);
    auto told = f.platform.CallsOf("message");
    QCOMPARE(told.size(), size_t(1));
    QCOMPARE(told[0].text,
             std::string("There was a problem saving this file. Please try saving in to another location."));
    QCOMPARE(told[0].icon, MsgIcon::Warning);
  }

  void restoreBackup() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.titlebarName = 1;
    std::string page = OpenFile(f, "page.web", "new text");
    f.WriteFile("page.bak", std::string("old\0text", 8));
    f.platform.AnswerOpen({f.Path("page.bak")});
    f.Menu(111);
    QCOMPARE(Text(app), std::string("old\0text", 8));
    QVERIFY(!Send(app, Sci::SCI_CANUNDO));
    // The restored text is not what page.web holds: the title marks it as changed.
    QCOMPARE(app.window->windowTitle(), QString("*Verosta editor - page.bak"));
    QCOMPARE(app.docs[app.activeSlot].path, page);
    QCOMPARE(f.ReadFile("page.web"), std::string("new text"));
    QVERIFY(IsDocumentModified(app, app.activeSlot));
    auto asked = f.platform.CallsOf("open");
    QCOMPARE(asked[0].fileDialog.title, std::string("Restore Backup"));
    QCOMPARE(Filters(asked[0].fileDialog), std::string("Backup Files (*.bak)=*.bak;All Files (*.*)=*.*;"));
    QCOMPARE(asked[0].fileDialog.defaultExtension, std::string("bak"));
    // Cancelled: the path the file commands work on is the document's own again.
    f.platform.AnswerOpen({});
    f.Menu(111);
    QCOMPARE(app.currentPath, page);
    QCOMPARE(Text(app), std::string("old\0text", 8));
    // Save writes the restored text to the document's own file.
    f.Menu(105);
    QCOMPARE(f.ReadFile("page.web"), std::string("old\0text", 8));
  }

  void renameProgram() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    std::string page = OpenFile(f, "page.web", "text");
    QString oldName;
    RenameWith(f, {"index"}, &oldName);
    f.Menu(132);
    QCOMPARE(oldName, QString("page.web"));
    QVERIFY(!core::FileExists(page));
    QVERIFY(core::FileExists(f.Path("index.web")));
    QCOMPARE(TabText(app), std::string("index.web"));
    QCOMPARE(app.window->windowTitle(), QString("Verosta editor - index.web"));
    QCOMPARE(core::FileNameOf(app.currentPath), std::string("index.web"));
    QCOMPARE(f.platform.CallsOf("dialog")[0].text, std::string("Rename Program"));
    QVERIFY(f.platform.Done());
  }

  void renameRefusesBadNames() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    std::string page = OpenFile(f, "page.web", "mine");
    f.WriteFile("taken.web", "other");
    RenameWith(f, {"taken", "", "   ", "sub/x", "..\\x", "my page"});
    for (int i = 0; i < 5; ++i) f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4009);
    std::vector<std::string> told;
    for (const auto& c : f.platform.CallsOf("message")) told.push_back(c.text);
    QCOMPARE(
        told,
        (std::vector<std::string>{
            "Program name: taken.web\rThis file already exists. Please enter a different file name.",
            "Please enter a name within the New name input field.",
            "Please enter a name within the New name input field.",
            "Program name: sub/x\rA program name cannot contain \"/\" or \"\\\". Please enter a different file name.",
            "Program name: ..\\x\rA program name cannot contain \"/\" or \"\\\". Please enter a different file name.",
        }));
    // The other file is untouched; the name with a space is taken in the end.
    QCOMPARE(f.ReadFile("taken.web"), std::string("other"));
    QVERIFY(core::FileExists(f.Path("my page.web")));
    QVERIFY(!core::FileExists(page));
    QCOMPARE(TabText(app), std::string("my page.web"));
    QVERIFY(f.platform.Done());
  }

  void programInfo() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    std::string path = OpenFile(f, "hello.web", "hello");
    SetEditorText(app.activeEditor, "hello world");  // saved first, then measured
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4046);
    QCOMPARE(f.ReadFile("hello.web"), std::string("hello world"));
    auto told = f.platform.CallsOf("message");
    QCOMPARE(told.size(), size_t(1));
    QCOMPARE(told[0].text, " File Name: \t hello.web\r File Size:\t\t 11 bytes\r Location: \t\t " +
                               core::FolderOf(path) + "\r Word count:\t 2");
    QCOMPARE(told[0].icon, MsgIcon::Information);
    QVERIFY(!core::FileExists(f.Path("Words.tmp")));
  }

  void programInfoWithoutFile() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    OpenDocumentTab(app, "", "Untitled.web");
    SetEditorText(app.activeEditor, "some words here");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(304);
    auto told = f.platform.CallsOf("message");
    QCOMPARE(told.size(), size_t(1));
    QCOMPARE(told[0].text, std::string("File not found.\rPlease load a program file into the editor."));
    QVERIFY(f.platform.Done());
  }
};

QTEST_MAIN(TestTextDocumentCommands)
#include "test_text_document_commands.moc"
