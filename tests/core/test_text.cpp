#include <QTest>

#include "core/text.h"

class TextTest : public QObject {
  Q_OBJECT
 private slots:
  void splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("lone lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("ctrl-z ends") << QByteArray("a\r\nb\x1a\r\nc") << QStringList{"a", "b"};
    QTest::newRow("empty") << QByteArray("") << QStringList{};
    QTest::newRow("nul kept") << QByteArray("a\0b\n", 4) << QStringList{QString::fromLatin1("a\0b", 3)};
  }
  void splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    auto got = core::SplitLines(std::string(bytes.constData(), bytes.size()));
    QStringList g;
    for (auto& l : got) g << QString::fromLatin1(l.data(), static_cast<int>(l.size()));
    QCOMPARE(g, lines);
  }

  void parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << " 10" << 10;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("tabs and line ends") << "\t\r\n 7x" << 7;
    QTest::newRow("fraction rounds up") << "2.5" << 3;
    QTest::newRow("fraction rounds down") << "2.4" << 2;
    QTest::newRow("leading dot") << ".6" << 1;
    QTest::newRow("none") << "abc" << 0;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("equals sign") << "= 5" << 0;
    QTest::newRow("huge clamps") << "99999999999" << 2147483647;
  }
  void parseNumber() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(core::ParseNumber(text.toStdString()), value);
  }

  void paths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("ext");
    QTest::newRow("slash") << "/home/ann/site/index.web"
                           << "index.web"
                           << "/home/ann/site"
                           << "web";
    QTest::newRow("backslash") << "C:\\pics\\a.gif"
                               << "a.gif"
                               << "C:\\pics"
                               << "gif";
    QTest::newRow("dot in folder") << "/a.b/name"
                                   << "name"
                                   << "/a.b"
                                   << "";
    QTest::newRow("two dots") << "x/page.html.bak"
                              << "page.html.bak"
                              << "x"
                              << "bak";
    QTest::newRow("root") << "/a.web"
                          << "a.web"
                          << "/"
                          << "web";
  }
  void paths() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, ext);
    std::string p = path.toStdString();
    QCOMPARE(QString::fromStdString(core::FileNameOf(p)), name);
    QCOMPARE(QString::fromStdString(core::FolderOf(p)), folder);
    QCOMPARE(QString::fromStdString(core::ExtensionOf(p)), ext);
  }

  void fileUrls() {
    QCOMPARE(core::FileUrl("/home/ann/site/a.gif"), std::string("file:///home/ann/site/a.gif"));
    QCOMPARE(core::FileUrl("C:\\pics\\a.gif"), std::string("file:///C:/pics/a.gif"));
    QCOMPARE(core::FileUrl("http://example.org/a"), std::string("http://example.org/a"));
    QCOMPARE(core::FileUrl("MAILTO:ann@example.org"), std::string("MAILTO:ann@example.org"));
    QCOMPARE(core::FileUrl("images/a.gif"), std::string("images/a.gif"));
  }

  void numberLines() {
    QCOMPARE(core::NumberLine("Font size", 10), std::string("Font size 10"));
    QCOMPARE(core::NumberLine("Titlebar name", -1), std::string("Titlebar name-1"));
  }
};

QTEST_APPLESS_MAIN(TextTest)
#include "test_text.moc"
