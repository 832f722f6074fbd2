// A headless Chromium for tests and benchmarks, driven over its DevTools protocol: open a
// page, run script in it, wait for a condition. The browser and everything it started are
// killed with it.
#pragma once
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <memory>

class QProcess;
class QTemporaryDir;
class QWebSocket;

class HeadlessChromium {
 public:
  HeadlessChromium();
  ~HeadlessChromium();
  // False with `why` set when there is no Chromium or it does not come up.
  bool Start(QString& why);
  // Opens a new tab on `url` and makes it the one the calls below talk to.
  bool OpenPage(const QString& url);
  // The value of a script expression in the page (promises awaited); invalid on failure.
  QVariant Evaluate(const QString& expression, int timeoutMs = 10000);
  // Polls a script expression until it is true; false when `timeoutMs` passed first.
  bool WaitFor(const QString& expression, int timeoutMs = 15000, int pollMs = 25);
  // The browser's process id (0 when not running), for checks that it went.
  qint64 ProcessId() const;
  void Stop();

 private:
  QJsonObject Call(const QString& method, const QJsonObject& params, int timeoutMs);

  std::unique_ptr<QTemporaryDir> profile_;
  std::unique_ptr<QProcess> process_;
  std::unique_ptr<QWebSocket> page_;
  int port_ = 0, nextId_ = 1;
  QList<QJsonObject> replies_;
};

// The chromium program, "" when it is not installed.
QString ChromiumProgram();
