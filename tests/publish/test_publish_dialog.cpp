// The Publish dialog, the profile table and the profile files.
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "documents/application.h"
#include "app/shell.h"
#include "publish/ftp_profiles.h"
#include "publish/publish_dialog.h"
#include "support/fixture.h"

namespace {

PublishFields Sample() {
  PublishFields f;
  f.programName = "  My Site ";
  f.remoteFolder = "/www/";
  f.domainName = " mysite.net";
  f.hostName = "ftp.mysite.net ";
  f.userId = "anna";
  f.password = "p a ss ";
  return f;
}

std::string Golden(const std::string& name) {
  return ReadAll(std::string(VEROSTA_TEST_DATA) + "/publish/golden/" + name);
}

unsigned Mode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
}

QString Text(QDialog& d, const char* id) {
  if (auto* e = d.findChild<QLineEdit*>(id)) return e->text();
  if (auto* b = d.findChild<QAbstractButton*>(id)) return b->text();
  if (auto* l = d.findChild<QLabel*>(id)) return l->text();
  return "<missing>";
}
void Type(QDialog& d, const char* id, const QString& text) { d.findChild<QLineEdit*>(id)->setText(text); }
void Click(QDialog& d, const char* id) { d.findChild<QAbstractButton*>(id)->click(); }

void FillAll(QDialog& d, const PublishFields& f) {
  Type(d, "101", QString::fromStdString(f.programName));
  Type(d, "148", QString::fromStdString(f.remoteFolder));
  Type(d, "109", QString::fromStdString(f.domainName));
  Type(d, "103", QString::fromStdString(f.hostName));
  Type(d, "105", QString::fromStdString(f.userId));
  Type(d, "107", QString::fromStdString(f.password));
}

}  // namespace

class PublishDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void sameNameInOtherCaseSharesOneEntry() {
    FtpProfileTable t;
    QCOMPARE(StoreProfile(t, "MySite", "ftp.one", "u1", "p1", "d1"), 1);
    QCOMPARE(StoreProfile(t, "other", "ftp.other", "u", "p", "d"), 2);
    QCOMPARE(StoreProfile(t, "mysite", "ftp.two", "u2", "p2", "d2"), 1);
    QCOMPARE(t.entries[1].programName, FixedField("mysite", 32));
    QCOMPARE(t.entries[1].hostName, FixedField("ftp.two", 128));
    QCOMPARE(t.entries[1].userId, FixedField("u2", 64));
    QCOMPARE(t.entries[1].password, FixedField("p2", 32));
    QCOMPARE(t.entries[1].domainName, FixedField("d2", 64));
    QVERIFY(IsFreeProfile(t.entries[3]));
  }

  void longNamesAreCutAndFindTheirEntry() {
    FtpProfileTable t;
    std::string forty(40, 'n');
    QCOMPARE(StoreProfile(t, forty, std::string(200, 'h'), "u", "p", "d"), 1);
    QCOMPARE(StoreProfile(t, forty, "h2", "u", "p", "d"), 1);
    QCOMPARE(t.entries[1].programName, std::string(32, 'n'));
    QCOMPARE(t.entries[1].hostName.size(), size_t(128));
    QCOMPARE(FindProfileByName(t, std::string(32, 'n')), 1);
    QCOMPARE(FindProfileByName(t, forty), 0);
  }

  void fullTableRefusesANewName() {
    EditorFixture f;
    f.Start();
    for (int n = 1; n <= 32; ++n)
      QCOMPARE(StoreProfile(*f.app->profiles, "p" + std::to_string(n), "h", "u", "p", "d"), n);
    QCOMPARE(StoreProfile(*f.app->profiles, "P7", "h7", "u", "p", "d"), 7);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    PublishFields boxes = Sample();
    PressPublish(*f.app, boxes);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto m = f.platform.CallsOf("message");
    QCOMPARE(m.size(), size_t(1));
    QCOMPARE(m[0].text, std::string("The maximum of 32 FTP profiles has been reached."));
    QCOMPARE(m[0].icon, MsgIcon::Information);
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("FtpProjs.ini"))));
    QVERIFY(f.app->publish.programName.empty());
  }

  void layoutsByteForByte() {
    QCOMPARE(PublishLayout(Sample()), Golden("publish_layout.ini"));
    QCOMPARE(SaveLayout(Sample()), Golden("save_layout.ini"));
  }

  void readingRules() {
    PublishFields f;
    f.remoteFolder = "kept";
    ReadPublishFields("User id ann\r\nprogram name ignored\r\nProgram name  Spaced \r\nextra line\nPassword pw\r"
                      "Host name h1\r\nHost name h2\r\nDomain name d",
                      f);
    QCOMPARE(f.programName, std::string(" Spaced "));
    QCOMPARE(f.remoteFolder, std::string("kept"));
    QCOMPARE(f.hostName, std::string("h2"));
    QCOMPARE(f.userId, std::string("ann"));
    QCOMPARE(f.password, std::string("pw"));
    QCOMPARE(f.domainName, std::string("d"));
    PublishFields g = Sample();
    QVERIFY(!ReadProfileFile("/nonexistent/profile.ini", g));
    QCOMPARE(g.hostName, Sample().hostName);
  }

  void dialogShowsItsControls() {
    EditorFixture f;
    f.Start();
    f.app->docs[f.app->activeSlot].path = f.Path("index.web");
    f.app->currentPath = f.Path("index.web");
    f.app->publish = Sample();
    f.app->settings.lowercaseUpload = 1;
    f.app->settings.feedback = 1;
    auto check = [&](QDialog& d) {
      QCOMPARE(d.windowTitle(), QString("Publish"));
      QCOMPARE(Text(d, "100"), QString("Program name:"));
      QCOMPARE(Text(d, "101"), QString("index.web"));
      QCOMPARE(Text(d, "127"), QString("Open"));
      QCOMPARE(Text(d, "147"), QString("Remote folder:"));
      QCOMPARE(Text(d, "148"), QString("/www/"));
      QCOMPARE(Text(d, "128"), QString("Save"));
      QCOMPARE(Text(d, "102"), QString("Host address:"));
      QCOMPARE(Text(d, "103"), QString("ftp.mysite.net "));
      QCOMPARE(Text(d, "104"), QString("User ID:"));
      QCOMPARE(Text(d, "105"), QString("anna"));
      QCOMPARE(Text(d, "106"), QString("Password:"));
      QCOMPARE(Text(d, "107"), QString("p a ss "));
      QCOMPARE(d.findChild<QLineEdit*>("107")->echoMode(), QLineEdit::Password);  // masked; the "Show" box reveals it
      QCOMPARE(Text(d, "108"), QString("Comment:"));
      QCOMPARE(Text(d, "109"), QString(" mysite.net"));
      QCOMPARE(Text(d, "119"), QString(" Force lowercase upload"));
      QVERIFY(d.findChild<QCheckBox*>("119")->isChecked());
      QCOMPARE(Text(d, "400"), QString("Help"));
      QCOMPARE(Text(d, "300"), QString("Publish"));
      QCOMPARE(Text(d, "2"), QString("Cancel"));
      QVERIFY(d.focusWidget() == d.findChild<QLineEdit*>("101"));
    };
    f.platform.AnswerDialog([&](QDialog& d) {
      check(d);
      Click(d, "119");
      Click(d, "400");
      return false;
    });
    f.Key(4057);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.app->settings.lowercaseUpload, 0);
    auto help = f.platform.CallsOf("help");
    QCOMPARE(help.size(), size_t(1));
    QCOMPARE(help[0].context, 62);
    QCOMPARE(f.platform.sounds.size(), size_t(1));
    QCOMPARE(f.platform.CallsOf("dialog").size(), size_t(1));
  }

  void menuOpensTheDialogToo() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([](QDialog& d) { return d.windowTitle() == "Publish" && false; });
    f.Menu(902);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void openLoadsAProfile() {
    EditorFixture f;
    f.Start();
    f.app->publish = Sample();
    f.WriteFile("club.ini", "Host name ftp.club.org\r\nProgram name Club\r\nPassword secret\r\n");
    QStringList seen;
    auto note = [&](QDialog& d) {
      for (const char* id : {"101", "148", "103", "105", "107", "109"}) seen << Text(d, id);
    };
    f.platform.AnswerDialog([&](QDialog& d) {
      Click(d, "127");
      note(d);
      Type(d, "103", "typed.host");
      Click(d, "127");  // cancelled: the remembered values come back
      note(d);
      return false;
    });
    f.platform.AnswerOpen({f.Path("club.ini")});
    f.platform.AnswerOpen({});
    f.Key(4057);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto opens = f.platform.CallsOf("open");
    QCOMPARE(opens[0].fileDialog.title, std::string("Open FTP Profile"));
    QCOMPARE(opens[0].fileDialog.filters.size(), size_t(2));
    QCOMPARE(opens[0].fileDialog.filters[0],
             std::make_pair(std::string("FTP Profile Files (*.ini)"), std::string("*.ini")));
    QCOMPARE(opens[0].fileDialog.filters[1], std::make_pair(std::string("All Files (*.*)"), std::string("*.*")));
    QCOMPARE(f.app->publish.hostName, std::string("ftp.club.org"));
    QStringList once = {"Club", "/www/", "ftp.club.org", "anna", "secret", " mysite.net"};
    QCOMPARE(seen, once + once);
  }

  void saveWritesBothFiles_data() {
    QTest::addColumn<bool>("chosen");
    QTest::newRow("file chosen") << true;
    QTest::newRow("dialog cancelled") << false;
  }
  void saveWritesBothFiles() {
    QFETCH(bool, chosen);
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      FillAll(d, Sample());
      Click(d, "128");
      return false;
    });
    f.platform.AnswerSave(chosen ? f.Path("mine.ini") : "");
    f.Key(4057);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto save = f.platform.CallsOf("save")[0].fileDialog;
    QCOMPARE(save.title, std::string("Save FTP Profile"));
    QCOMPARE(save.defaultExtension, std::string("ini"));
    QVERIFY(save.askOverwrite);
    QCOMPARE(f.app->publish.programName, Sample().programName);
    QCOMPARE(f.ReadFile("FtpProjs.ini"), Golden("save_layout.ini"));
    QCOMPARE(Mode(f.Path("FtpProjs.ini")), 0600u);
    QCOMPARE(QFile::exists(QString::fromStdString(f.Path("mine.ini"))), chosen);
    if (chosen) {
      QCOMPARE(f.ReadFile("mine.ini"), Golden("save_layout.ini"));
      QCOMPARE(Mode(f.Path("mine.ini")), 0600u);
    }
  }

  // Saved profiles have a folder of their own: one named "Verosta" is not the settings,
  // and the settings file itself (reached by climbing out of that folder) is refused.
  void profileNamedVerostaLeavesTheSettingsAlone_data() {
    QTest::addColumn<QString>("chosen");  // in the configuration folder
    QTest::addColumn<bool>("saved");
    QTest::newRow("a profile named Verosta") << "Profiles/Verosta.ini" << true;
    QTest::newRow("the settings themselves") << "Verosta.ini" << false;
  }
  void profileNamedVerostaLeavesTheSettingsAlone() {
    QFETCH(QString, chosen);
    QFETCH(bool, saved);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Font size 14\r\n");
    f.Start();
    const std::string path = f.ConfigFolder() + "/" + chosen.toStdString();
    f.platform.AnswerDialog([&](QDialog& d) {
      FillAll(d, Sample());
      Click(d, "128");
      return false;
    });
    f.platform.AnswerSave(path);
    if (!saved) f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Key(4057);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("save")[0].fileDialog.folder, f.Path("Profiles"));
    QCOMPARE(f.ReadFile("Verosta.ini"), std::string("Font size 14\r\n"));
    QCOMPARE(f.platform.CallsOf("message").size(), size_t(saved ? 0 : 1));
    if (saved) {
      QCOMPARE(ReadAll(path), Golden("save_layout.ini"));
      QCOMPARE(Mode(path), 0600u);
    }
  }

  void publishButtonStoresAndWrites() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      FillAll(d, Sample());
      Click(d, "300");
      Type(d, "101", " my site");
      Type(d, "103", "second.host");
      Click(d, "300");
      return false;
    });
    f.platform.AnswerRun(0);  // no translator runs: no page is made, nothing is sent
    f.Key(4057);
    const FtpProfileTable& t = *f.app->profiles;
    QCOMPARE(t.entries[1].programName, FixedField("my site", 32));
    QCOMPARE(t.entries[1].hostName, FixedField("second.host", 128));
    QCOMPARE(t.entries[1].password, FixedField("p a ss", 32));
    QCOMPARE(t.entries[1].domainName, FixedField("mysite.net", 64));
    QVERIFY(IsFreeProfile(t.entries[2]));
    PublishFields expected = Sample();
    expected.programName = " my site";
    expected.hostName = "second.host";
    QCOMPARE(f.ReadFile("FtpProjs.ini"), PublishLayout(expected));
    QCOMPARE(Mode(f.Path("FtpProjs.ini")), 0600u);
  }

  void publishOfANeverSavedDocumentStops() {
    EditorFixture f;
    f.Start();
    f.app->docs[f.app->activeSlot].path.clear();
    f.platform.AnswerMessage(MsgAnswer::Ok);
    PressPublish(*f.app, Sample());
    auto m = f.platform.CallsOf("message");
    QCOMPARE(m.back().text, std::string(" Document was not saved, FTP upload cancelled."));
    QCOMPARE(m.back().icon, MsgIcon::None);
    QCOMPARE(f.ReadFile("FtpProjs.ini"), Golden("publish_layout.ini"));
  }

  void startUpReadsTheRememberedFields() {
    EditorFixture f;
    f.WriteFile("FtpProjs.ini", Golden("publish_layout.ini"));
    f.Start();
    QCOMPARE(f.app->publish.programName, Sample().programName);
    QCOMPARE(f.app->publish.remoteFolder, Sample().remoteFolder);
    QCOMPARE(f.app->publish.password, Sample().password);
  }

  // The file holds a password: whatever mode an existing file had, only its owner may read it.
  void existingFileIsMadeOwnerOnly_data() {
    QTest::addColumn<unsigned>("before");
    QTest::addColumn<unsigned>("after");
    QTest::newRow("group readable") << 0640u << 0600u;
    QTest::newRow("world readable") << 0644u << 0600u;
    QTest::newRow("world writable") << 0666u << 0600u;
    QTest::newRow("owner only stays") << 0600u << 0600u;
    QTest::newRow("read-only for the owner stays") << 0400u << 0400u;
  }
  void existingFileIsMadeOwnerOnly() {
    QFETCH(unsigned, before);
    QFETCH(unsigned, after);
    EditorFixture f;
    f.WriteFile("shared.ini", "old");
    QVERIFY(chmod(f.Path("shared.ini").c_str(), before) == 0);
    QVERIFY(WriteProfileFile(f.Path("shared.ini"), SaveLayout(Sample())));
    QCOMPARE(Mode(f.Path("shared.ini")), after);
    QCOMPARE(f.ReadFile("shared.ini"), Golden("save_layout.ini"));
  }

  void passwordIsMaskedUntilShown() {
    EditorFixture f;
    f.Start();
    f.platform.AnswerDialog([&](QDialog& d) {
      auto* box = d.findChild<QLineEdit*>("107");
      auto* show = d.findChild<QCheckBox*>("showPassword");
      if (!box || !show || box->echoMode() != QLineEdit::Password || show->isChecked()) return false;
      show->click();
      if (box->echoMode() != QLineEdit::Normal) return false;
      show->click();
      return box->echoMode() == QLineEdit::Password;
    });
    f.Key(4057);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(f.platform.calls.back().kind == "dialog");
  }
};

QTEST_MAIN(PublishDialogTest)
#include "test_publish_dialog.moc"
