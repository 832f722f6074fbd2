// A small blocking FTP client: log in, change folder, store one file in image type
// through a passive data connection, quit. Plain C++ over POSIX sockets.
//
// The five routines below are exported by name from the program. A connection handle
// is a positive number; ftpConnect gives 0 or -1 on failure.
#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

extern "C" {
// Host is a name or dotted address, optionally "host:port" (21 when no port is given).
int ftpConnect(const char* host, const char* user, const char* password);
// 1 when the server took the folder and the passive request after it, else 0.
int ftpChangeDir(int connection, const char* folder);
// Stores the local file under `remoteName`; 1 when the server confirmed it (226 or 250)
// and, where the server can tell the stored size, that size is the local file's.
// `status` (room for `statusSize` bytes, NUL included) gets the last reply or an error text.
// `host`, `reserved` and `reservedText` are accepted and ignored.
int FTPPUTFILE(int connection, const char* host, int reserved, const char* reservedText, const char* remoteName,
               const char* localPath, char* status, int statusSize);
void ftpQuit(int connection);
void ftpSetBinary(int connection);
}

namespace ftp {

// Waits of the client; tests shorten them.
struct Tuning {
  int controlTimeoutMs = 60000;                  // each read and write on the control connection
  int dataTimeoutMs = 2000;                      // each write (and each connect attempt) on a data connection
  int emptyReplyPauseMs = 100;                   // between the reads of a folder change reply
  int publishBudgetMs = 120000;                  // all waiting for the server in one publish run
  int closeTimeoutMs = 250;                      // each wait of ABOR and QUIT after a failure or cancel
  void (*onBlock)(std::size_t bytes) = nullptr;  // told of every block handed to the data connection
};
Tuning& CurrentTuning();
// The cause given when a server is silent for `timeoutMs`: "no answer within 2 s".
std::string NoAnswer(int timeoutMs);

// One publish run on a worker thread. Another thread may set `cancel`; the client then
// stops within a fraction of a second. Waiting for the server (replies, connects) is
// charged to a budget, so a server that answers just inside every time-out still ends.
struct RunControl {
  std::atomic<bool> cancel{false};
  std::atomic<long long> bytesSent{0};                 // data bytes of the current file handed to the socket
  std::atomic<long long> bytesDone{0}, bytesTotal{0};  // of the whole run, kept by its caller
  int budgetMs = CurrentTuning().publishBudgetMs;
  // Set by the client when a wait ended for one of these reasons.
  std::atomic<bool> cancelled{false}, outOfTime{false};
  long long waitedMs = 0;  // used by the client thread only

  bool Stopped() const { return cancelled || outOfTime; }
  // Asks the run to stop (as setting `cancel` does) and wakes a wait that only the end of
  // its connection can cut short.
  void Cancel() {
    cancel = true;
    std::lock_guard<std::mutex> lock(mutex_);
    if (wake_) wake_();
  }
  // What Cancel does besides; called on the cancelling thread. Cleared with nullptr.
  void SetWake(std::function<void()> wake) {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_ = std::move(wake);
  }
  // The step shown to the user ("Logging in...").
  void SetStep(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    step_ = text;
  }
  std::string Step() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return step_;
  }

 private:
  mutable std::mutex mutex_;
  std::string step_;
  std::function<void()> wake_;
};

// Makes `control` the run of the calling thread for the scope's life.
class RunScope {
 public:
  explicit RunScope(RunControl& control);
  ~RunScope();
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
};

// Why the last failing step of this thread failed, in plain words: the server's own
// reply, "host name not found", "connection refused", "no answer within 60 s" ...
std::string LastCause();

constexpr std::size_t kBlockSize = 8192;
constexpr std::size_t kMaxLineBytes = 64 * 1024;  // the rest of a longer reply line is dropped

// Reply code: the leading number of the first word of the trimmed line (0 when none).
int ftpReplyCode(std::string_view line);
// The number in the first four characters of the line, spaces around them removed.
int FourCharCode(std::string_view line);
// True when the fourth character is "-": more lines of the same reply follow.
bool HasContinuationMark(std::string_view line);
// "\www\site\" -> "www/site/", "/public_html/" -> "public_html", "a/b" -> "a/b/".
std::string NormaliseFolder(std::string_view folder);
// Port of a PASV reply "227 ... (h1,h2,h3,h4,p1,p2)"; false when the reply has no such
// list or a number outside 0..255 (or the port would be 0).
bool PassivePort(std::string_view line, int& port);
// True when the text holds a byte below 32 (it could end a command early).
bool HasControlBytes(std::string_view text);

// Reads one whole reply, multi-line ones (RFC 959: "220-", free lines, "220 ") to their
// closing line, which is returned; "" when none came.
std::string ReadReply(int connection);
// Sends one command line; false when it could not be written.
bool SendCommand(int connection, const std::string& text);

// How `status` begins when the server holds fewer (or more) bytes than were sent.
inline constexpr const char* kShortFileStatus = "The server holds ";

// C++ face of FTPPUTFILE.
int PutFile(int connection, const std::string& remoteName, const std::string& localPath, std::string& status);
// Opens the data connection after a PASV; -1 when none could be opened.
int ftpOpenDataConnection(int connection);
// Writes all bytes to a data connection: 1, or 0 when a write fails or times out.
int ftpSendBlock(int dataConnection, const char* bytes, std::size_t count);

// Renames a remote file over another (RNFR/RNTO). On a server that will not rename onto an
// existing name the old file is renamed aside first and deleted once the new one is in
// place, or renamed back when it cannot be. False with the cause set on failure.
bool RenameRemote(int connection, const std::string& from, const std::string& to);
// The listing of a folder ("" for the current one) over a data connection: MLSD while
// `mlsd` is set, else LIST; a server that does not know MLSD clears `mlsd` and is asked
// with LIST. False with the cause set on failure.
bool ListRemote(int connection, const std::string& folder, bool& mlsd, std::string& text);
// Deletes a remote file; true on 250.
bool DeleteRemote(int connection, const std::string& name);
// Makes a remote folder (MKD). A refusal is usually "exists already"; the upload into
// it then tells. False only when the server did not answer.
bool MakeRemoteFolder(int connection, const std::string& folder);
// Ends a session after a failure or a cancel: ABOR (when `abort`) and QUIT with short
// waits, so a server that stopped answering does not hold the run; then closes it.
void CloseSession(int connection, bool abort);

}  // namespace ftp
