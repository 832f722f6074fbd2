#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

#include "platform/help_viewer.h"
#include "platform/qt_platform.h"
#include "support/fixture.h"
#include "support/scripted_platform.h"

class PlatformTest : public QObject {
  Q_OBJECT
 private slots:
  void filterStrings() {
    QCOMPARE(QtFilterString({{"Program Files (*.web)", "*.web"}, {"All Files (*.*)", "*.*"}}),
             QString("Program Files (*.web);;All Files (*)"));
    QCOMPARE(QtFilterString({{"Images", "*.gif;*.jpg"}}), QString("Images (*.gif *.jpg)"));
  }

  void defaultExtension() {
    QCOMPARE(WithDefaultExtension("/a/b/page", "web"), std::string("/a/b/page.web"));
    QCOMPARE(WithDefaultExtension("/a/b/page.html", "web"), std::string("/a/b/page.html"));
    QCOMPARE(WithDefaultExtension("/a.d/page", "web"), std::string("/a.d/page.web"));
    QCOMPARE(WithDefaultExtension("/a/page", ""), std::string("/a/page"));
  }

  void helpPages() {
    QCOMPARE(HelpPageFor("help\\contents.chm", 0), QString("index.html"));
    QCOMPARE(HelpPageFor("help/contents.chm", 27), QString("27.html"));
    QCOMPARE(HelpPageFor("help\\new.chm", 0), QString("new.html"));
    QCOMPARE(HelpPageFor("help/release.chm", 0), QString("release.html"));
  }

  void helpViewerFallsBackToNotFound() {
    QTemporaryDir dir;
    WriteAll(dir.filePath("index.html").toStdString(), "<h1>Index</h1><a href='5.html'>five</a>");
    WriteAll(dir.filePath("5.html").toStdString(), "<h1>Five</h1>");
    WriteAll(dir.filePath("notfound.html").toStdString(), "<h1>Not found</h1>");
    HelpViewer viewer(nullptr, dir.path());
    viewer.ShowTopic("help/contents.chm", 5);
    QCOMPARE(viewer.CurrentPage(), QString("5.html"));
    viewer.ShowTopic("help/contents.chm", 999);
    QCOMPARE(viewer.CurrentPage(), QString("notfound.html"));
    viewer.ShowTopic("help/contents.chm", 0);
    QCOMPARE(viewer.CurrentPage(), QString("index.html"));
  }

  // Escape and the close button may answer a box only where it has a button meaning "leave
  // things as they are"; a Yes/No question (save before closing?) must wait for Yes or No.
  void messageBoxEscapeAndClose_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("useClose");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes/no escape") << int(MsgButtons::YesNo) << false << true << int(MsgAnswer::Yes);
    QTest::newRow("yes/no close") << int(MsgButtons::YesNo) << true << true << int(MsgAnswer::Yes);
    QTest::newRow("yes/no/cancel escape") << int(MsgButtons::YesNoCancel) << false << false << int(MsgAnswer::Cancel);
    QTest::newRow("ok/cancel escape") << int(MsgButtons::OkCancel) << false << false << int(MsgAnswer::Cancel);
    QTest::newRow("ok close") << int(MsgButtons::Ok) << true << false << int(MsgAnswer::Ok);
  }
  void messageBoxEscapeAndClose() {
    QFETCH(int, buttons);
    QFETCH(bool, useClose);
    QFETCH(bool, staysOpen);
    QFETCH(int, answer);
    QtPlatform platform;
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      if (useClose) box->close();
      else QTest::keyClick(box, Qt::Key_Escape);
      QCoreApplication::processEvents();
      stillOpen = box->isVisible();
      if (stillOpen) box->button(QMessageBox::Yes)->click();
    });
    MsgAnswer got = platform.Message("Document has not been saved", MsgIcon::Question, MsgButtons(buttons), "t");
    QCOMPARE(stillOpen, staysOpen);
    QCOMPARE(int(got), answer);
  }

  void openDialogAddsTheDefaultExtension_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("bare name") << "form1"
                               << "form1.frm";
    QTest::newRow("with extension") << "form1.frm"
                                    << "form1.frm";
    QTest::newRow("other extension") << "notes.txt"
                                     << "notes.txt";
  }
  void openDialogAddsTheDefaultExtension() {
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    QTemporaryDir dir;
    WriteAll(dir.filePath("form1.frm").toStdString(), "x");
    WriteAll(dir.filePath("notes.txt").toStdString(), "x");
    WriteAll(dir.filePath("form1").toStdString() + "-other", "x");
    QtPlatform platform;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name);
      name->setText(typed);
      QMetaObject::invokeMethod(dlg, "accept");
      if (dlg->isVisible()) dlg->reject();
    });
    FileDialogSpec request;
    request.title = "Open Form";
    request.folder = dir.path().toStdString();
    request.filters = {{"Form Files (*.frm)", "*.frm"}, {"All Files (*.*)", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = "frm";
    std::vector<std::string> paths;
    QVERIFY(platform.OpenFile(request, paths));
    QCOMPARE(paths.size(), size_t(1));
    QCOMPARE(QString::fromStdString(paths[0]), dir.filePath(opened));
  }

  // The editor's standard font is not installed here: the dialog must open on a
  // fixed-width family it lists, never on a proportional default.
  void fontRequestsResolveToInstalledFixedFamilies_data() {
    QTest::addColumn<QString>("requested");
    QTest::newRow("Courier New") << "Courier New";
    QTest::newRow("unknown family") << "No Such Font Family 42";
    QTest::newRow("installed") << "DejaVu Sans Mono";
  }
  void fontRequestsResolveToInstalledFixedFamilies() {
    QFETCH(QString, requested);
    QString family = ResolvedFontFamily(requested);
    QVERIFY2(QFontDatabase::hasFamily(family), qPrintable(family));
    QVERIFY2(QFontDatabase::isFixedPitch(family), qPrintable(family));
    if (QFontDatabase::hasFamily(requested)) QCOMPARE(family, requested);
    if (requested == "Courier New" && QFontDatabase::hasFamily("Liberation Mono") &&
        !QFontDatabase::hasFamily(requested))
      QCOMPARE(family, QString("Liberation Mono"));
  }

  void folderPromptShowsItsTwoLines() {
    QtPlatform platform;
    QString shown;
    QTimer::singleShot(0, [&] {
      QWidget* dlg = QApplication::activeModalWidget();
      QVERIFY(dlg);
      if (auto* label = dlg->findChild<QLabel*>("prompt")) shown = label->text();
      if (auto* d = qobject_cast<QDialog*>(dlg)) d->reject();
    });
    std::string folder = "/tmp";
    QVERIFY(!platform.PickFolder("Select a folder to view contents.\rCurrent directory: /work", folder));
    QCOMPARE(shown, QString("Select a folder to view contents.\nCurrent directory: /work"));
    QCOMPARE(folder, std::string("/tmp"));
  }

  void helpPlacedBesideADialog_data() {
    QTest::addColumn<QRect>("dialog");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("placed");
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("room on the right") << QRect(100, 100, 400, 300) << screen << QRect(508, 100, 720, 560);
    QTest::newRow("room on the left only") << QRect(1500, 100, 400, 300) << screen << QRect(772, 100, 720, 560);
    QTest::newRow("small screen: narrower")
        << QRect(100, 100, 300, 200) << QRect(0, 0, 800, 600) << QRect(408, 40, 392, 560);
    QTest::newRow("no room at all: screen edge")
        << QRect(0, 0, 700, 300) << QRect(0, 0, 800, 600) << QRect(80, 0, 720, 560);
    QTest::newRow("low dialog: kept on screen") << QRect(100, 900, 400, 100) << screen << QRect(508, 520, 720, 560);
  }
  void helpPlacedBesideADialog() {
    QFETCH(QRect, dialog);
    QFETCH(QRect, screen);
    QFETCH(QRect, placed);
    QCOMPARE(HelpPlaceBeside(dialog, QSize(720, 560), screen), placed);
  }

  // Help asked for from a modal dialog belongs to that dialog (so Qt does not block it),
  // stands beside it, and its Escape closes only the help.
  void helpFromAModalDialog() {
    QtPlatform platform;
    QWidget owner;
    platform.SetOwner(&owner);
    QDialog dialog(&owner);
    dialog.setGeometry(100, 100, 300, 200);
    HelpViewer* viewer = nullptr;
    bool dialogOpenAfterEscape = false, viewerOpenAfterEscape = true;
    QRect dialogRect, viewerRect;
    QTimer::singleShot(0, [&] {
      platform.ShowHelp("help/contents.chm", 5);
      viewer = dialog.findChild<HelpViewer*>();
      if (!viewer) return dialog.reject();
      (void)QTest::qWaitForWindowExposed(viewer);
      dialogRect = dialog.frameGeometry();
      viewerRect = viewer->frameGeometry();
      QTest::keyClick(viewer, Qt::Key_Escape);
      viewerOpenAfterEscape = viewer->isVisible();
      dialogOpenAfterEscape = dialog.isVisible();
      dialog.reject();
    });
    dialog.exec();
    QVERIFY(viewer);
    QVERIFY(viewer->isWindow());
    QVERIFY2(!viewerRect.intersects(dialogRect), qPrintable(QString("help %1,%2 %3x%4 covers the dialog %5,%6 %7x%8")
                                                                .arg(viewerRect.x())
                                                                .arg(viewerRect.y())
                                                                .arg(viewerRect.width())
                                                                .arg(viewerRect.height())
                                                                .arg(dialogRect.x())
                                                                .arg(dialogRect.y())
                                                                .arg(dialogRect.width())
                                                                .arg(dialogRect.height())));
    QVERIFY(!viewerOpenAfterEscape);
    QVERIFY(dialogOpenAfterEscape);
  }

  void messageTextsAndTables_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("table");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain lines") << "Can not edit file.\rPlease check." << false << "Can not edit file.\nPlease check.";
    QTest::newRow("cr lf") << "a\r\nb" << false << "a\nb";
    QTest::newRow("one line without tab")
        << " File Name: \t a.web\rno tab here" << false << " File Name: \t a.web\nno tab here";
    QTest::newRow("program info")
        << " File Name: \t a<b>.web\r File Size:\t\t 11 bytes" << true
        << "<table cellspacing=\"0\" cellpadding=\"2\"><tr><td>File Name:</td><td>a&lt;b&gt;.web</td></tr>"
           "<tr><td>File Size:</td><td>11 bytes</td></tr></table>";
  }
  void messageTextsAndTables() {
    QFETCH(QString, text);
    QFETCH(bool, table);
    QFETCH(QString, shown);
    bool isTable = !table;
    QCOMPARE(MessageBoxText(text.toStdString(), &isTable), shown);
    QCOMPARE(isTable, table);
  }

  void scriptedPlatformRecordsSurprises() {
    ScriptedPlatform p;
    p.AnswerMessage(MsgAnswer::Yes);
    QVERIFY(p.Message("q", MsgIcon::Question, MsgButtons::YesNo, "Verosta editor") == MsgAnswer::Yes);
    QVERIFY(p.Done());
    std::string path;
    FileDialogSpec fileDialog;
    fileDialog.title = "Open";
    QVERIFY(!p.SaveFile(fileDialog, path));
    QCOMPARE(int(p.surprises.size()), 1);
    QVERIFY(!p.Done());
  }

  void scriptedDialogsAreFilledByTheTest() {
    ScriptedPlatform p;
    QDialog d;
    d.setWindowTitle("Tables");
    p.AnswerDialog([](QDialog& dlg) { return dlg.windowTitle() == "Tables"; });
    QVERIFY(p.RunDialog(d));
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!p.RunDialog(d));  // nothing queued: a surprise
    QCOMPARE(int(p.surprises.size()), 1);
  }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
