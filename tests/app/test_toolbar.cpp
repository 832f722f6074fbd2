// The toolbar's buttons, tips and clicks; the status bar's parts on both refresh paths.
#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "app/shell.h"
#include "app/toolbar.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

using Sci = QsciScintillaBase;

namespace {

QAction* Button(App& app, ButtonId id) {
  return app.window->Toolbar()->findChild<QAction*>(QString::number(Number(id)));
}

std::string Part(App& app, int part) {
  auto* label = app.window->findChild<QLabel*>(QString("part%1").arg(part));
  return label ? label->text().toStdString() : std::string("<none>");
}

// What a hover over the button shows.
QString HoverTip(App& app, ButtonId id) {
  QToolTip::hideText();  // hides after a short fade
  if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return "<still showing>";
  QWidget* button = app.window->Toolbar()->widgetForAction(Button(app, id));
  QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(button, &event);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class TestToolbar : public QObject {
  Q_OBJECT

 private slots:
  void buttonsInOrder() {
    EditorFixture f;
    f.Start();
    QToolBar* bar = f.app->window->Toolbar();
    QCOMPARE(bar->objectName(), QString("500"));
    QStringList ids;
    for (QAction* a : bar->actions()) {
      ids << (a->isSeparator() ? QString("|") : a->objectName());
      if (!a->isSeparator()) QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }
    using B = ButtonId;
    QStringList expected;
    for (ButtonId id : {B::NewProgram,    B::NewProject,
                        B::Open,          B::InsertFile,
                        B::Close,         B::Save,
                        B::Print,         B::Undo,
                        B::Redo,          B::None,
                        B::Find,          B::Cut,
                        B::Copy,          B::Paste,
                        B::None,          B::Preferences,
                        B::EditorsFont,   B::SystemColors,
                        B::None,          B::CreateWebPage,
                        B::None,          B::ValidateWebPage,
                        B::SelectColor,   B::LibraryManager,
                        B::CommandPrompt, B::None,
                        B::HelpContents,  B::VisitWebSite,
                        B::About,         B::None})
      expected << (id == B::None ? QString("|") : QString::number(Number(id)));
    QCOMPARE(ids, expected);
  }

  void tipTexts() {
    EditorFixture f;
    f.app->settings.toolbarTips = 1;
    QStringList tips;
    for (ButtonId id : ToolbarLayout())
      if (id != ButtonId::None) tips << QString::fromStdString(ToolbarTip(*f.app, id));
    QCOMPARE(tips, QStringList({"New Program (Ctrl+N)",
                                "New Project (Ctrl+J)",
                                "Open Program (Ctrl+O)",
                                "Insert File",
                                "Close (Ctrl+Q)",
                                "Save Program (Ctrl+S)",
                                "Print Text (Ctrl+P)",
                                "Undo Text (Ctrl+Z)",
                                "Redo Text (Ctrl+Y)",
                                "Find Text (Ctrl+F)",
                                "Cut Selected Text (Ctrl+X)",
                                "Copy Selected Text (Ctrl+C)",
                                "Paste Text From Clipboard (Ctrl+V)",
                                "Editor's Preferences",
                                "Editor's Font (Alt+N)",
                                "System Colors (Alt+X)",
                                "Create Web Page (Ctrl+R)",
                                "Validate Web Page (Alt+D)",
                                "Select Color (Alt+C)",
                                "Library Manager (Alt+M)",
                                "Command Prompt",
                                "Help Contents (Ctrl+F1)",
                                "Visit Our Website",
                                "About Verosta editor"}));
    f.app->settings.toolbarTips = 0;
    for (ButtonId id : ToolbarLayout()) QCOMPARE(ToolbarTip(*f.app, id), std::string());
  }

  void hoverFollowsSettingAtOnce() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.toolbarTips = 1;
    QCOMPARE(HoverTip(app, ButtonId::SelectColor), QString("Select Color (Alt+C)"));
    app.settings.toolbarTips = 0;
    QCOMPARE(HoverTip(app, ButtonId::SelectColor), QString());
    app.settings.toolbarTips = 1;
    QCOMPARE(HoverTip(app, ButtonId::NewProgram), QString("New Program (Ctrl+N)"));
  }

  void selectColor() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.feedback = 1;
    SetEditorText(app.activeEditor, "color: ;");
    Send(app, Sci::SCI_GOTOPOS, 7);
    f.platform.AnswerColor(Rgb(255, 128, 0));
    Button(app, ButtonId::SelectColor)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string("color: #FF8000;"));
    QCOMPARE(Send(app, Sci::SCI_GETCURRENTPOS), intptr_t(7));
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    f.platform.AnswerColor(Rgb(1, 2, 3), false);  // cancelled
    Button(app, ButtonId::SelectColor)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string("color: #FF8000;"));
    QVERIFY(f.platform.Done());
  }

  void clicksRunTheirCommands() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    SetEditorText(app.activeEditor, "");
    Send(app, Sci::SCI_EMPTYUNDOBUFFER);
    InsertTextAtCaret(app, "abc");
    Button(app, ButtonId::Undo)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string());
    Button(app, ButtonId::Redo)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string("abc"));
    Send(app, Sci::SCI_SETSEL, 0, 2);
    Button(app, ButtonId::Copy)->trigger();
    QCOMPARE(f.platform.clipboard, std::string("ab"));
    Button(app, ButtonId::Cut)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string("c"));
    Button(app, ButtonId::Paste)->trigger();
    QCOMPARE(EditorText(app.activeEditor), std::string("abc"));
    Button(app, ButtonId::ValidateWebPage)->trigger();
    auto opened = f.platform.CallsOf("shell");
    QCOMPARE(opened.size(), size_t(1));
    QVERIFY(opened[0].text.find("validator.w3.org") != std::string::npos);
  }

  void statusBarOnEmptyDocument() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.statusbarFile = 1;
    QVERIFY(OpenDocumentTab(app, "", "Untitled.web"));
    RefreshStatusBar(app);
    QCOMPARE(Part(app, 3), std::string(" Line 1 of 1"));
    QCOMPARE(Part(app, 4), std::string());
    QCOMPARE(Part(app, 2), std::string());
    QCOMPARE(Part(app, 1), std::string());
    QCOMPARE(app.window->findChild<QStatusBar*>("7500")->objectName(), QString("7500"));
  }

  void statusBarPathPart_data() {
    QTest::addColumn<int>("statusbarFile");
    QTest::newRow("on") << 1;
    QTest::newRow("off") << 0;
  }
  void statusBarPathPart() {
    QFETCH(int, statusbarFile);
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    app.settings.statusbarFile = statusbarFile;
    f.WriteFile("page.web", "a\nb\nc");
    QVERIFY(OpenDocumentTab(app, f.Path("page.web"), f.Path("page.web")));
    RefreshStatusBar(app);
    std::string expected = statusbarFile ? " Program name: " + f.Path("page.web") : std::string();
    QCOMPARE(Part(app, 4), expected);
    // After a settings write part 2 names the path until the next refresh.
    SaveSettings(app);
    QCOMPARE(Part(app, 2), statusbarFile ? "Program Name: " + f.Path("page.web") : std::string());
    RefreshStatusBar(app);
    QCOMPARE(Part(app, 2), std::string());
  }

  void editorPathFollowsTheCaret() {
    EditorFixture f;
    f.Start();
    App& app = *f.app;
    SetEditorText(app.activeEditor, "a\nb\nc\nd");
    RefreshStatusBar(app);
    QCOMPARE(Part(app, 3), std::string(" Line 1 of 4"));
    // No command runs: the editor's own notification updates the part.
    Send(app, Sci::SCI_GOTOPOS, 5);
    QTRY_COMPARE(Part(app, 3), std::string(" Line 3 of 4"));
    Send(app, Sci::SCI_INSERTTEXT, 0, reinterpret_cast<intptr_t>("x\ny\n"));
    QTRY_COMPARE(Part(app, 3), std::string(" Line 5 of 6"));
  }
};

QTEST_MAIN(TestToolbar)
#include "test_toolbar.moc"
