#include <QAction>
#include <QFile>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/main_window.h"
#include "app/menus.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include <Qsci/qsciscintilla.h>
#include "settings/settings.h"
#include "support/fixture.h"

namespace {
QStringList TabNames(App& app) {
  QStringList names;
  QTabWidget* tabs = app.window->Tabs();
  for (int i = 0; i < tabs->count(); ++i) names << tabs->tabText(i);
  return names;
}
}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void freshStartAndExit() {
    EditorFixture f;
    f.Start();
    MainWindow* w = f.app->window;
    QCOMPARE(w->size(), QSize(700, 450));
    QCOMPARE(w->windowTitle(), QString("Verosta editor."));
    QVERIFY(!w->isMaximized());
    QCOMPARE(TabNames(*f.app), QStringList{"New.web"});
    QVERIFY(w->findChild<QTabWidget*>("200"));
    QVERIFY(w->findChild<QToolBar*>("500"));
    QVERIFY(w->findChild<QStatusBar*>("7500"));
    QCOMPARE(f.app->settings.fontSize, 10);

    // The program folder's empty New.web is a saved document: leaving asks nothing.
    f.Close();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(f.platform.CallsOf("message").empty());

    std::string ini = f.ReadFile("Verosta.ini");
    QVERIFY(core::StartsWith(ini, "[Verosta editor Configuration file]\r\n\r\n[Editor]\r\n"));
    Settings back;
    ReadSettingsText(ini, back);
    QCOMPARE(back.windowWidth, w->frameGeometry().width());
    QCOMPARE(back.windowHeight, w->frameGeometry().height());
    QVERIFY(back.windowWidth >= 700);
    QCOMPARE(back.sessionFiles[1], f.Path("New.web"));
  }

  void exitAsksOnceAboutUnsavedDocuments() {
    EditorFixture f;
    QFile::remove(QString::fromStdString(f.Path("New.web")));
    f.WriteFile("a.web", "a");
    f.WriteFile("Verosta.ini", "Last file 1\r\nFile001 " + f.Path("a.web") + "\r\n");
    f.Start();
    OpenDocumentTab(*f.app, "", "Untitled.web");
    OpenDocumentTab(*f.app, "", "Other.web");
    MainWindow* w = f.app->window;
    // Documents without a file count as unsaved: one question, and No still writes the settings.
    f.platform.AnswerMessage(MsgAnswer::No);
    f.Close();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto asked = f.platform.CallsOf("message");
    QCOMPARE(int(asked.size()), 1);
    QCOMPARE(asked[0].text, std::string("One or more documents have not been saved.\rDo you want to save them now?"));
    QCOMPARE(asked[0].title, std::string("Verosta editor"));
    QVERIFY(asked[0].icon == MsgIcon::Question);
    QVERIFY(asked[0].buttons == MsgButtons::YesNo);

    std::string ini = f.ReadFile("Verosta.ini");
    QVERIFY(core::StartsWith(ini, "[Verosta editor Configuration file]\r\n\r\n[Editor]\r\n"));
    Settings back;
    ReadSettingsText(ini, back);
    QCOMPARE(back.windowWidth, w->frameGeometry().width());
    QCOMPARE(back.sessionFiles[2], std::string());
    QCOMPARE(back.sessionFiles[1], f.Path("a.web"));
  }

  void reopensLastSessionInOrder() {
    EditorFixture f;
    std::string ini = "Last file 1\r\nTitlebar name 1\r\n";
    for (int n = 1; n <= 32; ++n) {
      std::string name = "doc" + std::to_string(n) + ".web";
      f.WriteFile(name, "text " + std::to_string(n));
      char key[16];
      std::snprintf(key, sizeof key, "File%03d ", n);
      ini += key + f.Path(name) + "\r\n";
    }
    f.WriteFile("Verosta.ini", ini);
    f.Start();
    QStringList names = TabNames(*f.app);
    QCOMPARE(names.size(), 32);
    QCOMPARE(names.first(), QString("doc1.web"));
    QCOMPARE(names.last(), QString("doc32.web"));
    QVERIFY(!names.contains("New.web"));
  }

  void missingSessionFilesGiveNewWeb() {
    EditorFixture f;
    QFile::remove(QString::fromStdString(f.Path("New.web")));
    f.WriteFile("Verosta.ini", "Last file 1\r\nFile001 /nonexistent/a.web\r\nFile002  \r\n");
    f.Start();
    QCOMPARE(TabNames(*f.app), QStringList{"New.web"});
  }

  void sessionIgnoredWhenLastFileOff() {
    EditorFixture f;
    f.WriteFile("a.web", "x");
    f.WriteFile("Verosta.ini", "Last file 0\r\nFile001 " + f.Path("a.web") + "\r\n");
    f.Start();
    QCOMPARE(TabNames(*f.app), QStringList{"New.web"});
  }

  void maximisedAndTitleWithName() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Maximize window 1\r\nTitlebar name1\r\n");
    f.Start();
    QVERIFY(f.app->window->windowState() & Qt::WindowMaximized);
    QCOMPARE(f.app->window->windowTitle(), QString("Verosta editor - New.web"));
  }

  void publishFieldsFromFtpProjs() {
    EditorFixture f;
    f.WriteFile("FtpProjs.ini",
                "Program name first\r\nRemote folder /site\r\nDomain name example.org\nHost name ftp.example.org\r"
                "User id ann\r\nPassword  two words \r\nProgram name second\r\n");
    f.Start();
    const PublishFields& p = f.app->publish;
    QCOMPARE(p.programName, std::string("second"));
    QCOMPARE(p.remoteFolder, std::string("/site"));
    QCOMPARE(p.domainName, std::string("example.org"));
    QCOMPARE(p.hostName, std::string("ftp.example.org"));
    QCOMPARE(p.userId, std::string("ann"));
    QCOMPARE(p.password, std::string(" two words "));
  }

  void badConfigurationStartsWithDefaults() {
    EditorFixture f;
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk.push_back(static_cast<char>(i * 131));
    f.WriteFile("Verosta.ini", junk);
    f.WriteFile("FtpProjs.ini", junk);
    f.platform.AnswerMessage(MsgAnswer::Ok);  // the settings file is damaged
    f.Start();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.app->settings.fontSize, 10);
    QCOMPARE(TabNames(*f.app).size(), 1);
  }

  // A file cut short starts with the shipped values where it lacks them, says so once and is
  // kept as Verosta.ini.damaged when the settings are next written.
  void damagedSettingsKeepReadableColours() {
    EditorFixture f;
    const std::string shipped = ReadAll(std::string(VEROSTA_PROGRAM_DIR) + "/res/Verosta.ini");
    QVERIFY(shipped.find("[System colors]") != std::string::npos);
    f.WriteFile("res/Verosta.ini", shipped);
    const std::string cut = shipped.substr(0, shipped.find("[System colors]") + 20);
    f.WriteFile("Verosta.ini", cut);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Start();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto told = f.platform.CallsOf("message");
    QCOMPARE(int(told.size()), 1);
    QVERIFY(told[0].text.find(f.Path("Verosta.ini")) != std::string::npos);
    QVERIFY(told[0].text.find("Verosta.ini.damaged") != std::string::npos);
    QsciScintilla* editor = f.app->activeEditor;
    const intptr_t fore = Send(editor, QsciScintillaBase::SCI_STYLEGETFORE, QsciScintillaBase::STYLE_DEFAULT);
    const intptr_t back = Send(editor, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_DEFAULT);
    QVERIFY(fore != back);
    QCOMPARE(back, intptr_t(0xFFFFFF));
    QVERIFY(!core::FileExists(f.Path("Verosta.ini.damaged")));  // kept in place until a write

    SaveSettings(*f.app);
    SaveSettings(*f.app);
    f.Close();
    QCOMPARE(int(f.platform.CallsOf("message").size()), 1);
    QCOMPARE(f.ReadFile("Verosta.ini.damaged"), cut);
    QVERIFY(!SettingsTextDamaged(f.ReadFile("Verosta.ini")));
  }

  // A full disk (here: a folder in the file's place) is reported at the first failed write only.
  void failedSettingsWriteIsToldOnce() {
    EditorFixture f;
    f.Start();
    QVERIFY(QDir().mkpath(QString::fromStdString(f.Path("Verosta.ini/x"))));
    f.platform.AnswerMessage(MsgAnswer::Ok);
    for (int i = 0; i < 3; ++i) SaveSettings(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto told = f.platform.CallsOf("message");
    QCOMPARE(int(told.size()), 1);
    QVERIFY(told[0].text.find("could not be saved") != std::string::npos);
    QVERIFY(told[0].icon == MsgIcon::Warning);
    f.Close();  // the exit's write fails again, silently
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  // The first place of the 700 x 450 window, frame included, lies on the screen's free area.
  void windowFitsTheScreen_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("large screen: centred") << QRect(0, 0, 1920, 1080) << QRect(610, 329, 700, 450);
    // 1280 x 800 pixels at twice the scale: 640 x 400 points less a 24-point panel.
    QTest::newRow("small screen at twice the scale") << QRect(0, 24, 640, 376) << QRect(8, 60, 624, 332);
    QTest::newRow("second screen on the right") << QRect(1920, 0, 1280, 1024) << QRect(2210, 301, 700, 450);
    QTest::newRow("only just wide enough") << QRect(0, 0, 716, 494) << QRect(8, 36, 700, 450);
    QTest::newRow("smaller than the frame") << QRect(10, 10, 12, 30) << QRect(18, 46, 1, 1);
  }
  void windowFitsTheScreen() {
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    const QMargins frame(8, 36, 8, 8);
    const QRect place = FitWindowToScreen(QSize(700, 450), available, frame);
    QCOMPARE(place, expected);
    if (available.width() >= 16 + 1) QVERIFY(available.contains(place.marginsAdded(frame)));
  }

  void whiteSpaceChecksItsMenuItem() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "White space 1\r\nFollow active document 0\r\n");
    f.Start();
    QAction* item = MenuItem(f.app->window, Cmd::ShowWhiteSpace);
    QVERIFY(item);
    QVERIFY(item->isChecked());
    int checked = 0;
    for (QAction* a : f.app->window->findChildren<QAction*>())
      if (a->data().isValid() && a->isChecked()) ++checked;
    QCOMPARE(checked, 1);
  }

  void fontSizeCommands() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Font size 14\r\nFont name Verdana\r\n");
    f.Start();
    f.Menu(Cmd::IncreaseFontSize);
    QCOMPARE(f.app->settings.fontSize, 14);
    f.Key(Accel::DecreaseFontSize);
    QCOMPARE(f.app->settings.fontSize, 13);
    f.app->settings.fontSize = 7;
    f.Menu(Cmd::DecreaseFontSize);
    QCOMPARE(f.app->settings.fontSize, 7);
    f.Menu(Cmd::ResetFont);
    QCOMPARE(f.app->settings.fontSize, 9);
    QCOMPARE(f.app->settings.fontName, std::string("Courier New"));
  }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
