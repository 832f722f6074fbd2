// Starting a browser: one that gives up at once is reported with its own last words; one
// that keeps running, or ends well, is not.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qt_platform.h"

class TestBrowserLaunch : public QObject {
  Q_OBJECT
 private slots:
  void failuresAtOnce_data();
  void failuresAtOnce();
};

void TestBrowserLaunch::failuresAtOnce_data() {
  QTest::addColumn<QString>("script");  // the browser; "" for a program that does not exist
  QTest::addColumn<QString>("reported");
  QTest::newRow("no display") << "echo starting >&2; echo 'Missing X server or $DISPLAY' >&2; exit 1"
                              << "Missing X server or $DISPLAY";
  QTest::newRow("silent failure") << "exit 3"
                                  << "It ended with exit code 3.";
  QTest::newRow("missing program") << ""
                                   << "not found";
  QTest::newRow("hands over and ends") << "echo 'opening in existing session' >&2; exit 0"
                                       << "";
  QTest::newRow("keeps running") << "echo 'warning: no GPU' >&2; exec sleep 5"
                                 << "";
}

void TestBrowserLaunch::failuresAtOnce() {
  QFETCH(QString, script);
  QFETCH(QString, reported);
  QTemporaryDir dir;
  QString browser = dir.filePath(script.isEmpty() ? "no-such-browser" : "browser");
  if (!script.isEmpty()) {
    QFile file(browser);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  }
  QtPlatform platform;
  std::vector<std::string> said;
  platform.OpenBrowser(browser.toStdString(), "http://127.0.0.1:1/", [&](const std::string& e) { said.push_back(e); });
  if (reported.isEmpty()) {
    QTest::qWait(3500);  // the launch is watched for 3 s
    QVERIFY(said.empty());
  } else {
    QTRY_VERIFY_WITH_TIMEOUT(!said.empty(), 10000);
    QVERIFY2(QString::fromStdString(said[0]).contains(reported), said[0].c_str());
  }
}

QTEST_MAIN(TestBrowserLaunch)
#include "test_browser_launch.moc"
