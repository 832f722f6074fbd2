// Printing and the feedback sound load their libraries on first use: the program does not
// start with them, and the modules beside it bring them in when asked.
#include <QFile>
#include <QProcess>
#include <QTest>

#include "platform/modules.h"
#include "platform/qt_platform.h"
#include "support/fixture.h"

namespace {

bool Mapped(const char* name) {
  QFile maps("/proc/self/maps");
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

}  // namespace

class TestProgramModules : public QObject {
  Q_OBJECT
 private slots:
  void programStartsWithoutThem() {
    QProcess readelf;
    readelf.start("readelf", {"-d", QString::fromStdString(BuiltProgram("verosta"))});
    QVERIFY(readelf.waitForFinished(-1));
    const QByteArray needed = readelf.readAllStandardOutput();
    QVERIFY(needed.contains("libQt6Widgets"));
    for (const char* library : {"libQt6Multimedia", "libQt6PrintSupport", "libpulse", "libcups"})
      QVERIFY2(!needed.contains(library), library);
  }

  void soundLoadsOnFirstPlay() {
    EditorFixture f;
    QVERIFY(!Mapped("libQt6Multimedia"));
    QtPlatform platform;
    // With no sound device the effect only warns; nothing waits for it to finish.
    platform.PlaySound(f.Path("res/sound.wav"));
    QVERIFY(Mapped("verosta_sound.so"));
    QVERIFY(Mapped("libQt6Multimedia"));
  }

  void eachModuleHasItsEntries_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("print job") << modules::kPrint << "VerostaPrintJob";
    QTest::newRow("print dialog") << modules::kPrint << "VerostaPrintDialog";
    QTest::newRow("sound") << modules::kSound << "VerostaPlaySound";
  }
  void eachModuleHasItsEntries() {
    QFETCH(QString, module);
    QFETCH(QString, symbol);
    EditorFixture f;
    QVERIFY(modules::Resolve(module.toUtf8().constData(), symbol.toUtf8().constData()));
  }
};

QTEST_MAIN(TestProgramModules)
#include "test_program_modules.moc"
