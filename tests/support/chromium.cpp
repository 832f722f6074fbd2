#include "support/chromium.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

namespace {

void Spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

QString ChromiumProgram() {
  for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
    QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty()) return found;
  }
  return {};
}

HeadlessChromium::HeadlessChromium() = default;
HeadlessChromium::~HeadlessChromium() { Stop(); }

bool HeadlessChromium::Start(QString& why) {
  QString program = ChromiumProgram();
  if (program.isEmpty()) return why = "chromium is not installed", false;
  profile_ = std::make_unique<QTemporaryDir>();
  process_ = std::make_unique<QProcess>();
  // Its own process group, so that its helper processes go with it.
  process_->setProgram("setsid");
  process_->setArguments({program, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                          "--remote-debugging-port=0", "--user-data-dir=" + profile_->path(), "about:blank"});
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_->start();
  if (!process_->waitForStarted(10000)) return why = "chromium did not start", false;
  QDeadlineTimer deadline(30000);
  QFile portFile(profile_->filePath("DevToolsActivePort"));
  while (!deadline.hasExpired() && port_ == 0) {
    if (portFile.open(QIODevice::ReadOnly)) {
      port_ = portFile.readLine().trimmed().toInt();
      portFile.close();
    }
    if (port_ == 0) Spin(50);
  }
  if (port_ == 0) why = "chromium gave no DevTools port";
  return port_ != 0;
}

bool HeadlessChromium::OpenPage(const QString& url) {
  QNetworkAccessManager network;
  QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1/json/new?%2").arg(port_).arg(url)));
  QNetworkReply* reply = network.put(request, QByteArray());
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  QString socketUrl = QJsonDocument::fromJson(reply->readAll()).object().value("webSocketDebuggerUrl").toString();
  reply->deleteLater();
  if (socketUrl.isEmpty()) return false;
  page_ = std::make_unique<QWebSocket>();
  QObject::connect(page_.get(), &QWebSocket::textMessageReceived, page_.get(), [this](const QString& text) {
    QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
    if (message.contains("id")) replies_.append(message);
  });
  page_->open(QUrl(socketUrl));
  QDeadlineTimer deadline(10000);
  while (page_->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired()) Spin(20);
  return page_->state() == QAbstractSocket::ConnectedState;
}

QJsonObject HeadlessChromium::Call(const QString& method, const QJsonObject& params, int timeoutMs) {
  if (!page_) return {};
  int id = nextId_++;
  page_->sendTextMessage(
      QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}}).toJson(QJsonDocument::Compact));
  QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    for (int i = 0; i < replies_.size(); ++i)
      if (replies_[i].value("id").toInt() == id) return replies_.takeAt(i);
    Spin(5);
  }
  return {};
}

QVariant HeadlessChromium::Evaluate(const QString& expression, int timeoutMs) {
  QJsonObject reply = Call("Runtime.evaluate",
                           {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}, timeoutMs);
  QJsonObject result = reply.value("result").toObject();
  if (result.contains("exceptionDetails")) return {};
  return result.value("result").toObject().value("value").toVariant();
}

bool HeadlessChromium::WaitFor(const QString& expression, int timeoutMs, int pollMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    if (Evaluate("!!(" + expression + ")", 2000).toBool()) return true;
    Spin(pollMs);
  }
  return false;
}

qint64 HeadlessChromium::ProcessId() const { return process_ ? process_->processId() : 0; }

void HeadlessChromium::Stop() {
  page_.reset();
  if (process_ && process_->state() != QProcess::NotRunning) {
    ::kill(-static_cast<pid_t>(process_->processId()), SIGKILL);
    process_->waitForFinished(10000);
  }
  process_.reset();
  profile_.reset();
}
