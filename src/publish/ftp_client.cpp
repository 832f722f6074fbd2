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
#include <thread>

#include "core/text.h"

namespace ftp {

Tuning& CurrentTuning() {
  static Tuning tuning;
  return tuning;
}

namespace {

using Clock = std::chrono::steady_clock;

// A hostile server must not keep a reply going for ever, one line at a time.
constexpr int kMaxReplyLines = 1000;

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// True when the socket is ready for `events` (or has an error to report) within the time.
bool WaitFor(int fd, short events, int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, MsLeft(deadline));
    if (r > 0) return true;
    if (r == 0 || errno != EINTR) return false;
  }
}

bool SendAll(int fd, const char* bytes, std::size_t count, int timeoutMs) {
  while (count > 0) {
    ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, timeoutMs)) continue;
      return false;
    }
    bytes += sent;
    count -= static_cast<std::size_t>(sent);
  }
  return true;
}

bool SendCommand(int fd, const std::string& text) {
  if (fd <= 0) return false;
  std::string line = text + "\r\n";
  return SendAll(fd, line.data(), line.size(), CurrentTuning().controlTimeoutMs);
}

// One reply line without its CRs. Bytes are peeked and then only the line's own bytes
// consumed, so replies that arrive together stay for the next read.
std::string ReadLine(int fd) {
  std::string line;
  if (fd <= 0) return line;
  auto deadline = Clock::now() + std::chrono::milliseconds(CurrentTuning().controlTimeoutMs);
  char buf[4096];
  for (;;) {
    int left = MsLeft(deadline);
    if (left <= 0 || !WaitFor(fd, POLLIN, left)) return line;
    ssize_t n = recv(fd, buf, sizeof buf, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return line;
    auto* lf = static_cast<const char*>(std::memchr(buf, '\n', static_cast<std::size_t>(n)));
    std::size_t take = lf ? static_cast<std::size_t>(lf - buf) + 1 : static_cast<std::size_t>(n);
    ssize_t got = recv(fd, buf, take, MSG_DONTWAIT);
    if (got <= 0) return line;
    for (ssize_t i = 0; i < got; ++i) {
      char c = buf[i];
      if (c == '\n') return line;
      if (c != '\r' && line.size() < kMaxLineBytes) line += c;
    }
  }
}

// Reads the remaining lines of a multi-line reply and gives its last line, so the
// next command's reply is not taken from the middle of this one.
std::string FinishReply(int fd, std::string line) {
  if (!HasContinuationMark(line)) return line;
  std::string code = line.substr(0, 3);
  for (int n = 0; n < kMaxReplyLines; ++n) {
    std::string next = ReadLine(fd);
    if (next.empty()) return next;
    if (next.size() >= 3 && next.compare(0, 3, code) == 0 && (next.size() == 3 || next[3] == ' ')) return next;
  }
  return std::string();
}

// The folder change reply: an empty read (nothing yet) is retried a few times.
std::string ReadPatientReply(int fd) {
  std::string line;
  for (int n = 0; n < 5; ++n) {
    if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(CurrentTuning().emptyReplyPauseMs));
    line = ReadLine(fd);
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
    int err = 0;
    socklen_t len = sizeof err;
    if (errno != EINPROGRESS || !WaitFor(fd, POLLOUT, timeoutMs) ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
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
  if (colon != std::string::npos) {
    std::string digits = host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    port = std::stoi(digits);
    host.resize(colon);
  }
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
  std::string line = ReadLine(fd);
  for (int n = 0;; ++n) {
    if (ftpReplyCode(line) != 220 || n >= kMaxReplyLines) return -1;
    if (!HasContinuationMark(line)) break;
    line = ReadLine(fd);
  }
  if (!SendCommand(fd, "USER " + user)) return -1;
  line = ReadLine(fd);
  // Any answer to USER but 331 is already the login result (230: no password needed).
  if (ftpReplyCode(line) == 331) {
    if (!SendCommand(fd, "PASS " + password)) return -1;
    line = ReadLine(fd);
  }
  for (int n = 0;; ++n) {
    if (FourCharCode(line) == 530) return 0;
    if (!HasContinuationMark(line) || n >= kMaxReplyLines) break;
    line = ReadLine(fd);
  }
  if (ftpReplyCode(line) != 230 || HasContinuationMark(line)) return -1;
  if (!SendCommand(fd, "PASV")) return 0;
  line = ReadLine(fd);
  for (int n = 0; n < kMaxReplyLines; ++n) {
    if (FourCharCode(line) != 227) return 0;
    if (!HasContinuationMark(line)) return 1;
    line = ReadLine(fd);
  }
  return 0;
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

// A transfer that failed part-way is reset rather than closed, so the server does not
// take the bytes it got for the whole file.
void AbortDataConnection(int fd) {
  linger l{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  close(fd);
}

}  // namespace

int ftpReplyCode(std::string_view line) {
  std::string word = core::Trim(line);
  std::size_t space = word.find(' ');
  if (space != std::string::npos) word.resize(space);
  return core::ParseNumber(word);
}

int FourCharCode(std::string_view line) { return core::ParseNumber(core::Trim(line.substr(0, 4))); }

bool HasContinuationMark(std::string_view line) { return line.size() >= 4 && line[3] == '-'; }

std::string NormaliseFolder(std::string_view folder) {
  std::string f = core::ReplaceAll(std::string(folder), "\\", "/");
  std::size_t first = f.find_first_not_of('/');
  if (first == std::string::npos) return std::string();
  f = f.substr(first, f.find_last_not_of('/') - first + 1);
  if (f.find('/') != std::string::npos) f += '/';
  return f;
}

bool PassivePort(std::string_view line, int& port) {
  std::size_t open = line.find_first_of("()");
  if (open == std::string_view::npos) return false;
  std::string_view inner = line.substr(open + 1);
  inner = inner.substr(0, inner.find_first_of("()"));
  int numbers[6];
  for (int i = 0; i < 6; ++i) {
    std::size_t comma = inner.find(',');
    if (comma == std::string_view::npos && i < 5) return false;
    std::string piece = core::Trim(inner.substr(0, comma));
    if (piece.empty() || piece.size() > 3 || piece.find_first_not_of("0123456789") != std::string::npos) return false;
    numbers[i] = std::stoi(piece);
    if (numbers[i] > 255) return false;
    inner = comma == std::string_view::npos ? std::string_view() : inner.substr(comma + 1);
  }
  port = numbers[4] * 256 + numbers[5];
  return port > 0;
}

bool HasControlBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 32) return true;
  return false;
}

int ftpOpenDataConnection(int connection) {
  if (!SendCommand(connection, "PASV")) return -1;
  std::string line = FinishReply(connection, ReadLine(connection));
  int port = 0;
  if (ftpReplyCode(line) != 227 || !PassivePort(line, port)) return -1;
  // The announced address is not trusted: the data goes to the control connection's peer.
  sockaddr_in peer{};
  socklen_t len = sizeof peer;
  if (getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &len) != 0 || peer.sin_family != AF_INET)
    return -1;
  peer.sin_port = htons(static_cast<uint16_t>(port));
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fd = ConnectTo(peer, CurrentTuning().dataTimeoutMs);
    if (fd > 0) return fd;
  }
  return -1;
}

int ftpSendBlock(int dataConnection, const char* bytes, std::size_t count) {
  if (CurrentTuning().onBlock) CurrentTuning().onBlock(count);
  return SendAll(dataConnection, bytes, count, CurrentTuning().dataTimeoutMs) ? 1 : 0;
}

int PutFile(int connection, const std::string& remoteName, const std::string& localPath, std::string& status) {
  status.clear();
  if (HasControlBytes(remoteName)) {
    status = "Invalid remote file name.";
    return 0;
  }
  struct stat info {};
  if (stat(localPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    status = "Local File Not Found";
    return 0;
  }
  int file = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0 || fstat(file, &info) != 0) {
    if (file >= 0) close(file);
    status = "Local File Access Error.";
    return 0;
  }
  ftpSetBinary(connection);
  int data = ftpOpenDataConnection(connection);
  if (data == -1) {
    status = "Could not open a binary connection.";
    close(file);
    return 0;
  }
  SendCommand(connection, "STOR " + remoteName);
  status = FinishReply(connection, ReadLine(connection));
  int code = ftpReplyCode(status);
  if (code != 150 && code != 125) {
    status += "*";
    close(data);
    close(file);
    return 0;
  }
  auto size = static_cast<std::size_t>(info.st_size);
  std::size_t full = size / kBlockSize, rest = size % kBlockSize;
  char buffer[kBlockSize];
  bool ok = true;
  for (std::size_t n = 0; ok && n < full; ++n) {
    if (!ReadExactly(file, buffer, kBlockSize)) {
      status = "Local File Access Error.";
      ok = false;
    } else if (!ftpSendBlock(data, buffer, kBlockSize)) {
      status = "could not write to socket.";
      ok = false;
    }
  }
  if (ok && rest > 0) {
    if (!ReadExactly(file, buffer, rest)) {
      status = "Local File Access Error.";
      ok = false;
    } else if (!ftpSendBlock(data, buffer, rest)) {
      status = "Could not write to socket.";
      ok = false;
    }
  }
  if (!ok) {
    AbortDataConnection(data);
    close(file);
    return 0;
  }
  close(data);
  status = FinishReply(connection, ReadLine(connection));
  close(file);
  return ftpReplyCode(status) == 226 ? 1 : 0;
}

}  // namespace ftp

using namespace ftp;

extern "C" {

int ftpConnect(const char* host, const char* user, const char* password) {
  std::string u = Text(user), p = Text(password);
  if (HasControlBytes(u) || HasControlBytes(p)) return -1;
  sockaddr_in address{};
  if (!Resolve(Text(host), address)) return -1;
  int fd = ConnectTo(address, CurrentTuning().controlTimeoutMs);
  if (fd < 0) return -1;
  int result = LogIn(fd, u, p);
  if (result <= 0) {
    close(fd);
    return result;
  }
  return fd;
}

int ftpChangeDir(int connection, const char* folder) {
  std::string f = Text(folder);
  if (connection <= 0 || HasControlBytes(f)) return 0;
  if (!SendCommand(connection, "CWD " + NormaliseFolder(f))) return 0;
  if (ftpReplyCode(ReadPatientReply(connection)) != 250) return 0;
  if (!SendCommand(connection, "PASV")) return 0;
  return ftpReplyCode(ReadPatientReply(connection)) == 227 ? 1 : 0;
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
  std::string line = ReadLine(connection);
  for (int n = 0; HasContinuationMark(line) && n < kMaxReplyLines; ++n) line = ReadLine(connection);
  close(connection);
}

void ftpSetBinary(int connection) {
  SendCommand(connection, "TYPE I");
  FinishReply(connection, ReadLine(connection));
}

}  // extern "C"
