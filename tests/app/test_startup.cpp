#include <QAction>
#include <QFile>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/main_window.h"
#include "app/menus.h"
#include "app/shell.h"
#include "core/text.h"
#include "documents/document_table.h"
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
    f.Start();
    QCOMPARE(f.app->settings.fontSize, 10);
    QCOMPARE(TabNames(*f.app).size(), 1);
  }

  void whiteSpaceChecksItsMenuItem() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "White space 1\r\n");
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
