#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <memory>
#include <unistd.h>

namespace {

constexpr qint64 kMaxMessage = 4 << 20;  // a few thousand long paths; more is no hand-over
const char kTaken[] = "ok\n";

}  // namespace

std::string InstanceSocketPath(const std::string& runtimeFolder, const std::string& tempFolder, unsigned userId,
                               const std::string& settingsFolder) {
  // A short digest keeps the path within the 107 bytes a socket name may have.
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray::fromStdString(settingsFolder), QCryptographicHash::Sha256).toHex().left(16);
  if (!runtimeFolder.empty()) return runtimeFolder + "/verosta-" + digest.toStdString();
  return tempFolder + "/verosta-" + std::to_string(userId) + "-" + digest.toStdString();
}

std::string InstanceSocketFor(const std::string& settingsFolder) {
  const QString canonical = QFileInfo(QString::fromStdString(settingsFolder)).canonicalFilePath();
  return InstanceSocketPath(qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString(), QDir::tempPath().toStdString(),
                            getuid(), canonical.isEmpty() ? settingsFolder : canonical.toStdString());
}

QByteArray HandOverMessage(const std::vector<std::string>& files) {
  QByteArray message;
  for (const std::string& f : files) {
    if (f.empty()) continue;  // an empty path would end the message early
    message.append(f.data(), static_cast<qsizetype>(f.size()));
    message.append('\0');
  }
  message.append('\0');
  return message;
}

bool ReadHandOverMessage(const QByteArray& bytes, std::vector<std::string>& files) {
  files.clear();
  qsizetype start = 0;
  while (start < bytes.size()) {
    const qsizetype end = bytes.indexOf('\0', start);
    if (end < 0) break;
    if (end == start) return true;
    files.emplace_back(bytes.constData() + start, static_cast<size_t>(end - start));
    start = end + 1;
  }
  files.clear();
  return false;
}

bool HandFilesToRunningEditor(const std::string& socketPath, const std::vector<std::string>& files,
                              int answerTimeoutMs) {
  // In a shared temporary folder another user could stand in the running editor's place.
  const QFileInfo info(QString::fromStdString(socketPath));
  if (!info.exists() || info.ownerId() != getuid()) return false;
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(socketPath));
  if (!socket.waitForConnected(2000)) return false;  // nobody there, or a socket a crash left behind
  socket.write(HandOverMessage(files));
  if (!socket.waitForBytesWritten(answerTimeoutMs)) return false;
  QByteArray answer;
  while (answer.size() < qsizetype(sizeof kTaken - 1) && socket.waitForReadyRead(answerTimeoutMs))
    answer += socket.readAll();
  return answer.startsWith(kTaken);
}

InstanceServer::InstanceServer(std::function<void(const std::vector<std::string>&)> onFiles)
    : server_(new QLocalServer(this)), onFiles_(std::move(onFiles)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, [this] { Accept(); });
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::Listen(const std::string& socketPath) {
  const QString name = QString::fromStdString(socketPath);
  if (server_->listen(name)) return true;
  if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
  QLocalServer::removeServer(name);
  return server_->listen(name);
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
      *received += socket->readAll();
      if (received->size() > kMaxMessage) {
        socket->abort();
        return;
      }
      std::vector<std::string> files;
      if (!ReadHandOverMessage(*received, files)) return;
      received->clear();
      socket->write(kTaken);
      socket->flush();
      socket->disconnectFromServer();
      onFiles_(files);
    });
  }
}

bool HandOverOrListen(InstanceServer& server, const std::string& socketPath, const std::vector<std::string>& files) {
  QLockFile lock(QString::fromStdString(socketPath + ".lock"));
  lock.tryLock(5000);  // not had in time: go on without it rather than not start
  if (HandFilesToRunningEditor(socketPath, files)) return true;
  server.Listen(socketPath);
  return false;
}
