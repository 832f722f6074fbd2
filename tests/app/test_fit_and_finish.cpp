// What a user sees around the documents: title bar, focus in small dialogs, prompts.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "app/shell.h"
#include "app/toolbar.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"
#include "tools/web_page.h"

class TestFitAndFinish : public QObject {
  Q_OBJECT

 private slots:
  // A tab without a file still names the title bar.
  void titleNamesTabsWithoutAFile_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("title");
    QTest::newRow("start") << "start"
                           << "Verosta editor - New.web";
    QTest::newRow("close all") << "close all"
                               << "Verosta editor - Untitled.web";
    QTest::newRow("new template") << "template"
                                  << "Verosta editor - Page.web";
    QTest::newRow("saved file") << "file"
                                << "Verosta editor - about.web";
  }
  void titleNamesTabsWithoutAFile() {
    QFETCH(QString, step);
    QFETCH(QString, title);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Titlebar name 1\r\n");
    f.Start();
    if (step == "close all") f.Menu(Cmd::CloseAll);
    if (step == "template") {
      QVERIFY(OpenUntitledTab(*f.app, "Page.web", "<p>"));
      UpdateTitle(*f.app);
    }
    if (step == "file") {
      f.WriteFile("about.web", "x");
      QVERIFY(OpenDocumentTab(*f.app, f.Path("about.web"), f.Path("about.web")));
      UpdateTitle(*f.app);
    }
    QCOMPARE(f.app->window->windowTitle(), title);
  }

  // The changed-text marker on the tab and in the title follows typing, undo back to the
  // saved text, redo, save, and a second tab with its own state.
  void modifiedMarkerFollowsTheText() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Titlebar name 1\r\n");
    f.WriteFile("about.web", "x");
    f.WriteFile("other.web", "y");
    f.Start();
    QVERIFY(OpenDocumentTab(*f.app, f.Path("about.web"), f.Path("about.web")));
    const int about = f.app->activeSlot;
    auto shows = [&](bool tab, const char* title) {
      return TabShowsModified(*f.app, about) == tab && f.app->window->windowTitle() == QString(title);
    };
    QVERIFY(shows(false, "Verosta editor - about.web"));
    using Sci = QsciScintillaBase;
    Send(*f.app, Sci::SCI_ADDTEXT, 3, reinterpret_cast<intptr_t>("abc"));
    QVERIFY(shows(true, "*Verosta editor - about.web"));
    QCOMPARE(TabStrip(*f.app)->tabText(TabStrip(*f.app)->currentIndex()), QString("about.web"));
    Send(*f.app, Sci::SCI_UNDO);
    QVERIFY(shows(false, "Verosta editor - about.web"));
    Send(*f.app, Sci::SCI_REDO);
    QVERIFY(shows(true, "*Verosta editor - about.web"));

    QVERIFY(OpenDocumentTab(*f.app, f.Path("other.web"), f.Path("other.web")));
    QCOMPARE(f.app->window->windowTitle(), QString("Verosta editor - other.web"));
    QVERIFY(TabShowsModified(*f.app, about));
    ActivateTab(*f.app, TabStrip(*f.app)->indexOf(f.app->docs[about].page) + 1);
    QVERIFY(shows(true, "*Verosta editor - about.web"));
    QVERIFY(SaveActiveDocument(*f.app));
    QVERIFY(shows(false, "Verosta editor - about.web"));
    // A change the editor's history cannot show (a restored backup) is marked as well.
    MarkDocumentModified(*f.app, about);
    QVERIFY(shows(true, "*Verosta editor - about.web"));
  }

  void renameProgramFocusesTheNewName() {
    EditorFixture f;
    f.Start();
    QString focused;
    f.platform.AnswerDialog([&](QDialog& dlg) {
      dlg.show();
      (void)QTest::qWaitForWindowExposed(&dlg);
      if (QWidget* w = dlg.focusWidget()) focused = w->objectName();
      return false;
    });
    f.Menu(Cmd::RenameProgram);
    QCOMPARE(focused, QString("110"));
  }

  // Caret and margin boxes of Preferences show in the editor while the dialog is open.
  void preferencesShowCaretAndMarginAtOnce_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("message");
    QTest::addColumn<int>("shown");
    QTest::newRow("block caret") << 144 << int(QsciScintillaBase::SCI_GETCARETSTYLE) << 2;
    QTest::newRow("margin off") << 140 << int(QsciScintillaBase::SCI_GETMARGINLEFT) << 0;
  }
  void preferencesShowCaretAndMarginAtOnce() {
    QFETCH(int, box);
    QFETCH(int, message);
    QFETCH(int, shown);
    EditorFixture f;
    f.Start();
    f.app->settings.editorsMargin = 1;
    f.app->settings.thinCursor = 1;
    f.app->settings.blockCursor = 0;
    ApplyEditorStyle(*f.app);
    intptr_t during = -1;
    f.platform.AnswerDialog([&](QDialog& dlg) {
      auto* b = dlg.findChild<QAbstractButton*>(QString::number(box));
      if (!b) return false;
      b->click();
      during = Send(f.app->activeEditor, unsigned(message));
      return false;
    });
    f.Menu(Cmd::Preferences);
    QCOMPARE(int(during), shown);
  }

  // Publishing with lower-cased names saves the document under a new path: its tab,
  // the title and the status bar follow.
  void lowerCasedUploadShowsTheNewName() {
    EditorFixture f;
    f.Start();
    f.app->settings.titlebarName = 1;
    f.app->settings.statusbarFile = 1;
    f.app->settings.lowercaseUpload = 1;
    f.WriteFile("Site/About.web", "x");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("Site/About.web"), f.Path("Site/About.web")));
    f.platform.RunProgramsForReal(false);
    f.platform.AnswerRun(1, "");
    f.platform.AnswerMessage(MsgAnswer::Ok);  // the translator's outcome does not matter here
    CreateWebPage(*f.app);
    const std::string lowered = f.Path("Site/about.web");
    QCOMPARE(f.app->docs[f.app->activeSlot].path, lowered);
    QCOMPARE(TabStrip(*f.app)->tabText(TabStrip(*f.app)->currentIndex()), QString("about.web"));
    QCOMPARE(f.app->window->windowTitle(), QString("Verosta editor - about.web"));
    QCOMPARE(StatusBarPart(*f.app, 2), "Program Name: " + lowered);
  }

  // A larger font keeps the caret's line on screen.
  void fontSizeKeepsTheCaretLineInView() {
    EditorFixture f;
    f.Start();
    f.app->window->resize(700, 450);
    QCoreApplication::processEvents();
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetEditorText(f.app->activeEditor, text);
    f.app->settings.fontSize = 7;
    ApplyEditorStyle(*f.app);
    QCoreApplication::processEvents();
    using Sci = QsciScintillaBase;
    const intptr_t first = Send(*f.app, Sci::SCI_GETFIRSTVISIBLELINE);
    const intptr_t bottom = first + Send(*f.app, Sci::SCI_LINESONSCREEN) - 1;
    Send(*f.app, Sci::SCI_GOTOLINE, bottom);
    for (int i = 0; i < 7; ++i) f.Menu(Cmd::IncreaseFontSize);
    QCoreApplication::processEvents();
    QCOMPARE(f.app->settings.fontSize, 14);
    const intptr_t caretLine = Send(*f.app, Sci::SCI_LINEFROMPOSITION, Send(*f.app, Sci::SCI_GETCURRENTPOS));
    const intptr_t top = Send(*f.app, Sci::SCI_GETFIRSTVISIBLELINE);
    QVERIFY2(caretLine >= top && caretLine < top + Send(*f.app, Sci::SCI_LINESONSCREEN),
             qPrintable(
                 QString("caret %1, shown %2 + %3").arg(caretLine).arg(top).arg(Send(*f.app, Sci::SCI_LINESONSCREEN))));
  }
};

QTEST_MAIN(TestFitAndFinish)
#include "test_fit_and_finish.moc"
