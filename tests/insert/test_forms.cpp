// The Form dialog: the fragment and the .form file byte for byte, reading form files,
// and Open, Save and Ok through the dialog.
#include <QTest>

#include "insert/forms.h"
#include "support/fixture.h"
#include "test_insert_dialog_support.h"

using namespace insert;

namespace {

std::string Golden(const std::string& name) {
  return ReadAll(std::string(VEROSTA_TEST_DATA) + "/insert/golden/" + name);
}

FormValues Contact(int style) {
  return {.action = "mailto:ann@example.com",
          .name = "Your name:",
          .email = "E-mail:",
          .address = "Address:",
          .post = "Post code:",
          .country = "Country:",
          .comments = "Comments:",
          .submit = "submit",
          .clear = "Clear",
          .style = style};
}

// The values of golden/contact.form, blanks included.
FormValues ContactFile() {
  FormValues v = Contact(0);
  v.action = " mailto:ann@example.com ";
  v.clear = " Clear  ";
  return v;
}

bool SameTexts(const FormValues& a, const FormValues& b) {
  return a.action == b.action && a.name == b.name && a.email == b.email && a.address == b.address && a.post == b.post &&
         a.country == b.country && a.comments == b.comments && a.submit == b.submit && a.clear == b.clear;
}

constexpr int kAction = 1001, kClear = 1009, kStyle = 1010, kOpen = 3001, kSave = 3002;

}  // namespace

class TestForms : public QObject {
  Q_OBJECT
 private slots:
  void fragment_data() {
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("golden");
    QTest::newRow("inline style") << false << 1 << "form_styled.html";
    QTest::newRow("no inline style") << false << 0 << "form_plain.html";
    QTest::newRow("all boxes empty") << true << 0 << "form_empty.html";
  }
  void fragment() {
    QFETCH(bool, empty);
    QFETCH(int, style);
    QFETCH(QString, golden);
    FormValues v = empty ? FormValues{} : Contact(style);
    v.style = style;
    std::string expected = Golden(golden.toStdString());
    QVERIFY(!expected.empty());
    std::string form = BuildForm(v);
    QCOMPARE(form, expected);
    // "50px" and an empty name are what the form has always written; browsers read them.
    QCOMPARE(TidyErrors(form, {"attribute \"size\" has invalid value \"50px\"", "attribute \"name\" lacks value"}),
             std::string());
  }

  void quotesStayInsideTheirAttributes() {
    FormValues v = Contact(0);
    v.action = "a\"b";
    v.submit = "s\"";
    v.clear = "\"";
    std::string form = BuildForm(v);
    QVERIFY(form.find("action=\"a&quot;b\">") != std::string::npos);
    QVERIFY(form.find("name=\"s&quot;\" value=\"Send\"") != std::string::npos);
    QVERIFY(form.find("<input type=\"reset\" value=\"&quot;\">") != std::string::npos);
  }

  void formFile() { QCOMPARE(WriteFormFile(ContactFile()), Golden("contact.form")); }

  void readFormFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::newRow("golden") << QByteArray::fromStdString(Golden("contact.form")) << " mailto:ann@example.com "
                            << "Your name:";
    QTest::newRow("key without blank skipped") << QByteArray("Action\r\nName x\r\n") << "old action"
                                               << "x";
    QTest::newRow("lower-case key skipped") << QByteArray("action a\r\nname b\r\n") << "old action"
                                            << "old name";
    QTest::newRow("later line wins") << QByteArray("Action a\r\nAction b\r\n") << "b"
                                     << "old name";
    QTest::newRow("LF and CR line ends") << QByteArray("Action a\nName b\rEmail c") << "a"
                                         << "b";
    QTest::newRow("empty value") << QByteArray("Action \r\n") << ""
                                 << "old name";
    QTest::newRow("binary garbage") << QByteArray("\x01\xff\x00zz\r\n", 6) << "old action"
                                    << "old name";
  }
  void readFormFile() {
    QFETCH(QByteArray, file);
    QFETCH(QString, action);
    QFETCH(QString, name);
    FormValues v{.action = "old action", .name = "old name"};
    ReadFormFile(file.toStdString(), v);
    QCOMPARE(QString::fromStdString(v.action), action);
    QCOMPARE(QString::fromStdString(v.name), name);
  }

  void roundTripKeepsBlanks() {
    FormValues v = ContactFile();
    v.comments = "  ";
    v.country = QString::fromUtf8("Österreich ").toStdString();
    FormValues back;
    ReadFormFile(WriteFormFile(v), back);
    QVERIFY(SameTexts(v, back));
  }

  void saveAndOpenThroughTheDialog() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "", 0);
    f.app->settings.existingFile = 1;
    std::string path = f.Path("my contact.form");
    f.platform.AnswerDialog([&](QDialog& d) {
      Type(d, kAction, " mailto:ann@example.com ");
      Type(d, 1002, "Your name:");
      Type(d, 1003, "E-mail:");
      Type(d, 1004, "Address:");
      Type(d, 1005, "Post code:");
      Type(d, 1006, "Country:");
      Type(d, 1007, "Comments:");
      Type(d, 1008, "submit");
      Type(d, kClear, " Clear  ");
      Click(d, kSave);
      return false;
    });
    f.platform.AnswerSave(path);
    f.Menu(403);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(ReadAll(path), Golden("contact.form"));
    auto saves = f.platform.CallsOf("save");
    QCOMPARE(saves[0].fileDialog.title, std::string("Save Form"));
    QCOMPARE(saves[0].fileDialog.defaultExtension, std::string("form"));
    QVERIFY(saves[0].fileDialog.askOverwrite);
    QCOMPARE(saves[0].fileDialog.filters.size(), size_t(2));
    QCOMPARE(saves[0].fileDialog.filters[0].first, std::string("Form Files (*.form)"));
    // Save stores the texts in memory only.
    QCOMPARE(f.app->settings.formClear, std::string(" Clear  "));
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("Verosta.ini"))));
    QCOMPARE(EditorText(f.app->activeEditor), std::string());

    // Open restores every box exactly and leaves the settings and the check box alone.
    f.app->settings = Settings{};
    f.app->settings.formStyle = 1;
    std::vector<std::string> boxes;
    bool styleChecked = false;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, kOpen);
      for (int id = kAction; id <= kClear; ++id) boxes.push_back(Field(d, id));
      styleChecked = IsChecked(d, kStyle);
      return false;
    });
    f.platform.AnswerOpen({path});
    f.Menu(403);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(boxes, (std::vector<std::string>{" mailto:ann@example.com ", "Your name:", "E-mail:", "Address:",
                                              "Post code:", "Country:", "Comments:", "submit", " Clear  "}));
    QVERIFY(styleChecked);
    QCOMPARE(f.app->settings.formAction, std::string());
  }

  void okStoresWritesAndInserts() {
    EditorFixture f;
    f.Start();
    SetDocument(*f.app, "ab", 1);
    FormValues c = Contact(1);
    Settings& s = f.app->settings;
    s.formAction = c.action;
    s.formName = c.name;
    s.formEmail = c.email;
    s.formAddress = c.address;
    s.formPost = c.post;
    s.formCountry = c.country;
    s.formComments = c.comments;
    s.formSubmit = c.submit;
    s.formClear = "old";
    s.formStyle = 1;
    f.platform.AnswerDialog([](QDialog& d) {
      Type(d, kClear, "Clear");
      Click(d, kStyle);  // turns inline style off
      return true;
    });
    f.Menu(403);
    std::string form = Golden("form_plain.html");
    QCOMPARE(EditorText(f.app->activeEditor), "a" + form + "b");
    QCOMPARE(s.formClear, std::string("Clear"));
    QCOMPARE(s.formStyle, 0);
    std::string ini = f.ReadFile("Verosta.ini");
    QVERIFY(ini.find("Form clear Clear\r\n") != std::string::npos);
  }

  void saveFailureIsReported() {
    EditorFixture f;
    f.Start();
    std::string path = f.Path("missing folder/x.form");
    f.platform.AnswerDialog([](QDialog& d) {
      Click(d, kSave);
      return false;
    });
    f.platform.AnswerSave(path);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(403);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), size_t(1));
    QVERIFY(messages[0].text.rfind("The form file could not be saved:\r" + path + "\r", 0) == 0);
  }

  void openOfAMissingFileOrCancelDoesNothing() {
    EditorFixture f;
    f.Start();
    f.app->settings.formName = "kept";
    std::string after;
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, kOpen);
      Click(d, kOpen);
      after = Field(d, 1002);
      return false;
    });
    f.platform.AnswerOpen({f.Path("nothing.form")});
    f.platform.AnswerOpen({});
    f.Menu(403);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(after, std::string("kept"));
  }
};

QTEST_MAIN(TestForms)
#include "test_forms.moc"
