// The New Program and File Associations dialogs.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <Qsci/qsciscintillabase.h>

#include "app/main_window.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/new_program.h"
#include "support/fixture.h"

namespace {

// Fills the New Program dialog: clicks box `box` (0 for none), types `name`, presses Ok.
std::function<bool(QDialog&)> NewProgram(int box, const std::string& name) {
  return [box, name](QDialog& d) {
    if (box) d.findChild<QCheckBox*>(QString::number(box))->click();
    d.findChild<QLineEdit*>("190")->setText(QString::fromStdString(name));
    d.findChild<QPushButton*>("300")->click();
    return d.result() == QDialog::Accepted;
  };
}

std::function<bool(QDialog&)> Cancel(int box) {
  return [box](QDialog& d) {
    if (box) d.findChild<QCheckBox*>(QString::number(box))->click();
    d.findChild<QPushButton*>("2")->click();
    return false;
  };
}

}  // namespace

class TestNewProgram : public QObject {
  Q_OBJECT

 private slots:
  void programName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("bare") << "index"
                          << "index.web";
    QTest::newRow("with extension") << "index.web"
                                    << "index.web";
    QTest::newRow(".web anywhere") << "old.web.bak"
                                   << "old.web.bak";
    QTest::newRow("other extension") << "page.html"
                                     << "page.html.web";
    QTest::newRow("case counts") << "INDEX.WEB"
                                 << "INDEX.WEB.web";
  }
  void programName() {
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QCOMPARE(QString::fromStdString(ProgramNameWithExtension(typed.toStdString())), saved);
  }

  void templates_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("doctype");
    QTest::newRow("html5") << 100 << "res/Html5.web"
                           << "<!DOCTYPE HTML>";
    QTest::newRow("transitional") << 110 << "res/HtmlTransitional.web"
                                  << "HTML 4.01 Transitional//EN";
    QTest::newRow("strict") << 120 << "res/HtmlStrict.web"
                            << "HTML 4.01//EN";
    QTest::newRow("frameset") << 130 << "res/HtmlFrameset.web"
                              << "HTML 4.01 Frameset//EN";
    QTest::newRow("xhtml transitional") << 140 << "res/XhtmlTransitional.web"
                                        << "XHTML 1.0 Transitional//EN";
    QTest::newRow("xhtml strict") << 150 << "res/XhtmlStrict.web"
                                  << "XHTML 1.0 Strict//EN";
    QTest::newRow("xhtml frameset") << 160 << "res/XhtmlFrameset.web"
                                    << "XHTML 1.0 Frameset//EN";
    QTest::newRow("blank") << 170 << "res/New.web"
                           << "";
  }
  void templates() {
    QFETCH(int, box);
    QFETCH(QString, templ);
    QFETCH(QString, doctype);
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog(NewProgram(box, "index"));
    f.Menu(100);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    const std::string bytes = f.ReadFile(templ.toStdString());
    QVERIFY(bytes.find(doctype.toStdString()) != std::string::npos);
    QCOMPARE(f.ReadFile("index.web"), bytes);
    QCOMPARE(EditorText(f.app->activeEditor), bytes);
    QCOMPARE(TabStrip(*f.app)->tabText(TabStrip(*f.app)->currentIndex()), QString("index.web"));
    QCOMPARE(f.app->docs[f.app->activeSlot].path, f.Path("index.web"));
    QVERIFY(!IsDocumentModified(*f.app, f.app->activeSlot));
    QCOMPARE(f.app->window->windowTitle().toStdString(), f.Path("index.web"));
    QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_CANUNDO), intptr_t(0));
    // Only the clicked type is chosen, and the choice is in the configuration file.
    for (int i = 0; i < 8; ++i) QCOMPARE(*NewProgramFlag(f.app->settings, i), 100 + 10 * i == box ? 1 : 0);
    QCOMPARE(TemplateFor(f.app->settings), templ.toStdString());
    const char* keys[] = {"Html5",        "Html transitional", "Html strict", "Html frameset", "Xhtml transitional",
                          "Xhtml strict", "Xhtml frameset",    "Blank Page"};
    QVERIFY(f.ReadFile("Verosta.ini").find(std::string("\r\n") + keys[(box - 100) / 10] + " 1\r\n") !=
            std::string::npos);
  }

  void nameWithWebInsideIsKept() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog(NewProgram(100, "old.web.bak"));
    f.Menu(100);
    QVERIFY(core::FileExists(f.Path("old.web.bak")));
    QVERIFY(!core::FileExists(f.Path("old.web.bak.web")));
    QCOMPARE(f.app->docs[2].tabName, std::string("old.web.bak"));
  }

  void existingNameKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("first");
    QTest::newRow("file in the folder") << "taken";
    QTest::newRow("the active document's name") << "New";
  }
  void existingNameKeepsTheDialogOpen() {
    QFETCH(QString, first);
    EditorFixture f;
    f.Start();
    f.WriteFile("taken.web", "mine");
    bool stayedOpen = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      auto* name = d.findChild<QLineEdit*>("190");
      auto* ok = d.findChild<QPushButton*>("300");
      d.findChild<QCheckBox*>("100")->click();
      name->setText(first);
      ok->click();
      stayedOpen = d.result() != QDialog::Accepted;
      name->setText("fresh");
      ok->click();
      return d.result() == QDialog::Accepted;
    });
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(100);
    QVERIFY(stayedOpen);
    auto m = f.platform.CallsOf("message");
    QCOMPARE(m.size(), size_t(1));
    QCOMPARE(m[0].text, "Program name: " + first.toStdString() +
                            ".web\rThis file already exists. Please enter a different file name.");
    QCOMPARE(m[0].icon, MsgIcon::Information);
    QCOMPARE(f.ReadFile("taken.web"), std::string("mine"));
    QVERIFY(core::FileExists(f.Path("fresh.web")));
  }

  void cancelKeepsTheTypeAndNoTypeMeansBlank() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Xhtml strict 1\r\n");
    f.Start();
    const int before = f.app->settings.xhtmlStrict;
    f.platform.AnswerDialog(Cancel(100));
    f.Menu(100);
    QCOMPARE(f.app->settings.xhtmlStrict, before);
    QCOMPARE(f.app->settings.html5, 0);
    QCOMPARE(DocumentCount(*f.app), 1);

    // With no type chosen at all, Ok opens the blank page instead of renaming the active document.
    for (int i = 0; i < 8; ++i) *NewProgramFlag(f.app->settings, i) = 0;
    InsertTextAtCaret(*f.app, "keep");
    bool allUnchecked = true;
    f.platform.AnswerDialog([&](QDialog& d) {
      for (int id = 100; id <= 170; id += 10)
        allUnchecked = allUnchecked && !d.findChild<QCheckBox*>(QString::number(id))->isChecked();
      return NewProgram(0, "second")(d);
    });
    f.Menu(100);
    QVERIFY(allUnchecked);
    QCOMPARE(DocumentCount(*f.app), 2);
    QCOMPARE(f.ReadFile("second.web"), f.ReadFile("res/New.web"));
    QCOMPARE(EditorText(f.app->docs[1].editor), std::string("keep"));
    QCOMPARE(f.app->docs[1].path, f.Path("New.web"));
  }

  void dialogControls() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Html strict 1\r\nFeedback1\r\n");
    f.Start();
    bool controlsOk = false;
    f.platform.AnswerDialog([&controlsOk](QDialog& d) {
      const char* labels[] = {" HTML5",
                              " HTML 4.01 Transitional",
                              " HTML 4.01 Strict",
                              " HTML 4.01 Frameset",
                              " XHTML 1.0 Transitional",
                              " XHTML 1.0 Strict",
                              " XHTML 1.0 Frameset",
                              " Blank Page"};
      for (int i = 0; i < 8; ++i) {
        auto* box = d.findChild<QCheckBox*>(QString::number(100 + 10 * i));
        if (!box || box->text() != labels[i] || box->isChecked() != (i == 2)) return false;
      }
      d.findChild<QCheckBox*>("120")->click();  // clicking the checked box leaves it checked
      if (!d.findChild<QCheckBox*>("120")->isChecked()) return false;
      d.findChild<QPushButton*>("3")->click();
      controlsOk = d.windowTitle() == "New Program" && d.findChild<QLineEdit*>("190")->text() == "New.web" &&
                   d.findChild<QLabel*>("180")->text() == "Program name" &&
                   d.findChild<QLabel*>("200")->text() == "Enter a program name within the text input field." &&
                   d.findChild<QPushButton*>("300")->text() == "Ok" &&
                   d.findChild<QPushButton*>("2")->text() == "Cancel" &&
                   d.findChild<QPushButton*>("3")->text() == "Help";
      return false;
    });
    f.Menu(100);
    QVERIFY(controlsOk);
    auto help = f.platform.CallsOf("help");
    QCOMPARE(help.size(), size_t(1));
    QCOMPARE(help[0].context, 16);
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    QCOMPARE(f.app->settings.htmlStrict, 1);
  }

  void fileAssociations() {
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Web files 1\r\nAll files 1\r\n");
    f.Start();
    f.platform.AnswerDialog([](QDialog& d) {
      const char* labels[] = {" Program files (*.web)", " Backup files (*.bak)", " HTML files (*.html)",
                              " XHTML files (*.xhtml)", " CSS files (*.css)",    " JavaScript files (*.js)",
                              " Java files (*.java)",   " Plain text (*.txt)",   " Word files (*.doc)",
                              " All files (*.*)"};
      for (int i = 0; i < 10; ++i) {
        auto* box = d.findChild<QCheckBox*>(QString::number(130 + 10 * i));
        if (!box || box->text() != labels[i] || box->isChecked() != (i == 0 || i == 9)) return false;
      }
      d.findChild<QCheckBox*>("130")->click();
      d.findChild<QCheckBox*>("170")->click();
      d.findChild<QPushButton*>("3")->click();
      d.findChild<QPushButton*>("1")->click();
      return d.windowTitle() == "File Associations" && d.result() == QDialog::Accepted;
    });
    f.Key(4022);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("help")[0].context, 57);
    std::vector<std::pair<std::string, std::string>> expected = {{"CSS Files (*.css)", "*.css"},
                                                                 {"All Files (*.*)", "*.*"}};
    QVERIFY(DocumentTypeFilters(f.app->settings) == expected);
    const std::string ini = f.ReadFile("Verosta.ini");
    QVERIFY(ini.find("Web files 0\r\n") != std::string::npos);
    QVERIFY(ini.find("Css files 1\r\n") != std::string::npos);
  }
};

QTEST_MAIN(TestNewProgram)
#include "test_new_program.moc"
