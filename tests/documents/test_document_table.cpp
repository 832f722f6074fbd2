// The document table: the tab limit, duplicates, closing and the unsaved-changes questions.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

std::vector<std::string> TabTexts(App& app) {
  std::vector<std::string> r;
  QTabWidget* tabs = TabStrip(app);
  for (int i = 0; i < tabs->count(); ++i) r.push_back(tabs->tabText(i).toStdString());
  return r;
}

std::string Open(EditorFixture& f, const std::string& name, const std::string& bytes) {
  f.WriteFile(name, bytes);
  std::string path = f.Path(name);
  if (!OpenDocumentTab(*f.app, path, path)) return std::string();
  return path;
}

// Replaces the start-up New.web tab (which has no file yet) by the given files.
void StartWith(EditorFixture& f, const std::vector<std::pair<std::string, std::string>>& files) {
  for (const auto& [name, bytes] : files) Open(f, name, bytes);
  ActivateTab(*f.app, 1);
  f.Key(4290);
}

std::vector<std::string> MessageTexts(const ScriptedPlatform& p) {
  std::vector<std::string> r;
  for (const auto& c : p.CallsOf("message")) r.push_back(c.text);
  return r;
}

}  // namespace

class TestDocumentTable : public QObject {
  Q_OBJECT

 private slots:
  void thirtyTwoTabsAtMost() {
    EditorFixture f;
    f.Start();
    QCOMPARE(DocumentCount(*f.app), 1);  // New.web
    for (int n = 2; n <= kMaxDocuments; ++n) QVERIFY(!Open(f, "f" + std::to_string(n) + ".web", "x").empty());
    QCOMPARE(DocumentCount(*f.app), 32);
    for (int s = 1; s <= kMaxDocuments; ++s) QCOMPARE(SlotOfTab(*f.app, s), s);
    QVERIFY(Open(f, "one-too-many.web", "x").empty());  // quietly, as Load Session does it
    QVERIFY(f.platform.calls.empty());

    // Opened by the user, a 33rd document gets a word.
    f.platform.AnswerOpen({f.Path("one-too-many.web")});
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(102);
    QCOMPARE(DocumentCount(*f.app), 32);
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].text, std::string(kTabsFullText));
    QCOMPARE(messages[0].icon, MsgIcon::Information);

    // New Program opens nothing more and writes nothing.
    f.platform.AnswerDialog([](QDialog& d) {
      d.findChild<QLineEdit*>("190")->setText("extra");
      d.findChild<QPushButton*>("300")->click();
      return d.result() == QDialog::Accepted;
    });
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(100);
    QCOMPARE(DocumentCount(*f.app), 32);
    QVERIFY(!core::FileExists(f.Path("extra.web")));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void sameFileOpensOnce_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("another");
    QTest::newRow("same") << "%1/page.web" << false;
    QTest::newRow("outer spaces") << "  %1/page.web " << false;
    QTest::newRow("through a link") << "%1/link.web" << false;
    QTest::newRow("dot folder") << "%1/./page.web" << false;
    // Letter case counts where the file system counts it, as here: another name, another file.
    QTest::newRow("upper case") << "%1/PAGE.WEB" << true;
  }
  void sameFileOpensOnce() {
    QFETCH(QString, variant);
    QFETCH(bool, another);
    EditorFixture f;
    f.Start();
    std::string path = Open(f, "page.web", "text");
    QVERIFY(!path.empty());
    QVERIFY(QFile::link("page.web", QString::fromStdString(f.Path("link.web"))));
    const std::string asked = variant.arg(QString::fromStdString(f.Folder())).toStdString();
    int tabs = DocumentCount(*f.app);
    QCOMPARE(OpenDocumentTab(*f.app, asked, asked), another);
    QCOMPARE(DocumentCount(*f.app), tabs + (another ? 1 : 0));
    QVERIFY(f.platform.calls.empty());
  }

  // `verosta A.web a.web`: two files, two tabs, and each edit goes to its own file.
  void letterCaseNamesTwoFiles() {
    EditorFixture f;
    f.Start();
    f.WriteFile("A.web", "upper");
    f.WriteFile("a.web", "lower");
    OpenCommandLineFiles(*f.app, {f.Path("A.web"), f.Path("a.web")});
    QCOMPARE(TabTexts(*f.app), (std::vector<std::string>{"New.web", "A.web", "a.web"}));
    ActivateTab(*f.app, 2);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("upper"));
    InsertTextAtCaret(*f.app, "edited ");
    f.Menu(105);
    ActivateTab(*f.app, 3);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("lower"));
    f.Key(4290);  // unchanged: closes without a question
    QCOMPARE(f.ReadFile("A.web"), std::string("edited upper"));
    QCOMPARE(f.ReadFile("a.web"), std::string("lower"));
    QCOMPARE(TabTexts(*f.app), (std::vector<std::string>{"New.web", "A.web"}));
    QVERIFY(f.platform.calls.empty());
  }

  void storedPathKeepsTheLeadingSlash() {
    EditorFixture f;
    f.Start();
    std::string path = Open(f, "a b/page.web", "x");
    QCOMPARE(f.app->docs[2].path, path);
    QVERIFY(core::IsAbsolutePath(f.app->docs[2].path));
    QCOMPARE(f.app->docs[2].tabName, std::string("page.web"));
  }

  void closingPacksTheSlots() {
    EditorFixture f;
    f.Start();
    Open(f, "a.web", "a");
    Open(f, "b.web", "b");
    Open(f, "c.web", "c");
    ActivateTab(*f.app, 3);  // b.web
    f.Menu(123);
    QCOMPARE(TabTexts(*f.app), (std::vector<std::string>{"New.web", "a.web", "c.web"}));
    QCOMPARE(f.app->docs[3].tabName, std::string("c.web"));
    QVERIFY(!f.app->docs[4].page);
    QCOMPARE(f.app->activeSlot, 3);
    QCOMPARE(f.app->activeEditor, f.app->docs[3].editor);
    QCOMPARE(TabStrip(*f.app)->currentIndex(), 2);
    QCOMPARE(f.app->currentPath, f.Path("c.web"));
  }

  void closingTheLastTabLeavesUntitled() {
    EditorFixture f;
    f.Start();
    f.Key(4290);
    QCOMPARE(DocumentCount(*f.app), 1);
    QCOMPARE(TabTexts(*f.app), std::vector<std::string>{"Untitled.web"});
    QCOMPARE(f.app->docs[1].path, std::string());
    QVERIFY(f.app->activeEditor);
    QVERIFY(f.platform.CallsOf("message").empty());

    // Save on it is Save As, starting from the tab's name.
    f.platform.AnswerSave("");
    f.Menu(105);
    auto saves = f.platform.CallsOf("save");
    QCOMPARE(saves.size(), size_t(1));
    QCOMPARE(saves[0].fileDialog.startName, std::string("Untitled.web"));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  // answers: the question, then "close anyway?" (when asked); saveTo: the Save As answer.
  void closeQuestion_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("saveTo");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("fileAfter");
    QTest::newRow("unchanged: no question") << false << ""
                                            << "-" << true << "old";
    QTest::newRow("no: closes unsaved") << true << "N"
                                        << "-" << true << "old";
    QTest::newRow("yes, save as written") << true << "Y"
                                          << "page.web" << true << "new old";
    QTest::newRow("yes, cancelled, keep it") << true << "YN"
                                             << "" << false << "old";
    QTest::newRow("yes, cancelled, close anyway") << true << "YY"
                                                  << "" << true << "old";
  }
  void closeQuestion() {
    QFETCH(bool, edit);
    QFETCH(QString, answers);
    QFETCH(QString, saveTo);
    QFETCH(bool, closed);
    QFETCH(QString, fileAfter);
    EditorFixture f;
    f.Start();
    Open(f, "page.web", "old");
    if (edit) InsertTextAtCaret(*f.app, "new ");
    for (int i = 0; i < answers.size(); ++i) {
      f.platform.AnswerMessage(answers[i] == 'Y' ? MsgAnswer::Yes : MsgAnswer::No);
      if (i == 0 && saveTo != "-") f.platform.AnswerSave(saveTo.isEmpty() ? "" : f.Path(saveTo.toStdString()));
    }
    f.Menu(123);
    QCOMPARE(DocumentCount(*f.app), closed ? 1 : 2);
    QCOMPARE(QString::fromStdString(f.ReadFile("page.web")), fileAfter);
    auto texts = MessageTexts(f.platform);
    QCOMPARE(int(texts.size()), answers.size());
    if (answers.size() > 0) QCOMPARE(texts[0], std::string(kNotSavedQuestion));
    if (answers.size() > 1) QCOMPARE(texts[1], std::string(kCloseAnywayQuestion));
    for (const auto& c : f.platform.CallsOf("message")) QCOMPARE(c.icon, MsgIcon::Question);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void closeQuestionSavesInPlaceAfterAnOpenDialog() {
    EditorFixture f;
    f.Start();
    std::string path = Open(f, "page.web", "old");
    f.app->previousPath = path;  // as left by a file dialog that chose this file
    InsertTextAtCaret(*f.app, "new ");
    f.platform.AnswerMessage(MsgAnswer::Yes);
    f.Menu(123);
    QCOMPARE(f.ReadFile("page.web"), std::string("new old"));
    QVERIFY(f.platform.CallsOf("save").empty());
    QCOMPARE(DocumentCount(*f.app), 1);
  }

  void failedSaveInCloseKeepsTheDocument() {
    EditorFixture f;
    f.Start();
    std::string path = Open(f, "gone/page.web", "old");
    f.app->previousPath = path;
    InsertTextAtCaret(*f.app, "new ");
    QDir(QString::fromStdString(f.Path("gone"))).removeRecursively();
    f.platform.AnswerMessage(MsgAnswer::Yes);  // save now?
    f.platform.AnswerMessage(MsgAnswer::Ok);   // the save warning
    f.platform.AnswerMessage(MsgAnswer::No);   // close anyway?
    f.Menu(123);
    QCOMPARE(DocumentCount(*f.app), 2);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("new old"));
    QCOMPARE(MessageTexts(f.platform)[1], std::string(kSaveFailedText));
  }

  void closeAll_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<int>("answer");  // 0 none asked, 1 yes, 2 no
    QTest::addColumn<QString>("fileAfter");
    QTest::newRow("nothing modified") << false << 0 << "a";
    QTest::newRow("no") << true << 2 << "a";
    QTest::newRow("yes saves first") << true << 1 << "xa";
  }
  void closeAll() {
    QFETCH(bool, edit);
    QFETCH(int, answer);
    QFETCH(QString, fileAfter);
    EditorFixture f;
    f.Start();
    StartWith(f, {{"a.web", "a"}, {"b.web", "b"}});
    QCOMPARE(TabTexts(*f.app), (std::vector<std::string>{"a.web", "b.web"}));
    ActivateTab(*f.app, 1);
    if (edit) InsertTextAtCaret(*f.app, "x");
    if (answer) f.platform.AnswerMessage(answer == 1 ? MsgAnswer::Yes : MsgAnswer::No);
    f.Menu(125);
    QCOMPARE(TabTexts(*f.app), std::vector<std::string>{"Untitled.web"});
    QCOMPARE(QString::fromStdString(f.ReadFile("a.web")), fileAfter);
    if (answer) QCOMPARE(f.platform.CallsOf("message")[0].text, std::string(kCloseAllQuestion));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void closeAllStopsWhenASaveIsCancelled() {
    EditorFixture f;
    QFile::remove(QString::fromStdString(f.Path("New.web")));
    f.Start();  // New.web has no file yet: Save All asks where to put it
    Open(f, "a.web", "a");
    f.platform.AnswerMessage(MsgAnswer::Yes);
    f.platform.AnswerSave("");
    f.Menu(125);
    QCOMPARE(DocumentCount(*f.app), 2);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void saveAllSavesEveryTabAndRestoresTheActiveOne() {
    EditorFixture f;
    QFile::remove(QString::fromStdString(f.Path("New.web")));
    f.Start();
    Open(f, "a.web", "a");
    InsertTextAtCaret(*f.app, "1");
    Open(f, "b.web", "b");
    InsertTextAtCaret(*f.app, "2");
    ActivateTab(*f.app, 2);
    f.platform.AnswerSave(f.Path("first.web"));  // New.web, never written
    f.Menu(117);
    QCOMPARE(f.ReadFile("a.web"), std::string("1a"));
    QCOMPARE(f.ReadFile("b.web"), std::string("2b"));
    QCOMPARE(f.ReadFile("first.web"), std::string());
    QVERIFY(core::FileExists(f.Path("first.web")));
    QCOMPARE(f.app->activeSlot, 2);
    QCOMPARE(TabStrip(*f.app)->currentIndex(), 1);
    QVERIFY(!AnyDocumentModified(*f.app));
  }

  void exitCheck_data() {
    QTest::addColumn<int>("saveOnExit");
    QTest::addColumn<int>("answer");  // 0 not asked, 1 yes, 2 no
    QTest::addColumn<QString>("fileAfter");
    QTest::newRow("save on exit") << 1 << 0 << "xa";
    QTest::newRow("asked, yes") << 0 << 1 << "xa";
    QTest::newRow("asked, no") << 0 << 2 << "a";
  }
  void exitCheck() {
    QFETCH(int, saveOnExit);
    QFETCH(int, answer);
    QFETCH(QString, fileAfter);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Save on exit " + std::to_string(saveOnExit) + "\r\n");
    f.Start();
    StartWith(f, {{"a.web", "a"}});
    std::string path = f.Path("a.web");
    InsertTextAtCaret(*f.app, "x");
    if (answer) f.platform.AnswerMessage(answer == 1 ? MsgAnswer::Yes : MsgAnswer::No);
    f.Close();
    QCOMPARE(QString::fromStdString(f.ReadFile("a.web")), fileAfter);
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(int(messages.size()), answer ? 1 : 0);
    if (answer) {
      QCOMPARE(messages[0].text,
               std::string("One or more documents have not been saved.\rDo you want to save them now?"));
      QCOMPARE(messages[0].buttons, MsgButtons::YesNo);
    }
    QVERIFY(f.ReadFile("Verosta.ini").find("File001 " + path + "\r\n") != std::string::npos);
  }

  void deleteFileMovesToTrash() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Recycle bin1\r\nDelete file 0\r\n");
    f.Start();
    QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Delete")), QString::fromStdString(f.Path("Delete"))));
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QByteArray::fromStdString(f.Path("home")));
    qunsetenv("XDG_DATA_HOME");
    f.WriteFile("site/old page.web", "bye");
    f.platform.AnswerOpen({f.Path("site/old page.web")});
    f.Menu(130);
    qputenv("HOME", oldHome);
    if (!oldData.isEmpty()) qputenv("XDG_DATA_HOME", oldData);
    auto opens = f.platform.CallsOf("open");
    QCOMPARE(opens[0].fileDialog.title, std::string("Delete File"));
    QCOMPARE(opens[0].fileDialog.defaultExtension, std::string("web"));
    QCOMPARE(opens[0].fileDialog.filters.size(), size_t(2));
    QCOMPARE(opens[0].fileDialog.filters[0].second, std::string("*.web"));
    QCOMPARE(f.ReadFile("delete.ini"), "File name " + f.Path("site/old page.web") + "\r\n");
    QVERIFY(!core::FileExists(f.Path("site/old page.web")));
    QCOMPARE(f.ReadFile("home/.local/share/Trash/files/old page.web"), std::string("bye"));
    QVERIFY(f.platform.CallsOf("message").empty());
  }

  void deleteFilePermanently_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("ok deletes") << true;
    QTest::newRow("cancel keeps") << false;
  }
  void deleteFilePermanently() {
    QFETCH(bool, ok);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Recycle bin0\r\nDelete file 1\r\n");
    f.Start();
    std::string path = Open(f, "x.web", "x");
    f.platform.AnswerOpen({path});
    f.platform.AnswerMessage(ok ? MsgAnswer::Ok : MsgAnswer::Cancel);
    QCOMPARE(DeleteFileWithDialog(*f.app, "Delete Form", "", {{"Form Files (*.form)", "*.form"}}, "", "web"), ok);
    auto m = f.platform.CallsOf("message");
    QCOMPARE(m[0].text, "Permanently delete file.\r" + path);
    QCOMPARE(m[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(m[0].icon, MsgIcon::Warning);
    QCOMPARE(core::FileExists(path), !ok);
    QCOMPARE(DocumentCount(*f.app), 2);  // the open document stays, now unsaved
    QCOMPARE(IsDocumentModified(*f.app, 2), ok);
    QVERIFY(f.platform.CallsOf("run").empty());
  }
};

QTEST_MAIN(TestDocumentTable)
#include "test_document_table.moc"
