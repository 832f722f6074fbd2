// The preview's HTTP server and the WebSocket its pages listen on, both on one port.
#pragma once
#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "preview/preview_http.h"

class QTcpServer;
class QTcpSocket;
class QWebSocket;
class QWebSocketServer;

namespace preview {

class PreviewServer : public QObject {
  Q_OBJECT

 public:
  explicit PreviewServer(QObject* parent = nullptr);
  ~PreviewServer() override;

  // Listens on 127.0.0.1 (every interface with `rules.otherDevices`) at a free port;
  // false with `error` set when it cannot.
  bool Start(const ServeRules& rules, std::string& error);
  void Stop();
  bool Running() const;
  int Port() const { return rules_.port; }
  const ServeRules& Rules() const { return rules_; }
  // Serves another site from now on, at the same address.
  void SetSite(const std::string& canonicalFolder);

  // The address of a file of the site, for this machine's browser.
  std::string AddressOf(const std::string& file) const;

  // Sends `json` to every page for which `wanted(pageFile)` holds; returns how many got it.
  int Send(const std::string& json, const std::function<bool(const std::string& pageFile)>& wanted);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // The files the connected pages show.
  std::vector<std::string> Pages() const;
  // Told when a page says which file it shows (after it connected or reloaded).
  std::function<void(const std::string& pageFile)> pageOpened;

 private:
  void Accept();
  void Answer(QTcpSocket* socket);
  void AcceptSocket();

  ServeRules rules_;
  QTcpServer* http_ = nullptr;
  QWebSocketServer* sockets_ = nullptr;
  std::map<QWebSocket*, std::string> pages_;  // each connected page and the file it shows
};

// The messages the pages understand.
std::string ReloadMessage();
std::string StyleSheetMessage(const std::string& urlPath);
std::string ErrorMessage(const std::string& file, int line, const std::string& message);
std::string OkMessage();
std::string GoToMessage(const std::string& address);

}  // namespace preview
