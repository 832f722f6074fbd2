#include "publish/ftp_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>
#include <thread>

#include "core/text.h"
#include "publish/remote_replace.h"

namespace ftp {

Tuning& CurrentTuning() {
  static Tuning tuning;
  return tuning;
}

namespace {

using Clock = std::chrono::steady_clock;

// A hostile server must not keep a reply going for ever, one line at a time.
constexpr int kMaxReplyLines = 1000;
// How often a wait looks at the run's cancel flag.
constexpr int kSliceMs = 50;

thread_local RunControl* run = nullptr;
thread_local bool closing = false;    // ABOR and QUIT after a cancel: short waits, no cancel
thread_local bool finishing = false;  // a swap under way: a cancel turns the waits short instead of ending them
thread_local bool hurried = false;    // ... and it did
thread_local std::string cause;

std::mutex noSizeMutex;
std::set<int> noSizeConnections;  // servers that said they have no SIZE command

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void SetCause(std::string text) { cause = std::move(text); }

enum class Wait { Ready, TimedOut, Failed, Cancelled, OutOfTime };

// Waits until the socket is ready for `events` (or has an error to report). In a run the
// wait is cut into slices to see a cancel; `charged` waits use up the run's budget.
Wait WaitFor(int fd, short events, int timeoutMs, bool charged) {
  const int shortMs = CurrentTuning().closeTimeoutMs;
  if (closing || hurried) timeoutMs = std::min(timeoutMs, shortMs);
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int slice = MsLeft(deadline);
    if (run && !closing && !hurried) {
      long long budgetLeft = run->budgetMs - run->waitedMs;
      bool spent = charged && budgetLeft <= 0;
      if ((run->cancel || spent) && finishing) {
        hurried = true;
        deadline = std::min(deadline, Clock::now() + std::chrono::milliseconds(shortMs));
        continue;
      }
      if (run->cancel) {
        run->cancelled = true;
        return Wait::Cancelled;
      }
      if (spent) {
        run->outOfTime = true;
        return Wait::OutOfTime;
      }
      slice = std::min(slice, kSliceMs);
      if (charged) slice = static_cast<int>(std::min<long long>(slice, budgetLeft));
    }
    auto before = Clock::now();
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, slice);
    if (run && charged && !closing && !hurried)
      run->waitedMs += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
    if (r > 0) return Wait::Ready;
    if (r < 0 && errno != EINTR) return Wait::Failed;
    if (MsLeft(deadline) <= 0) return Wait::TimedOut;
  }
}

bool SendAll(int fd, const char* bytes, std::size_t count, int timeoutMs, bool charged) {
  while (count > 0) {
    ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        Wait w = WaitFor(fd, POLLOUT, timeoutMs, charged);
        if (w == Wait::Ready) continue;
        if (w == Wait::TimedOut) SetCause(NoAnswer(timeoutMs));
        return false;
      }
      SetCause("the server closed the connection");
      return false;
    }
    bytes += sent;
    count -= static_cast<std::size_t>(sent);
  }
  return true;
}

enum class LineEnd { Line, TimedOut, Closed, Stopped };

// One reply line without its CRs. Bytes are peeked and then only the line's own bytes
// consumed, so replies that arrive together stay for the next read. On a time-out or a
// close `line` holds what came so far.
LineEnd ReadLineEx(int fd, std::string& line) {
  line.clear();
  if (fd <= 0) return LineEnd::Closed;
  int timeoutMs = CurrentTuning().controlTimeoutMs;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  char buf[4096];
  for (;;) {
    int left = MsLeft(deadline);
    Wait w = left > 0 ? WaitFor(fd, POLLIN, left, true) : Wait::TimedOut;
    if (w == Wait::Cancelled || w == Wait::OutOfTime) return LineEnd::Stopped;
    if (w != Wait::Ready) {
      SetCause(NoAnswer(timeoutMs));
      return LineEnd::TimedOut;
    }
    ssize_t n = recv(fd, buf, sizeof buf, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) {
      SetCause("the server closed the connection");
      return LineEnd::Closed;
    }
    auto* lf = static_cast<const char*>(std::memchr(buf, '\n', static_cast<std::size_t>(n)));
    std::size_t take = lf ? static_cast<std::size_t>(lf - buf) + 1 : static_cast<std::size_t>(n);
    ssize_t got = recv(fd, buf, take, MSG_DONTWAIT);
    if (got <= 0) return LineEnd::Closed;
    for (ssize_t i = 0; i < got; ++i) {
      char c = buf[i];
      if (c == '\n') return LineEnd::Line;
      if (c != '\r' && line.size() < kMaxLineBytes) line += c;
    }
  }
}

// The closing line of a reply whose first line is `first`: the next line that starts with
// the same code and a blank; the lines between are free text.
std::string FinishReply(int fd, const std::string& first) {
  if (!HasContinuationMark(first)) return first;
  std::string code = first.substr(0, 3);
  for (int n = 0; n < kMaxReplyLines; ++n) {
    std::string next;
    if (ReadLineEx(fd, next) != LineEnd::Line) return std::string();
    if (next.size() >= 3 && next.compare(0, 3, code) == 0 && (next.size() == 3 || next[3] == ' ')) return next;
  }
  SetCause("the server's reply did not end");
  return std::string();
}

// A reply that is not the expected one: its own text says why.
void ReplyCause(const std::string& reply) {
  if (!reply.empty()) SetCause(reply);
}

// The folder change reply: an empty read (nothing yet) is retried a few times.
std::string ReadPatientReply(int fd) {
  std::string line;
  for (int n = 0; n < 5; ++n) {
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(CurrentTuning().emptyReplyPauseMs));
    LineEnd end = ReadLineEx(fd, line);
    if (end == LineEnd::Stopped || end == LineEnd::Closed) return std::string();
    if (!line.empty()) break;
  }
  return FinishReply(fd, line);
}

// Handle 0 means "no connection" to callers, so a socket never gets that number.
int PositiveHandle(int fd) {
  if (fd != 0) return fd;
  int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
  close(fd);
  return moved;
}

int ConnectTo(const sockaddr_in& address, int timeoutMs) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    int err = errno;
    socklen_t len = sizeof err;
    if (err == EINPROGRESS) {
      Wait w = WaitFor(fd, POLLOUT, timeoutMs, true);
      if (w == Wait::Ready) {
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = EIO;
      } else {
        err = ETIMEDOUT;
        if (w == Wait::TimedOut) SetCause(NoAnswer(timeoutMs));
        close(fd);
        return -1;
      }
    }
    if (err != 0) {
      SetCause(err == ECONNREFUSED ? "connection refused"
               : err == ETIMEDOUT  ? NoAnswer(timeoutMs)
                                   : std::string("cannot connect: ") + std::strerror(err));
      close(fd);
      return -1;
    }
  }
  return PositiveHandle(fd);
}

// "host" or "host:port" to an IPv4 address (the first one the name resolves to).
bool Resolve(const std::string& hostAndPort, sockaddr_in& address) {
  std::string host = core::Trim(hostAndPort);
  int port = 21;
  std::size_t colon = host.rfind(':');
  SetCause("host name not found");
  if (colon != std::string::npos) {
    std::string digits = host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) {
      SetCause("invalid port number");
      return false;
    }
    port = std::stoi(digits);
    host.resize(colon);
  }
  if (port < 1 || port > 65535) SetCause("invalid port number");
  if (host.empty() || port < 1 || port > 65535) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  address = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
  address.sin_port = htons(static_cast<uint16_t>(port));
  freeaddrinfo(found);
  return true;
}

// Greeting, USER/PASS and the first PASV: 1 logged in, 0 refused, -1 failed.
int LogIn(int fd, const std::string& user, const std::string& password) {
  std::string line = ReadReply(fd);
  if (ftpReplyCode(line) != 220) return ReplyCause(line), -1;
  if (!SendCommand(fd, "USER " + user)) return -1;
  line = ReadReply(fd);
  // Any answer to USER but 331 is already the login result (230: no password needed).
  if (ftpReplyCode(line) == 331) {
    if (!SendCommand(fd, "PASS " + password)) return -1;
    line = ReadReply(fd);
  }
  if (FourCharCode(line) == 530) return ReplyCause(line), 0;
  if (ftpReplyCode(line) != 230) return ReplyCause(line), -1;
  if (!SendCommand(fd, "PASV")) return 0;
  line = ReadReply(fd);
  if (ftpReplyCode(line) != 227) return ReplyCause(line), 0;
  return 1;
}

bool ReadExactly(int fd, char* buf, std::size_t count) {
  while (count > 0) {
    ssize_t got = read(fd, buf, count);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    buf += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

std::string ReadReply(int connection) {
  std::string line;
  if (ReadLineEx(connection, line) != LineEnd::Line) return line;
  return FinishReply(connection, line);
}

bool SendCommand(int fd, const std::string& text) {
  if (fd <= 0) return false;
  std::string line = text + "\r\n";
  return SendAll(fd, line.data(), line.size(), CurrentTuning().controlTimeoutMs, true);
}

RunScope::RunScope(RunControl& control) { run = &control; }
RunScope::~RunScope() { run = nullptr; }

std::string LastCause() { return cause; }

int ftpOpenDataConnection(int connection) {
  if (!SendCommand(connection, "PASV")) return -1;
  std::string line = ReadReply(connection);
  int port = 0;
  if (ftpReplyCode(line) != 227 || !PassivePort(line, port)) return ReplyCause(line), -1;
  // The announced address is not trusted: the data goes to the control connection's peer.
  sockaddr_in peer{};
  socklen_t len = sizeof peer;
  if (getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &len) != 0 || peer.sin_family != AF_INET) return -1;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  for (int attempt = 0; attempt < 5 && !(run && run->Stopped()); ++attempt) {
    int fd = ConnectTo(peer, CurrentTuning().dataTimeoutMs);
    if (fd > 0) return fd;
  }
  return -1;
}

int ftpSendBlock(int dataConnection, const char* bytes, std::size_t count) {
  if (CurrentTuning().onBlock) CurrentTuning().onBlock(count);
  if (!SendAll(dataConnection, bytes, count, CurrentTuning().dataTimeoutMs, false)) return 0;
  if (run) run->bytesSent += static_cast<long long>(count);
  return 1;
}

namespace {

// Sends the file's bytes in blocks; false with `status` set when reading or writing fails.
bool SendFileBytes(int file, int data, std::size_t size, std::string& status) {
  std::size_t full = size / kBlockSize, rest = size % kBlockSize;
  char buffer[kBlockSize];
  for (std::size_t n = 0; n < full; ++n) {
    if (!ReadExactly(file, buffer, kBlockSize)) return status = "Local File Access Error.", false;
    if (!ftpSendBlock(data, buffer, kBlockSize)) return status = "could not write to socket.", false;
  }
  if (rest > 0) {
    if (!ReadExactly(file, buffer, rest)) return status = "Local File Access Error.", false;
    if (!ftpSendBlock(data, buffer, rest)) return status = "Could not write to socket.", false;
  }
  return true;
}

// The SIZE reply's code (0 when none came); `held` gets the size, or -1 when the reply
// tells none. A server without SIZE (a 500-class "not understood" reply) is not asked again.
int AskSize(int connection, const std::string& remoteName, long long& held) {
  held = -1;
  {
    std::lock_guard<std::mutex> lock(noSizeMutex);
    if (noSizeConnections.count(connection)) return 502;
  }
  if (!SendCommand(connection, "SIZE " + remoteName)) return 0;
  std::string reply = ReadReply(connection);
  int code = ftpReplyCode(reply);
  if (code == 500 || code == 502 || code == 504) {
    std::lock_guard<std::mutex> lock(noSizeMutex);
    noSizeConnections.insert(connection);
  }
  std::string digits = code == 213 ? core::Trim(std::string_view(reply).substr(3)) : std::string();
  if (!digits.empty() && digits.size() <= 18 && digits.find_first_not_of("0123456789") == std::string::npos)
    held = std::stoll(digits);
  return code;
}

// After a confirmed transfer: the size the server holds, where it can tell.
bool SizeMatches(int connection, const std::string& remoteName, std::size_t sent, std::string& status) {
  long long held = -1;
  AskSize(connection, remoteName, held);
  if (held < 0 || static_cast<unsigned long long>(held) == sent) return true;
  status = kShortFileStatus + std::to_string(held) + " of the " + std::to_string(sent) + " bytes sent.";
  SetCause(status);
  return false;
}

void Forget(int connection) {
  std::lock_guard<std::mutex> lock(noSizeMutex);
  noSizeConnections.erase(connection);
}

}  // namespace

int PutFile(int connection, const std::string& remoteName, const std::string& localPath, std::string& status) {
  status.clear();
  SetCause("");
  if (HasControlBytes(remoteName)) {
    status = "Invalid remote file name.";
    return 0;
  }
  struct stat info {};
  if (stat(localPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    status = "Local File Not Found";
    SetCause("local file not found: " + localPath);
    return 0;
  }
  int file = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0 || fstat(file, &info) != 0) {
    if (file >= 0) close(file);
    status = "Local File Access Error.";
    SetCause("cannot read " + localPath);
    return 0;
  }
  if (run) run->bytesSent = 0;
  ftpSetBinary(connection);
  int data = ftpOpenDataConnection(connection);
  if (data == -1) {
    status = "Could not open a binary connection.";
    close(file);
    return 0;
  }
  SendCommand(connection, "STOR " + remoteName);
  status = ReadReply(connection);
  int code = ftpReplyCode(status);
  if (code != 150 && code != 125) {
    ReplyCause(status);
    status += "*";
    close(data);
    close(file);
    return 0;
  }
  auto size = static_cast<std::size_t>(info.st_size);
  if (!SendFileBytes(file, data, size, status)) {
    // A transfer that failed part-way is reset rather than closed, so the server does not
    // take the bytes it got for the whole file.
    linger l{1, 0};
    setsockopt(data, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    close(data);
    close(file);
    return 0;
  }
  close(data);
  close(file);
  status = ReadReply(connection);
  code = ftpReplyCode(status);
  // RFC 959 allows 250 as well as 226 to confirm a stored file.
  if (code != 226 && code != 250) return ReplyCause(status), 0;
  std::string confirmed = status;
  if (!SizeMatches(connection, remoteName, size, status)) return 0;
  status = confirmed;
  return 1;
}

namespace {

// The steps of a swap over one control connection.
class ConnectionFiles : public RemoteFiles {
 public:
  explicit ConnectionFiles(int connection) : connection_(connection) {}
  Renamed Rename(const std::string& from, const std::string& to) override {
    if (!SendCommand(connection_, "RNFR " + from)) return Renamed::Failed;
    std::string reply = ReadReply(connection_);
    if (ftpReplyCode(reply) == 350) {
      if (!SendCommand(connection_, "RNTO " + to)) return Renamed::Failed;
      reply = ReadReply(connection_);
      if (ftpReplyCode(reply) == 250) return Renamed::Done;
    }
    ReplyCause(reply);
    return ftpReplyCode(reply) >= 500 ? Renamed::Refused : Renamed::Failed;
  }
  Presence Exists(const std::string& path) override {
    long long held = -1;
    int code = AskSize(connection_, path, held);
    return code == 213 ? Presence::Yes : code == 550 ? Presence::No : Presence::Unknown;
  }
  bool Delete(const std::string& path) override { return DeleteRemote(connection_, path); }
  void MustFinish(bool on) override {
    finishing = on;
    if (!on) hurried = false;
  }
  bool Stopped() override { return run && (run->Stopped() || run->cancel); }
  std::string Cause() override { return cause; }

 private:
  int connection_;
};

}  // namespace

bool RenameRemote(int connection, const std::string& from, const std::string& to) {
  if (HasControlBytes(from) || HasControlBytes(to)) return false;
  ConnectionFiles files(connection);
  std::string failed = ReplaceRemoteFile(files, from, to);
  if (!failed.empty()) SetCause(failed);
  return failed.empty();
}

bool ListRemote(int connection, const std::string& folder, bool& mlsd, std::string& text) {
  text.clear();
  if (HasControlBytes(folder)) return false;
  for (;;) {
    int data = ftpOpenDataConnection(connection);
    if (data == -1) return false;
    std::string verb = mlsd ? "MLSD" : "LIST";
    SendCommand(connection, folder.empty() ? verb : verb + " " + folder);
    std::string reply = ReadReply(connection);
    int code = ftpReplyCode(reply);
    if (code != 150 && code != 125) {
      close(data);
      // A server without MLSD says it does not know the command; it is not asked again.
      if (mlsd && (code == 500 || code == 502)) {
        mlsd = false;
        continue;
      }
      return ReplyCause(reply), false;
    }
    char buffer[kBlockSize];
    for (;;) {
      if (WaitFor(data, POLLIN, CurrentTuning().controlTimeoutMs, true) != Wait::Ready) {
        close(data);
        return SetCause(NoAnswer(CurrentTuning().controlTimeoutMs)), false;
      }
      ssize_t got = recv(data, buffer, sizeof buffer, MSG_DONTWAIT);
      if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (got <= 0) break;
      text.append(buffer, static_cast<std::size_t>(got));
    }
    close(data);
    reply = ReadReply(connection);
    code = ftpReplyCode(reply);
    return code == 226 || code == 250 || (ReplyCause(reply), false);
  }
}

bool DeleteRemote(int connection, const std::string& name) {
  if (HasControlBytes(name) || !SendCommand(connection, "DELE " + name)) return false;
  std::string reply = ReadReply(connection);
  return ftpReplyCode(reply) == 250 || (ReplyCause(reply), false);
}

bool MakeRemoteFolder(int connection, const std::string& folder) {
  if (HasControlBytes(folder) || !SendCommand(connection, "MKD " + folder)) return false;
  return !ReadReply(connection).empty();
}

void CloseSession(int connection, bool abort) {
  if (connection <= 0) return;
  closing = true;
  if (abort && SendCommand(connection, "ABOR")) {
    // ABOR during a transfer gets two replies (426, then 226), outside one (225 or 226).
    std::string reply = ReadReply(connection);
    if (ftpReplyCode(reply) == 426) ReadReply(connection);
  }
  if (SendCommand(connection, "QUIT")) ReadReply(connection);
  closing = false;
  Forget(connection);
  close(connection);
}

}  // namespace ftp

using namespace ftp;

extern "C" {

int ftpConnect(const char* host, const char* user, const char* password) {
  SetCause("");
  std::string u = Text(user), p = Text(password);
  if (HasControlBytes(u) || HasControlBytes(p)) return SetCause("user name or password holds a line break"), -1;
  sockaddr_in address{};
  if (!Resolve(Text(host), address)) return -1;
  int fd = ConnectTo(address, CurrentTuning().controlTimeoutMs);
  if (fd < 0) return -1;
  if (run) run->SetStep("Logging in as " + u + "...");
  int result = LogIn(fd, u, p);
  if (result <= 0) {
    Forget(fd);
    close(fd);
    return result;
  }
  Forget(fd);
  return fd;
}

int ftpChangeDir(int connection, const char* folder) {
  SetCause("");
  std::string f = Text(folder);
  if (connection <= 0 || HasControlBytes(f)) return 0;
  if (!SendCommand(connection, "CWD " + NormaliseFolder(f))) return 0;
  std::string reply = ReadPatientReply(connection);
  if (ftpReplyCode(reply) != 250) return ReplyCause(reply), 0;
  if (!SendCommand(connection, "PASV")) return 0;
  reply = ReadPatientReply(connection);
  return ftpReplyCode(reply) == 227 ? 1 : (ReplyCause(reply), 0);
}

int FTPPUTFILE(int connection, const char*, int, const char*, const char* remoteName, const char* localPath,
               char* status, int statusSize) {
  std::string text;
  int result = PutFile(connection, Text(remoteName), Text(localPath), text);
  if (status && statusSize > 0) {
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(statusSize) - 1);
    std::memcpy(status, text.data(), n);
    status[n] = '\0';
  }
  return result;
}

void ftpQuit(int connection) {
  if (connection <= 0) return;
  SendCommand(connection, "QUIT");
  ReadReply(connection);
  Forget(connection);
  close(connection);
}

void ftpSetBinary(int connection) {
  SendCommand(connection, "TYPE I");
  ReadReply(connection);
}

}  // extern "C"
