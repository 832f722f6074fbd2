// The Preferences dialog, the Editor's Font command and the About box, through the
// scripted platform.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "app/shell.h"
#include "core/files.h"
#include "documents/editor.h"
#include "app/preferences_dialog.h"
#include "support/fixture.h"

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {

void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}

bool Checked(QDialog& d, int id) { return d.findChild<QCheckBox*>(QString::number(id))->isChecked(); }

std::string Title(EditorFixture& f) { return f.app->window->windowTitle().toStdString(); }

// A started editor whose Verosta.ini holds `s`.
void StartWith(EditorFixture& f, const Settings& s) {
  SaveSettingsFile(s, f.Path("Verosta.ini"));
  f.Start();
}

}  // namespace

class TestPreferences : public QObject {
  Q_OBJECT
 private slots:
  void controlTexts() {
    EditorFixture f;
    f.Start();
    std::vector<std::pair<int, std::string>> texts = {{120, " Maximize window on startup"},
                                                      {130, " Show file name in title bar"},
                                                      {111, " Display toolbar tips"},
                                                      {140, " Enable editor's margin"},
                                                      {141, " Feedback with sound"},
                                                      {144, " Display block text cursor"},
                                                      {143, " Display thin text cursor"},
                                                      {100, " Load last session on startup"},
                                                      {150, " Backup files when saving"},
                                                      {181, " Delete file to recycle bin"},
                                                      {180, " Permanently delete file"},
                                                      {110, " Show statusbar file name"},
                                                      {170, " Confirm save existing file"},
                                                      {171, " Auto save session on exit"},
                                                      {193, " Show dialog before printing"},
                                                      {99, " Line numbers when printing"},
                                                      {190, " Include program file name"},
                                                      {191, " Print to A4 paper size"},
                                                      {192, " Print to US letter paper size"},
                                                      {2, "Cancel"},
                                                      {800, "Ok"},
                                                      {801, "Help"},
                                                      {802, "Defult"}};
    std::vector<std::pair<int, std::string>> shown;
    QString label, lastItem;
    QSize size;
    QPoint a4;
    int items = 0;
    f.platform.AnswerDialog([&](QDialog& d) {
      for (auto& [id, text] : texts)
        shown.emplace_back(id, d.findChild<QAbstractButton*>(QString::number(id))->text().toStdString());
      label = d.findChild<QLabel*>("802")->text();
      size = d.size();
      a4 = d.findChild<QWidget*>("192")->pos();
      auto* list = d.findChild<QComboBox*>("803");
      items = list->count();
      lastItem = list->itemText(items - 1);
      return false;
    });
    f.Menu(300);
    QCOMPARE(shown, texts);
    QCOMPARE(label, QString("Tab indent:"));
    // The layout keeps its pixel positions, widened as a whole where the font's texts need it.
    QCOMPARE(size.height(), 281);
    QVERIFY(size.width() >= 594);
    QCOMPARE(a4.y(), 128);
    QVERIFY(qAbs(a4.x() * 594.0 / size.width() - 414) <= 1.5);
    QCOMPARE(items, 20);
    QCOMPARE(lastItem, QString("20"));
    QCOMPARE(f.platform.CallsOf("dialog").at(0).text, std::string("Preferences"));
  }

  void plainBoxActsAtOnce_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<std::string>("field");
    for (auto [id, name] : std::vector<std::pair<int, const char*>>{{120, "Maximize window"},
                                                                    {130, "Titlebar name"},
                                                                    {111, "Toolbar tips"},
                                                                    {140, "Editors margin"},
                                                                    {141, "Feedback"},
                                                                    {100, "Last file"},
                                                                    {150, "Backup file"},
                                                                    {110, "Statusbar file"},
                                                                    {170, "Existing file"},
                                                                    {171, "Save on exit"},
                                                                    {193, "Printer dialog"},
                                                                    {99, "Print numbers"},
                                                                    {190, "Print file name"}})
      QTest::newRow(name) << id << std::string(name);
  }
  void plainBoxActsAtOnce() {
    QFETCH(int, id);
    QFETCH(std::string, field);
    EditorFixture f;
    f.Start();
    std::string afterOne, afterTwo;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, id);
      afterOne = WriteSettingsText(f.app->settings);
      Click(d, id);
      afterTwo = WriteSettingsText(f.app->settings);
      Click(d, id);
      return false;
    });
    f.Menu(300);
    QVERIFY(afterOne.find("\r\n" + field + " 1\r\n") != std::string::npos);
    QVERIFY(afterTwo.find("\r\n" + field + " 0\r\n") != std::string::npos);
    // Closed from the title bar: the change stays in memory, the file is not written.
    QVERIFY(WriteSettingsText(f.app->settings).find("\r\n" + field + " 1\r\n") != std::string::npos);
    QVERIFY(!core::FileExists(f.Path("Verosta.ini")));
  }

  void oneChoicePairs_data() {
    QTest::addColumn<std::vector<int>>("clicks");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("firstOn");
    QTest::newRow("thin twice") << std::vector<int>{143, 143} << 143 << 144 << true;
    QTest::newRow("thin then block") << std::vector<int>{143, 144} << 143 << 144 << false;
    QTest::newRow("block three times") << std::vector<int>{144, 144, 144} << 143 << 144 << false;
    QTest::newRow("recycle twice") << std::vector<int>{181, 181} << 181 << 180 << true;
    QTest::newRow("permanent then recycle") << std::vector<int>{180, 181} << 181 << 180 << true;
    QTest::newRow("permanent twice") << std::vector<int>{180, 180} << 181 << 180 << false;
    QTest::newRow("A4 twice") << std::vector<int>{191, 191} << 191 << 192 << true;
    QTest::newRow("A4 then letter") << std::vector<int>{191, 192} << 191 << 192 << false;
    QTest::newRow("letter twice") << std::vector<int>{192, 192} << 191 << 192 << false;
  }
  void oneChoicePairs() {
    QFETCH(std::vector<int>, clicks);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, firstOn);
    EditorFixture f;
    f.Start();
    bool shownFirst = false, shownSecond = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      for (int id : clicks) Click(d, id);
      shownFirst = Checked(d, first);
      shownSecond = Checked(d, second);
      return false;
    });
    f.Menu(300);
    QCOMPARE(shownFirst, firstOn);
    QCOMPARE(shownSecond, !firstOn);
    const Settings& s = f.app->settings;
    int firstField = first == 143 ? s.thinCursor : first == 181 ? s.recycleBin : s.ukPaperSize;
    int secondField = second == 144 ? s.blockCursor : second == 180 ? s.deleteFile : s.usPaperSize;
    QCOMPARE(firstField, firstOn ? 1 : 0);
    QCOMPARE(secondField, firstOn ? 0 : 1);
  }

  void defultThenCancelChangesNothing() {
    EditorFixture f;
    Settings s;
    s.tabIndent = "7";
    s.feedback = 1;
    s.fontSize = 10;
    StartWith(f, s);
    std::string file = f.ReadFile("Verosta.ini"), before = WriteSettingsText(f.app->settings);
    std::string shownIndent;
    bool thin = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 802);
      shownIndent = d.findChild<QComboBox*>("803")->currentText().toStdString();
      thin = Checked(d, 143);
      Click(d, 2);
      return false;
    });
    QString reopened;
    f.platform.AnswerDialog([&](QDialog& d) {
      reopened = d.findChild<QComboBox*>("803")->currentText();
      return false;
    });
    f.Menu(300);
    f.Menu(300);
    QCOMPARE(reopened, QString("7"));
    QCOMPARE(shownIndent, std::string("3"));
    QVERIFY(thin);
    QCOMPARE(f.ReadFile("Verosta.ini"), file);
    QCOMPARE(WriteSettingsText(f.app->settings), before);
    QVERIFY(f.platform.Done());
  }

  void defultThenOkWritesDefaults() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 802);
      Click(d, 800);
      return true;
    });
    f.Menu(300);
    Settings expected;
    SetPreferenceDefaults(expected);
    std::string file = f.ReadFile("Verosta.ini");
    for (const char* line :
         {"Maximize window 1", "Feedback 0", "Thin cursor 1", "Block cursor 0", "Tab indent 3", "Recycle bin 1",
          "Delete file 0", "UK paper size 1", "US paper size 0", "Printer dialog 1", "Save on exit 1"})
      QVERIFY2(file.find(std::string("\r\n") + line + "\r\n") != std::string::npos, line);
    QCOMPARE(Title(f), std::string("Verosta editor - New.web"));
  }

  void tabIndentIsTakenAtOk_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::string>("line");
    QTest::addColumn<int>("width");
    QTest::newRow("12") << QString("12") << std::string("Tab indent 12") << 12;
    QTest::newRow("letters") << QString("abc") << std::string("Tab indent abc") << 0;
    QTest::newRow("huge") << QString("99999999999") << std::string("Tab indent 99999999999") << 2147483647;
  }
  void tabIndentIsTakenAtOk() {
    QFETCH(QString, typed);
    QFETCH(std::string, line);
    QFETCH(int, width);
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      d.findChild<QComboBox*>("803")->lineEdit()->setText(typed);
      Click(d, 800);
      return true;
    });
    f.Menu(300);
    QCOMPARE(f.app->settings.tabIndent, typed.toStdString());
    QVERIFY(f.ReadFile("Verosta.ini").find("\r\n" + line + "\r\n") != std::string::npos);
    // The editor takes the number (or keeps its width when the number is no width at all).
    SetEditorText(f.app->activeEditor, "\tx\n");
    QCoreApplication::processEvents();
    if (width > 0 && width <= 1000) QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_GETTABWIDTH), intptr_t(width));
  }

  void titleBarBoxChangesTitleAtOnce() {
    EditorFixture f;
    Settings s;
    s.titlebarName = 1;
    StartWith(f, s);
    QCOMPARE(Title(f), std::string("Verosta editor - New.web"));
    std::string during;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 130);
      during = Title(f);
      Click(d, 2);
      return false;
    });
    f.Menu(300);
    QCOMPARE(during, std::string("Verosta editor."));
    QCOMPARE(f.app->settings.titlebarName, 1);  // reloaded by Cancel
    QCOMPARE(Title(f), std::string("Verosta editor."));
  }

  void helpOpensContents() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, 801);
      return false;
    });
    f.Menu(300);
    auto help = f.platform.CallsOf("help");
    QCOMPARE(help.size(), size_t(1));
    QCOMPARE(help[0].text, std::string("help/contents.chm"));
  }

  void fontDialogAlwaysStartsOnCourierNew() {
    EditorFixture f;
    Settings s;
    s.fontName = "Liberation Sans";
    s.fontSize = 12;
    StartWith(f, s);
    f.platform.AnswerFont({.name = "DejaVu Serif", .pointSize = 14});
    f.Menu(301);
    QCOMPARE(f.app->settings.fontName, std::string("DejaVu Serif"));
    QCOMPARE(f.app->settings.fontSize, 14);
    QVERIFY(f.ReadFile("Verosta.ini").find("\r\nFont name DejaVu Serif\r\nFont size 14\r\n") != std::string::npos);
    std::string file = f.ReadFile("Verosta.ini");

    f.platform.AnswerFont({.name = "Anything", .pointSize = 20}, false);
    f.Key(4006);
    QCOMPARE(f.app->settings.fontName, std::string("DejaVu Serif"));
    QCOMPARE(f.app->settings.fontSize, 14);
    QCOMPARE(f.ReadFile("Verosta.ini"), file);

    auto asked = f.platform.CallsOf("font");
    QCOMPARE(asked.size(), size_t(2));
    for (const auto& call : asked) {
      QCOMPARE(call.text, std::string("Courier New"));
      QCOMPARE(call.context, 9);
    }
  }

  void aboutBox() {
    EditorFixture f;
    f.Start();
    QString nameText;
    QSize size;
    f.platform.AnswerDialog([&](QDialog& d) {
      size = d.size();
      for (QLabel* l : d.findChildren<QLabel*>())
        if (!l->text().isEmpty()) nameText = l->text();
      for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() != "Ok") b->click();
      return true;
    });
    f.Menu(2000);
    QCOMPARE(size, QSize(366, 209));
    QCOMPARE(nameText, QString("Verosta editor"));
    QCOMPARE(f.platform.CallsOf("dialog").at(0).text, std::string("About"));
    QCOMPARE(f.platform.CallsOf("help").size(), size_t(1));
    QCOMPARE(f.platform.CallsOf("shell").at(0).text, std::string(kProductWebSite));
  }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
