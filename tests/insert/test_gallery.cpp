// Image Gallery: the folder listing, the picture list and the block byte for byte, and the dialog.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QAbstractButton>
#include <fstream>
#include <QDialog>
#include <QtTest>
#include <Qsci/qsciscintillabase.h>

#include "core/files.h"
#include "documents/editor.h"
#include "insert/gallery_dialog.h"
#include "insert/gallery_fragments.h"
#include "support/fixture.h"

using namespace insert;

namespace {
QStringList ToList(const std::vector<std::string>& v) {
  QStringList l;
  for (const auto& s : v) l << QString::fromStdString(s);
  return l;
}
}  // namespace

class TestGallery : public QObject {
  Q_OBJECT
 private slots:
  void pictures_data();
  void pictures();
  void block_data();
  void block();
  void listFolder();
  void listMissingFolder();
  void okBeforeFolderStaysOpen();
  void galleryDialog_data();
  void galleryDialog();
  void folderKeptForTheRun();
  void emptyFolderAndCancelledPicker();
  void bigFolderWithOddNames();
};

void TestGallery::pictures_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("pictures");
  QTest::newRow("two") << "a.jpg\nb.png" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("empty lines skipped") << "\n\na.jpg\n\n\nb.png\n\n" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("CR LF lines") << "a.jpg\r\nb.png\r\n" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("leading blank kept") << " a.jpg\nb.png " << QStringList{" a.jpg", "b.png "};
  QTest::newRow("empty") << "" << QStringList{};
  QTest::newRow("non-ascii and blanks") << QString::fromUtf8("my photo é.jpg")
                                        << QStringList{QString::fromUtf8("my photo é.jpg")};
}

void TestGallery::pictures() {
  QFETCH(QString, text);
  QFETCH(QStringList, pictures);
  QCOMPARE(ToList(GalleryPictures(text.toStdString())), pictures);
}

void TestGallery::block_data() {
  QTest::addColumn<QStringList>("pictures");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QStringList>("pieces");
  QTest::newRow("two with style") << QStringList{"a.jpg", "b.png"} << true
                                  << QStringList{"SetImageStyle (width: 170px; height: 150px;)", "ViewGallery ()",
                                                 "    ShowImage [0] = 'images/a.jpg'",
                                                 "    ShowImage [1] = 'images/b.png'", "EndView ()"};
  QTest::newRow("two without style") << QStringList{"a.jpg", "b.png"} << false
                                     << QStringList{"ViewGallery ()", "    ShowImage [0] = 'images/a.jpg'",
                                                    "    ShowImage [1] = 'images/b.png'", "EndView ()"};
  QTest::newRow("leading blank") << QStringList{" a.jpg"} << false
                                 << QStringList{"ViewGallery ()", "    ShowImage [0] = 'images/ a.jpg'", "EndView ()"};
  QTest::newRow("empty folder") << QStringList{} << false << QStringList{"ViewGallery ()", "EndView ()"};
  QTest::newRow("empty folder with style")
      << QStringList{} << true
      << QStringList{"SetImageStyle (width: 170px; height: 150px;)", "ViewGallery ()", "EndView ()"};
}

void TestGallery::block() {
  QFETCH(QStringList, pictures);
  QFETCH(bool, style);
  QFETCH(QStringList, pieces);
  std::vector<std::string> p;
  for (const auto& s : pictures) p.push_back(s.toStdString());
  PieceFragment f = BuildGallery(p, style);
  QCOMPARE(ToList(f.pieces), pieces);
  QVERIFY(!f.breakAfterLast);
}

void TestGallery::listFolder() {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  for (const char* name : {"b.png", "A.jpg", "with blank.gif", "über.jpg", ".hidden"}) WriteAll(d + "/" + name, "x");
  QDir(dir.path()).mkdir("subfolder");
  QStringList expected{".hidden", "A.jpg", "b.png", "with blank.gif", QString::fromUtf8("über.jpg")};
  QCOMPARE(ToList(ListGalleryFolder(d)), expected);
}

void TestGallery::listMissingFolder() {
  QVERIFY(ListGalleryFolder("/nonexistent/folder/here").empty());
  QVERIFY(ListGalleryFolder("").empty());
}

namespace {

QString BoxText(QDialog& d, int id) {
  if (auto* e = d.findChild<QLineEdit*>(QString::number(id))) return e->text();
  if (auto* m = d.findChild<QPlainTextEdit*>(QString::number(id))) return m->toPlainText();
  return "<no box>";
}
void Click(QDialog& d, int id) {
  auto* b = d.findChild<QAbstractButton*>(QString::number(id));
  QVERIFY2(b, qPrintable(QString("no button %1").arg(id)));
  b->click();
}
std::string Eol(App& app) {
  switch (Send(app, QsciScintillaBase::SCI_GETEOLMODE)) {
    case QsciScintillaBase::SC_EOL_CRLF: return "\r\n";
    case QsciScintillaBase::SC_EOL_CR: return "\r";
    default: return "\n";
  }
}
std::string PictureFolder(const QTemporaryDir& dir, const QStringList& names) {
  for (const QString& n : names) std::ofstream((dir.path() + "/" + n).toStdString()) << "x";
  QDir(dir.path()).mkdir("thumbnails");
  return dir.path().toStdString();
}

}  // namespace

void TestGallery::okBeforeFolderStaysOpen() {
  EditorFixture f;
  f.Start();
  SetEditorText(f.app->activeEditor, "");
  bool accepted = true;
  QString focused;
  f.platform.AnswerDialog([&](QDialog& d) {
    d.show();
    d.findChild<QPlainTextEdit*>(QString::number(kGalleryImagesBox))->setPlainText("a.jpg");
    Click(d, 1);
    accepted = d.result() == QDialog::Accepted;
    focused = d.focusWidget() ? d.focusWidget()->objectName() : QString("<none>");
    return false;
  });
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Menu(421);
  QVERIFY(!accepted);
  QCOMPARE(focused, QString::number(kGalleryFolderBox));
  auto messages = f.platform.CallsOf("message");
  QCOMPARE(messages.size(), size_t(1));
  QCOMPARE(messages[0].text, std::string("Please click on the Browse button and select the image dictionary."));
  QCOMPARE(messages[0].icon, MsgIcon::Information);
  QCOMPARE(messages[0].title, std::string("Verosta editor"));
  QCOMPARE(EditorText(f.app->activeEditor), std::string());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestGallery::galleryDialog_data() {
  QTest::addColumn<bool>("style");
  QTest::newRow("inline style") << true;
  QTest::newRow("no style") << false;
}

void TestGallery::galleryDialog() {
  QFETCH(bool, style);
  EditorFixture f;
  f.Start();
  SetEditorText(f.app->activeEditor, "");
  f.app->settings.feedback = 1;
  f.app->settings.imageGalleryStyle = style ? 0 : 1;
  QTemporaryDir pictures;
  const std::string folder = PictureFolder(pictures, {"b.png", "a.jpg"});
  QString folderBox, listed;
  f.platform.AnswerDialog([&](QDialog& d) {
    f.platform.sounds.clear();
    Click(d, kGalleryBrowseButton);
    folderBox = BoxText(d, kGalleryFolderBox);
    listed = BoxText(d, kGalleryImagesBox);
    Click(d, kGalleryStyleBox);
    return true;
  });
  f.platform.AnswerFolder(folder);
  f.Menu(421);
  QCOMPARE(folderBox, QString::fromStdString(folder));
  QCOMPARE(listed, QString("a.jpg\nb.png"));
  QCOMPARE(f.platform.sounds.size(), size_t(1));  // Browse plays the feedback sound
  QCOMPARE(f.platform.CallsOf("folder").at(0).text, std::string("Please select an image folder"));
  const std::string eol = Eol(*f.app);
  std::string expected = style ? "SetImageStyle (width: 170px; height: 150px;)" + eol : "";
  expected += "ViewGallery ()" + eol + "    ShowImage [0] = 'images/a.jpg'" + eol +
              "    ShowImage [1] = 'images/b.png'" + eol + "EndView ()";
  QCOMPARE(EditorText(f.app->activeEditor), expected);
  QCOMPARE(Send(*f.app, QsciScintillaBase::SCI_GETCURRENTPOS), Send(*f.app, QsciScintillaBase::SCI_GETLENGTH));
  QCOMPARE(f.app->settings.imageGalleryStyle, style ? 1 : 0);
  QVERIFY(f.ReadFile("Verosta.ini").find(style ? "Image gallery style 1" : "Image gallery style 0") !=
          std::string::npos);
  QVERIFY(!core::FileExists(f.Path("Items.tmp")));
  QCOMPARE(f.app->galleryFolder, folder);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestGallery::folderKeptForTheRun() {
  EditorFixture f;
  f.Start();
  SetEditorText(f.app->activeEditor, "");
  f.app->settings.imageGalleryStyle = 0;
  QTemporaryDir pictures;
  const std::string folder = PictureFolder(pictures, {});
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kGalleryBrowseButton);
    return false;
  });
  f.platform.AnswerFolder(folder);
  f.Menu(421);
  QCOMPARE(f.app->galleryFolder, folder);

  // Reopened: the box starts empty, yet Ok works on the remembered folder; the edited list
  // is numbered without gaps.
  QString folderBox;
  bool accepted = false;
  f.platform.AnswerDialog([&](QDialog& d) {
    folderBox = BoxText(d, kGalleryFolderBox);
    d.findChild<QPlainTextEdit*>(QString::number(kGalleryImagesBox))->setPlainText("\n x.jpg\n\ny.gif\n\n");
    Click(d, 1);
    accepted = d.result() == QDialog::Accepted;
    return accepted;
  });
  f.Menu(421);
  QVERIFY(accepted);
  QCOMPARE(folderBox, QString());
  const std::string eol = Eol(*f.app);
  QCOMPARE(EditorText(f.app->activeEditor), "ViewGallery ()" + eol + "    ShowImage [0] = 'images/ x.jpg'" + eol +
                                                "    ShowImage [1] = 'images/y.gif'" + eol + "EndView ()");
  QVERIFY(f.platform.CallsOf("message").empty());
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestGallery::emptyFolderAndCancelledPicker() {
  EditorFixture f;
  f.Start();
  SetEditorText(f.app->activeEditor, "");
  f.app->settings.imageGalleryStyle = 1;
  QTemporaryDir pictures;
  const std::string folder = PictureFolder(pictures, {});
  QString listed, afterCancel;
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kGalleryBrowseButton);
    listed = BoxText(d, kGalleryImagesBox);
    Click(d, kGalleryBrowseButton);
    afterCancel = BoxText(d, kGalleryFolderBox);
    return true;
  });
  f.platform.AnswerFolder(folder);
  f.platform.AnswerFolder("");
  f.Menu(421);
  QCOMPARE(listed, QString());
  QCOMPARE(afterCancel, QString::fromStdString(folder));
  const std::string eol = Eol(*f.app);
  QCOMPARE(EditorText(f.app->activeEditor),
           "SetImageStyle (width: 170px; height: 150px;)" + eol + "ViewGallery ()" + eol + "EndView ()");
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestGallery::bigFolderWithOddNames() {
  EditorFixture f;
  f.Start();
  SetEditorText(f.app->activeEditor, "");
  QTemporaryDir pictures;
  QStringList names;
  for (int i = 0; i < 2000; ++i) names << QString::fromUtf8("Bild Nr %1 größer.jpg").arg(i, 4, 10, QChar('0'));
  const std::string folder = PictureFolder(pictures, names);
  QString listed;
  f.platform.AnswerDialog([&](QDialog& d) {
    Click(d, kGalleryBrowseButton);
    listed = BoxText(d, kGalleryImagesBox);
    return true;
  });
  f.platform.AnswerFolder(folder);
  f.Menu(421);
  QCOMPARE(listed, names.join("\n"));
  const std::string text = EditorText(f.app->activeEditor);
  QVERIFY(text.find("    ShowImage [1999] = 'images/Bild Nr 1999 gr\xc3\xb6\xc3\x9f"
                    "er.jpg'") != std::string::npos);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestGallery)
#include "test_gallery.moc"
