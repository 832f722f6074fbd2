// Toolbar icons on a dark desktop palette: dark outlines are lightened until they stand out.
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QTest>

#include "documents/palette_icons.h"
#include "core/contrast.h"
#include "support/fixture.h"

namespace {

QPalette DarkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
  p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
  p.setColor(QPalette::Button, QColor(0x2b, 0x2b, 0x2b));
  p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
  return p;
}

// The share of an icon's solid pixels that stand out from `background` by at least `minimum`.
double ReadableShare(const QIcon& icon, QRgb background, double minimum) {
  QImage image = icon.pixmap(QSize(17, 17)).toImage().convertToFormat(QImage::Format_ARGB32);
  int solid = 0, readable = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QRgb px = image.pixel(x, y);
      if (qAlpha(px) < 250) continue;
      ++solid;
      if (core::ContrastRatio(px & 0xFFFFFF, background & 0xFFFFFF) >= minimum) ++readable;
    }
  return solid ? double(readable) / solid : 0;
}

QStringList IconFiles() {
  QDir dir(QString(VEROSTA_PROGRAM_DIR) + "/res/icons");
  QStringList files;
  for (const QString& name : dir.entryList({"*.svg"}, QDir::Files)) files << dir.filePath(name);
  return files;
}

}  // namespace

class TestPaletteIcons : public QObject {
  Q_OBJECT

 private slots:
  void recolour_data() {
    QTest::addColumn<QString>("svg");
    QTest::addColumn<uint>("background");
    QTest::addColumn<QString>("expected");
    const uint dark = 0x2b2b2b, light = 0xf0f0f0;
    QTest::newRow("dark outline on dark")
        << R"(<path stroke="#556" fill="#fff"/>)" << dark << R"(<path stroke="#747481" fill="#fff"/>)";
    QTest::newRow("six digits, fill") << R"(<rect fill="#222222"/>)" << dark << R"(<rect fill="#747474"/>)";
    QTest::newRow("bright colour kept") << R"(<path stroke="#e8c25a"/>)" << dark << R"(<path stroke="#e8c25a"/>)";
    QTest::newRow("none and other attributes kept")
        << R"(<path fill="none" stroke-width="1.6" stop-color="#000"/>)" << dark
        << R"(<path fill="none" stroke-width="1.6" stop-color="#000"/>)";
    QTest::newRow("light palette keeps dark outlines")
        << R"(<path stroke="#556"/>)" << light << R"(<path stroke="#556"/>)";
  }
  void recolour() {
    QFETCH(QString, svg);
    QFETCH(uint, background);
    QFETCH(QString, expected);
    std::string out = RecolourSvg(svg.toStdString(), background, 0xeeeeee);
    QCOMPARE(QString::fromStdString(out), expected);
  }

  // Every toolbar icon, drawn for a dark palette, is mostly made of pixels that stand out;
  // the icons as drawn for a light palette are not (so the check can tell).
  void iconsAreReadableOnADarkPalette() {
    const QPalette dark = DarkPalette();
    const QRgb window = dark.color(QPalette::Window).rgb();
    const QStringList files = IconFiles();
    QVERIFY(files.size() >= 20);
    int poorBefore = 0;
    for (const QString& file : files) {
      if (ReadableShare(QIcon(file), window, 2.5) < 0.9) ++poorBefore;
      double share = ReadableShare(PaletteIcon(file, dark), window, 2.5);
      QVERIFY2(share >= 0.9, qPrintable(file + ": " + QString::number(share)));
    }
    QVERIFY(poorBefore > 0);
  }

  void lightPaletteIconsAreTheFilesAsDrawn() {
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xf0, 0xf0, 0xf0));
    const QString file = IconFiles().value(0);
    QCOMPARE(PaletteIcon(file, light).pixmap(17, 17).toImage(), QIcon(file).pixmap(17, 17).toImage());
  }
};

QTEST_MAIN(TestPaletteIcons)
#include "test_palette_icons.moc"
