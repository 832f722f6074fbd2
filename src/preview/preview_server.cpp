#include "preview/preview_server.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketServer>

#include "preview/preview_script.h"

namespace preview {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

std::string Json(const QJsonObject& object) {
  return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace

std::string ReloadMessage() { return Json({{"type", "reload"}}); }
std::string StyleSheetMessage(const std::string& urlPath) { return Json({{"type", "css"}, {"path", Q(urlPath)}}); }
std::string ErrorMessage(const std::string& file, int line, const std::string& message) {
  return Json({{"type", "error"}, {"file", Q(file)}, {"line", line}, {"message", Q(message)}});
}
std::string OkMessage() { return Json({{"type", "ok"}}); }
std::string GoToMessage(const std::string& address) { return Json({{"type", "goto"}, {"url", Q(address)}}); }

PreviewServer::PreviewServer(QObject* parent) : QObject(parent) {}
PreviewServer::~PreviewServer() { Stop(); }

bool PreviewServer::Start(const ServeRules& rules, std::string& error) {
  Stop();
  rules_ = rules;
  http_ = new QTcpServer(this);
  QHostAddress where = rules.otherDevices ? QHostAddress(QHostAddress::Any) : QHostAddress(QHostAddress::LocalHost);
  if (!http_->listen(where, 0)) {
    error = http_->errorString().toStdString();
    Stop();
    return false;
  }
  rules_.port = http_->serverPort();
  sockets_ = new QWebSocketServer("Verosta preview", QWebSocketServer::NonSecureMode, this);
  connect(http_, &QTcpServer::newConnection, this, &PreviewServer::Accept);
  connect(sockets_, &QWebSocketServer::newConnection, this, &PreviewServer::AcceptSocket);
  return true;
}

void PreviewServer::Stop() {
  for (auto& [socket, page] : pages_) {
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  pages_.clear();
  if (sockets_) sockets_->close();
  if (http_) http_->close();
  delete sockets_;
  delete http_;
  sockets_ = nullptr;
  http_ = nullptr;
  rules_.port = 0;
}

bool PreviewServer::Running() const { return http_ && http_->isListening(); }

void PreviewServer::SetSite(const std::string& canonicalFolder) { rules_.siteFolder = canonicalFolder; }

std::string PreviewServer::AddressOf(const std::string& file) const {
  std::string address = "http://127.0.0.1:" + std::to_string(rules_.port) + UrlPathOf(file, rules_.siteFolder);
  if (rules_.otherDevices) address += std::string("?") + kTokenParameter + "=" + rules_.token;
  return address;
}

int PreviewServer::Send(const std::string& json, const std::function<bool(const std::string&)>& wanted) {
  int sent = 0;
  for (auto& [socket, page] : pages_)
    if (wanted(page)) {
      socket->sendTextMessage(Q(json));
      ++sent;
    }
  return sent;
}

std::vector<std::string> PreviewServer::Pages() const {
  std::vector<std::string> pages;
  for (const auto& [socket, page] : pages_)
    if (!page.empty()) pages.push_back(page);
  return pages;
}

void PreviewServer::Accept() {
  while (QTcpSocket* socket = http_->nextPendingConnection()) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
  }
}

// The head is peeked, not read, so that a WebSocket handshake reaches its server whole.
void PreviewServer::Answer(QTcpSocket* socket) {
  QByteArray head = socket->peek(socket->bytesAvailable());
  HttpRequest request = ParseRequest(std::string_view(head.constData(), head.size()));
  if (!request.complete) return;
  socket->disconnect();
  Decision decision = Decide(request, rules_);
  if (decision.webSocket) {
    sockets_->handleConnection(socket);
    return;
  }
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  socket->readAll();
  QByteArray body;
  if (decision.status == 200) {
    QFile file(Q(decision.file));
    if (file.open(QIODevice::ReadOnly)) body = file.readAll();
    else decision.status = 404;
    if (decision.html) body = QByteArray::fromStdString(WithScript(body.toStdString(), kPageScript));
  }
  if (decision.status != 200) body = QByteArray(StatusText(decision.status)) + "\n";
  socket->write(QByteArray::fromStdString(ReplyHead(decision, body.size())));
  if (request.method != "HEAD") socket->write(body);
  socket->disconnectFromHost();
}

void PreviewServer::AcceptSocket() {
  while (QWebSocket* socket = sockets_->nextPendingConnection()) {
    pages_[socket] = {};
    connect(socket, &QWebSocket::textMessageReceived, this, [this, socket](const QString& text) {
      QString page = QJsonDocument::fromJson(text.toUtf8()).object().value("page").toString();
      std::string file = FileForPath(page.toStdString(), rules_.siteFolder);
      pages_[socket] = file;
      if (pageOpened && !file.empty()) pageOpened(file);
    });
    connect(socket, &QWebSocket::disconnected, this, [this, socket] {
      pages_.erase(socket);
      socket->deleteLater();
    });
  }
}

}  // namespace preview
