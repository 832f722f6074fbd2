// Play Sound and Play Video: pieces byte for byte, the layout they leave in the editor,
// and the dialogs.
#include <QComboBox>
#include <QLineEdit>
#include <QAbstractButton>
#include <QDialog>
#include <QtTest>
#include <Qsci/qsciscintillabase.h>

#include "documents/editor.h"
#include "insert/media_dialogs.h"
#include "insert/media_fragments.h"
#include "support/fixture.h"

using namespace insert;

namespace {
QStringList Pieces(const PieceFragment& f) {
  QStringList l;
  for (const auto& p : f.pieces) l << QString::fromStdString(p);
  return l;
}
}  // namespace

class TestMedia : public QObject {
  Q_OBJECT
 private slots:
  void sound_data();
  void sound();
  void video_data();
  void video();
  void soundDialog_data();
  void soundDialog();
  void soundInMiddleOfLine();
  void videoDialog_data();
  void videoDialog();
  void browseSpecs_data();
  void browseSpecs();
};

void TestMedia::sound_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<bool>("autoplay");
  QTest::addColumn<QStringList>("pieces");
  const QString noSupport = "Your browser does not support the audio element.";
  QTest::newRow("controls") << "/home/ann/music/song.mp3" << false
                            << QStringList{"<audio controls>", "<source src=\"file:///home/ann/music/song.mp3\"",
                                           "type=\"audio/mp3\">", noSupport, "</audio>"};
  QTest::newRow("autoplay") << "/home/ann/music/song.ogg" << true
                            << QStringList{"<audio autoplay>", "<source src=\"file:///home/ann/music/song.ogg\"",
                                           "type=\"audio/ogg\">", noSupport, "</audio>"};
  QTest::newRow("case kept") << "/m/A.MP3" << false
                             << QStringList{"<audio controls>", "<source src=\"file:///m/A.MP3\"",
                                            "type=\"audio/MP3\">", noSupport, "</audio>"};
  QTest::newRow("no extension") << "/m/song" << false
                                << QStringList{"<audio controls>", "<source src=\"file:///m/song\"", "type=\"audio/\">",
                                               noSupport, "</audio>"};
  QTest::newRow("dot only in folder") << "/m.d/song" << false
                                      << QStringList{"<audio controls>", "<source src=\"file:///m.d/song\"",
                                                     "type=\"audio/\">", noSupport, "</audio>"};
  QTest::newRow("windows path") << "C:\\Music\\a.wav" << false
                                << QStringList{"<audio controls>", "<source src=\"file:///C:/Music/a.wav\"",
                                               "type=\"audio/wav\">", noSupport, "</audio>"};
  QTest::newRow("empty path") << "" << false
                              << QStringList{"<audio controls>", "<source src=\"file:///\"", "type=\"audio/\">",
                                             noSupport, "</audio>"};
}

void TestMedia::sound() {
  QFETCH(QString, path);
  QFETCH(bool, autoplay);
  QFETCH(QStringList, pieces);
  PieceFragment f = BuildSound({path.toStdString(), autoplay});
  QCOMPARE(Pieces(f), pieces);
  QVERIFY(f.breakAfterLast);
}

void TestMedia::video_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("width");
  QTest::addColumn<QString>("height");
  QTest::addColumn<bool>("autoplay");
  QTest::addColumn<QStringList>("pieces");
  const QString noSupport = "Your browser does not support the video tag.";
  QTest::newRow("mp4 controls") << "/v/clip.mp4"
                                << "240px"
                                << "240px" << false
                                << QStringList{"<video width=\"240px\" height=\"240px\" controls>\r\n",
                                               "<source src=\"file:///v/clip.mp4\"", "type=\"video/mp4\">", noSupport,
                                               "</video>"};
  QTest::newRow("autoplay") << "/v/clip.mp4"
                            << "100px"
                            << "275px" << true
                            << QStringList{"<video width=\"100px\" height=\"275px\" controls autoplay>\r\n",
                                           "<source src=\"file:///v/clip.mp4\"", "type=\"video/mp4\">", noSupport,
                                           "</video>"};
  QTest::newRow("no extension") << "/v/clip"
                                << "240px"
                                << "240px" << false
                                << QStringList{"<video width=\"240px\" height=\"240px\" controls>\r\n",
                                               "<source src=\"file:///v/clip\"", "type=\"video/\">", noSupport,
                                               "</video>"};
  QTest::newRow("blanks trimmed from type")
      << "/v/clip. mp4 "
      << ""
      << "" << false
      << QStringList{"<video width=\"\" height=\"\" controls>\r\n", "<source src=\"file:///v/clip.%20mp4%20\"",
                     "type=\"video/mp4\">", noSupport, "</video>"};
}

void TestMedia::video() {
  QFETCH(QString, path);
  QFETCH(QString, width);
  QFETCH(QString, height);
  QFETCH(bool, autoplay);
  QFETCH(QStringList, pieces);
  PieceFragment f = BuildVideo({path.toStdString(), width.toStdString(), height.toStdString(), autoplay});
  QCOMPARE(Pieces(f), pieces);
  QVERIFY(!f.breakAfterLast);
}

namespace {

void SetBox(QDialog& d, int id, const QString& text) {
  if (auto* e = d.findChild<QLineEdit*>(QString::number(id))) e->setText(text);
  else if (auto* c = d.findChild<QComboBox*>(QString::number(id))) c->setEditText(text);
  else QFAIL(qPrintable(QString("no box %1").arg(id)));
}
QString BoxText(QDialog& d, int id) {
  auto* e = d.findChild<QLineEdit*>(QString::number(id));
  return e ? e->text() : QString("<no box>");
}
void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}
// The editor's own end of line, which the line break step writes.
std::string Eol(App& app) {
  switch (Send(app, QsciScintillaBase::SCI_GETEOLMODE)) {
    case QsciScintillaBase::SC_EOL_CRLF: return "\r\n";
    case QsciScintillaBase::SC_EOL_CR: return "\r";
    default: return "\n";
  }
}
// Puts `before` + `after` into the editor with the caret between them.
void StartWith(EditorFixture& f, const std::string& before, const std::string& after = "") {
  f.Start();
  SetEditorText(f.app->activeEditor, before + after);
  Send(*f.app, QsciScintillaBase::SCI_GOTOPOS, before.size());
}
std::string Lines(const QStringList& lines, const std::string& eol) {
  std::string s;
  for (const QString& l : lines) s += l.toStdString() + eol;
  return s;
}

}  // namespace

void TestMedia::soundDialog_data() {
  QTest::addColumn<bool>("autoplay");
  QTest::newRow("controls") << false;
  QTest::newRow("autoplay") << true;
}

void TestMedia::soundDialog() {
  QFETCH(bool, autoplay);
  EditorFixture f;
  StartWith(f, "");
  f.app->settings.autoSound = autoplay ? 0 : 1;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kSoundPathBox, "/home/ann/song.mp3");
    Click(d, kSoundAutoplayBox);
    return true;
  });
  f.Menu(411);
  const std::string eol = Eol(*f.app);
  QCOMPARE(EditorText(f.app->activeEditor),
           Lines({autoplay ? "<audio autoplay>" : "<audio controls>", "<source src=\"file:///home/ann/song.mp3\"",
                  "type=\"audio/mp3\">", "Your browser does not support the audio element.", "</audio>"},
                 eol));
  // The caret waits on the new empty line after the element.
  QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_GETCURRENTPOS), Send(*f.app, QsciScintillaBase::SCI_GETLENGTH));
  QCOMPARE(f.app->settings.autoSound, autoplay ? 1 : 0);
  QVERIFY(f.ReadFile("Verosta.ini").find(autoplay ? "Auto sound 1" : "Auto sound 0") != std::string::npos);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestMedia::soundInMiddleOfLine() {
  EditorFixture f;
  StartWith(f, "abc", "XYZ");
  f.app->settings.autoSound = 0;
  f.platform.AnswerDialog([&](QDialog& d) {
    SetBox(d, kSoundPathBox, "/m/a.ogg");
    return true;
  });
  f.Menu(411);
  const std::string eol = Eol(*f.app);
  QCOMPARE(EditorText(f.app->activeEditor),
           Lines({"abc<audio controls>XYZ", "<source src=\"file:///m/a.ogg\"", "type=\"audio/ogg\">",
                  "Your browser does not support the audio element.", "</audio>"},
                 eol));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestMedia::videoDialog_data() {
  QTest::addColumn<bool>("autoplay");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("type");
  QTest::newRow("mp4") << false << "/v/clip.mp4"
                       << "mp4";
  QTest::newRow("autoplay") << true << "/v/clip.mp4"
                            << "mp4";
  QTest::newRow("no extension") << false << "/v/clip"
                                << "";
}

void TestMedia::videoDialog() {
  QFETCH(bool, autoplay);
  QFETCH(QString, path);
  QFETCH(QString, type);
  EditorFixture f;
  StartWith(f, "");
  f.app->settings.autoVideo = autoplay ? 1 : 0;
  QString initialWidth;
  f.platform.AnswerDialog([&](QDialog& d) {
    initialWidth = d.findChild<QComboBox*>(QString::number(kVideoWidthBox))->currentText();
    SetBox(d, kVideoPathBox, path);
    SetBox(d, kVideoHeightBox, "275px");
    return true;
  });
  f.Menu(412);
  QCOMPARE(initialWidth, QString("240px"));
  const std::string eol = Eol(*f.app);
  // The CR LF of the first piece is pushed along and ends the "</video>" line.
  std::string open = std::string("<video width=\"240px\" height=\"275px\" controls") + (autoplay ? " autoplay>" : ">");
  QCOMPARE(EditorText(f.app->activeEditor), open + eol + "<source src=\"file://" + path.toStdString() + "\"" + eol +
                                                "type=\"video/" + type.toStdString() + "\">" + eol +
                                                "Your browser does not support the video tag." + eol + "</video>\r\n");
  QCOMPARE(f.app->settings.autoVideo, autoplay ? 1 : 0);
  QVERIFY(f.ReadFile("Verosta.ini").find(autoplay ? "Auto video 1" : "Auto video 0") != std::string::npos);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestMedia::browseSpecs_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QStringList>("patterns");
  QTest::newRow("sound") << 411 << "Open Sound File" << QStringList{"*.mp3", "*.ogg", "*.wav", "*.*"};
  QTest::newRow("video") << 412 << "Open Video File" << QStringList{"*.mp4", "*.*"};
}

void TestMedia::browseSpecs() {
  QFETCH(int, command);
  QFETCH(QString, title);
  QFETCH(QStringList, patterns);
  EditorFixture f;
  StartWith(f, "");
  QString afterBrowse, afterCancel;
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, 102);
    afterBrowse = BoxText(d, 101);
    Click(d, 102);
    afterCancel = BoxText(d, 101);
    return false;
  });
  f.platform.AnswerOpen({"/media/Music Folder/track.mp3"});
  f.platform.AnswerOpen({});
  f.Menu(command);
  QCOMPARE(afterBrowse, QString("/media/Music Folder/track.mp3"));
  QCOMPARE(afterCancel, afterBrowse);
  auto fileDialog = f.platform.CallsOf("open").at(0).fileDialog;
  QCOMPARE(QString::fromStdString(fileDialog.title), title);
  QStringList got;
  for (const auto& p : fileDialog.filters) got << QString::fromStdString(p.second);
  QCOMPARE(got, patterns);
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestMedia)
#include "test_media.moc"
