// The Tables dialog: the table fragment byte for byte, its limits, and the dialog's
// behaviour through the command.
#include <QDir>
#include <QTest>

#include "insert/tables.h"
#include "support/fixture.h"
#include "test_insert_dialog_support.h"

using namespace insert;

namespace {

TableValues Sample(int center) {
  return {.rows = "2",
          .columns = "3",
          .cellWidth = "100px",
          .cellHeight = "20px",
          .textAlign = "center",
          .cellColor = "#FFFFE0",
          .textColor = "#000000",
          .borderColor = "#FF8000",
          .padding = "5px",
          .center = center,
          .inlineStyle = true};
}

std::string Golden(const char* name) { return ReadAll(std::string(VEROSTA_TEST_DATA) + "/insert/golden/" + name); }

const std::string kCell1 =
    "<td style=\"padding: 5px; border: 1px solid #FF8000; width: 100px; height: 20px; color: #000000 ;\">\n"
    "Cell 1 </td>\n\n";

}  // namespace

class TestTables : public QObject {
  Q_OBJECT
 private slots:
  void goldenTables_data() {
    QTest::addColumn<int>("center");
    QTest::addColumn<QString>("golden");
    QTest::newRow("centred") << 1 << "table_2x3_centred.html";
    QTest::newRow("not centred") << 0 << "table_2x3.html";
  }
  void goldenTables() {
    QFETCH(int, center);
    QFETCH(QString, golden);
    std::string expected = Golden(golden.toUtf8().constData());
    QVERIFY(!expected.empty());
    std::string table = BuildTable(Sample(center));
    QCOMPARE(table, expected);
    QCOMPARE(TidyErrors(table), std::string());
  }

  void fragments_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("padding");
    QTest::addColumn<int>("center");
    QTest::addColumn<bool>("inlineStyle");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray start = "<table style=\"background-color: #FFFFE0; text-align: center;\">\r\n";
    QTest::newRow("0 rows") << "0"
                            << "3"
                            << "5px" << 0 << true << start + "</table>";
    QTest::newRow("rows not a number") << "many"
                                       << "3"
                                       << "5px" << 0 << true << start + "</table>";
    QTest::newRow("0 columns") << "2"
                               << "0"
                               << "5px" << 0 << true << start + "<tr>\n\n</tr>\n<tr>\n\n</tr>\n</table>";
    QTest::newRow("1 x 1") << "1"
                           << "1"
                           << "5px" << 0 << true
                           << start + "<tr>\n\n" + QByteArray::fromStdString(kCell1) + "</tr>\n</table>";
    QTest::newRow("leading number") << " 1 row"
                                    << "1abc"
                                    << "5px" << 0 << true
                                    << start + "<tr>\n\n" + QByteArray::fromStdString(kCell1) + "</tr>\n</table>";
    QTest::newRow("empty padding") << "1"
                                   << "1"
                                   << "" << 0 << true
                                   << start +
                                          "<tr>\n\n<td style=\"padding: ; border: 1px solid #FF8000; width: "
                                          "100px; height: 20px; color: #000000 ;\">\nCell 1 </td>\n\n</tr>\n</table>";
    QTest::newRow("other center value") << "1"
                                        << "1"
                                        << "5px" << 2 << true
                                        << "<tr>\n\n" + QByteArray::fromStdString(kCell1) + "</tr>\n</table>";
    QTest::newRow("without inline style")
        << "1"
        << "2"
        << "5px" << 1 << false
        << QByteArray("<table>\r\n<tr>\n\n<td>\nCell 1 </td>\n\n<td>\nCell 2 </td>\n\n"
                      "</tr>\n</table>");
    QTest::newRow("negative rows") << "-3"
                                   << "2"
                                   << "5px" << 0 << true << start + "</table>";
  }
  void fragments() {
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(QString, padding);
    QFETCH(int, center);
    QFETCH(bool, inlineStyle);
    QFETCH(QByteArray, expected);
    TableValues v = Sample(center);
    v.rows = rows.toStdString();
    v.columns = columns.toStdString();
    v.padding = padding.toStdString();
    v.inlineStyle = inlineStyle;
    QCOMPARE(QByteArray::fromStdString(BuildTable(v)), expected);
  }

  void countsAboveTheListsAreUsed() {
    TableValues v = Sample(0);
    v.rows = "20";
    v.columns = "16";
    std::string t = BuildTable(v);
    QVERIFY(t.find("Cell 320 </td>") != std::string::npos);
    QVERIFY(t.find("Cell 321") == std::string::npos);
  }

  void quoteInAValueCannotEndTheAttribute() {
    TableValues v = Sample(0);
    v.rows = "1";
    v.columns = "1";
    v.cellColor = "red\" onclick=\"x";
    std::string t = BuildTable(v);
    QVERIFY(t.find("background-color: red&quot; onclick=&quot;x;") != std::string::npos);
    QCOMPARE(TidyErrors(t), std::string());
  }

  void tooLarge_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("15 x 15") << "15"
                             << "15" << false;
    QTest::newRow("300 x 300") << "300"
                               << "300" << false;
    QTest::newRow("100000 x 100000") << "100000"
                                     << "100000" << true;
    QTest::newRow("huge rows, no cells") << "99999999999999999999999"
                                         << "0" << true;
    QTest::newRow("huge cells, no rows") << "0"
                                         << "99999999999999999999" << false;
  }
  void tooLarge() {
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(bool, tooLarge);
    TableValues v = Sample(1);
    v.rows = rows.toStdString();
    v.columns = columns.toStdString();
    QCOMPARE(TableTooLarge(v), tooLarge);
    if (tooLarge) QVERIFY(BuildTable(v).empty());
  }

  void okInsertsAndRemembers() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    Settings& s = f.app->settings;
    s.tableRows = "4";
    s.centerTable = 0;
    f.platform.AnswerDialog([](QDialog& d) {
      if (Field(d, 1001) != "4") return false;  // opens with the remembered value
      Type(d, 1001, "2");
      Type(d, 1002, "3");
      Type(d, 1003, "100px");
      Type(d, 1004, "20px");
      Type(d, 1005, "center");
      Type(d, 1006, "#FFFFE0");
      Type(d, 1007, "#000000");
      Type(d, 1008, "#FF8000");
      Type(d, 1009, "5px");
      Click(d, 1010);  // centre it
      return true;
    });
    f.Menu(404);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(EditorText(f.app->activeEditor), Golden("table_2x3_centred.html"));
    QCOMPARE(Caret(*f.app), intptr_t(0));
    QCOMPARE(s.centerTable, 1);
    QCOMPARE(s.tableColumns, std::string("3"));
    QCOMPARE(s.tablePadding, std::string("5px"));
    std::string ini = f.ReadFile("Verosta.ini");
    QVERIFY(ini.find("Table rows 2\r\n") != std::string::npos);
    QVERIFY(ini.find("Border color #FF8000\r\n") != std::string::npos);
    QVERIFY(QDir(QString::fromStdString(f.Folder())).entryList({"*.tmp"}).isEmpty());
  }

  void cancelKeepsTheCenterClickOnly() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "text", 2);
    f.app->settings.centerTable = 1;
    f.app->settings.tableRows = "3";
    f.platform.AnswerDialog([](QDialog& d) {
      Type(d, 1001, "9");
      Click(d, 1010);
      return false;
    });
    f.Menu(404);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("text"));
    QCOMPARE(f.app->settings.centerTable, 0);
    QCOMPARE(f.app->settings.tableRows, std::string("3"));
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("Verosta.ini"))));
  }

  void inlineStyleBoxKeepsItsStateForTheRun() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    f.app->settings.tableRows = "1";
    f.app->settings.tableColumns = "1";
    f.app->settings.centerTable = 0;
    f.platform.AnswerDialog([](QDialog& d) {
      if (!IsChecked(d, 1011)) return false;  // opens checked
      Click(d, 1011);
      return true;
    });
    f.Menu(404);
    QCOMPARE(EditorText(f.app->activeEditor), std::string("<table>\r\n<tr>\n\n<td>\nCell 1 </td>\n\n</tr>\n</table>"));
    bool seenUnchecked = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      seenUnchecked = !IsChecked(d, 1011);
      return false;
    });
    f.Menu(404);
    QVERIFY(seenUnchecked);
  }

  void hugeTableIsRefusedAndTheDialogStaysOpen() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "keep", 0);
    int finished = -1, finishedAfterOk = -1;
    f.platform.AnswerDialog([&](QDialog& d) {
      finished = 0;
      QObject::connect(&d, &QDialog::finished, [&] { ++finished; });
      Type(d, 1001, "100000");
      Type(d, 1002, "100000");
      Click(d, kOk());
      finishedAfterOk = finished;
      return false;
    });
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(404);
    QCOMPARE(finishedAfterOk, 0);
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].text, std::string("The table of 100000 rows and 100000 columns is too large to insert.\r"
                                           "Please choose fewer rows or columns."));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("keep"));
    QVERIFY(f.platform.Done());
  }

 private:
  static int kOk() { return 1; }
};

QTEST_MAIN(TestTables)
#include "test_tables.moc"
