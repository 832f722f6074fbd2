// One editor per user and settings folder: a later start hands its files to the editor that
// runs already and ends, so that two windows never overwrite each other's settings.
#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QByteArray;
class QLocalServer;

// The local socket of the editor that uses `settingsFolder`: in the user's runtime folder
// (private to the user), else in `tempFolder` with the user id in its name.
std::string InstanceSocketPath(const std::string& runtimeFolder, const std::string& tempFolder, unsigned userId,
                               const std::string& settingsFolder);

// The same for this user and environment ($XDG_RUNTIME_DIR, the temporary folder).
std::string InstanceSocketFor(const std::string& settingsFolder);

// What a later start sends: each absolute path followed by a NUL, then one more NUL.
QByteArray HandOverMessage(const std::vector<std::string>& files);
// The paths of a complete message; false while more bytes are to come.
bool ReadHandOverMessage(const QByteArray& bytes, std::vector<std::string>& files);

// Gives `files` to the editor listening on `socketPath`; true once it has taken them.
bool HandFilesToRunningEditor(const std::string& socketPath, const std::vector<std::string>& files,
                              int answerTimeoutMs = 10000);

// Listens for later starts and hands each one's files to `onFiles`.
class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(std::function<void(const std::vector<std::string>&)> onFiles);
  ~InstanceServer() override;
  // Listens on `socketPath`, replacing a socket a crashed editor left behind. Call it only
  // after HandFilesToRunningEditor found no editor there.
  bool Listen(const std::string& socketPath);

 private:
  void Accept();
  QLocalServer* server_;
  std::function<void(const std::vector<std::string>&)> onFiles_;
};

// The start-up step: unless an editor of this settings folder runs already (its files are
// then handed to it and true returned: this start ends), `server` listens for later starts.
// A lock keeps two editors started at the same moment from both becoming the first.
bool HandOverOrListen(InstanceServer& server, const std::string& socketPath, const std::vector<std::string>& files);
