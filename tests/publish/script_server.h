// An FTP server for tests, in a thread of the test process: it plays a script on one
// control connection and records every command line it receives and the bytes of the
// data connection.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

struct ScriptStep {
  enum Kind {
    Send,     // send `text` as it stands
    Dribble,  // send `text` one byte at a time
    Read,     // read one command line
    Pasv,     // "227 Entering Passive Mode (<text>,p1,p2)" with the data port
    Accept,   // accept the data connection and read it to its end
    Hold,     // accept the data connection and read nothing
    Drain,    // read the held data connection to its end
    Stall,    // answer nothing until the client goes away
    Trickle,  // send the line `text` every 50 ms until the client goes away (at most 20 s)
    Close,    // close the control connection
  } kind;
  std::string text;
};

inline ScriptStep Send(std::string t) { return {ScriptStep::Send, std::move(t)}; }
inline ScriptStep Line(std::string t) { return {ScriptStep::Send, t + "\r\n"}; }
inline ScriptStep Read() { return {ScriptStep::Read, ""}; }

class ScriptServer {
 public:
  // `dataPort` 0 takes any free port; `receiveBuffer` > 0 makes the data socket's buffer small.
  explicit ScriptServer(std::vector<ScriptStep> script, int dataPort = 0, int receiveBuffer = 0)
      : script_(std::move(script)) {
    control_ = Listen(0, 0);
    data_ = Listen(dataPort, receiveBuffer);
    port = PortOf(control_);
    dataPortInUse = PortOf(data_);
    ok = control_ >= 0 && data_ >= 0;
    if (ok) thread_ = std::thread([this] { Run(); });
  }
  ~ScriptServer() { Join(); }

  std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port); }

  // Waits for the script to end; commands still arriving are recorded first.
  void Join() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (int fd : {control_, data_, client_, dataClient_})
      if (fd >= 0) close(fd);
    control_ = data_ = client_ = dataClient_ = -1;
  }

  bool ok = false;
  int port = 0, dataPortInUse = 0;
  std::vector<std::string> commands;  // lines received, without CR LF
  std::string data;                   // bytes received on the data connection
  bool dataAccepted = false;
  bool dataReset = false;  // the data connection ended with a reset, not a close

 private:
  static int Listen(int port, int receiveBuffer) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 4) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }
  static int PortOf(int fd) {
    if (fd < 0) return 0;
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
  }
  // Waits for input; false on stop (after a last look) or after 20 s.
  bool Wait(int fd) {
    for (int n = 0; n < 400; ++n) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) return true;
      if (stop_) return poll(&p, 1, 0) > 0;
    }
    return false;
  }
  int AcceptData() {
    if (!Wait(data_)) return -1;
    dataAccepted = true;
    return accept4(data_, nullptr, nullptr, SOCK_CLOEXEC);
  }
  void ReadData(int fd) {
    char buf[65536];
    while (fd >= 0 && Wait(fd)) {
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n < 0 && errno == ECONNRESET) dataReset = true;
      if (n <= 0) break;
      data.append(buf, static_cast<std::size_t>(n));
    }
  }
  // One command line; false when the client has gone.
  bool ReadCommand() {
    std::string line;
    char c;
    while (Wait(client_)) {
      if (recv(client_, &c, 1, 0) != 1) break;
      if (c == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        commands.push_back(line);
        return true;
      }
      line += c;
    }
    return false;
  }
  bool ClientGone() {
    char c;
    ssize_t n = recv(client_, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
  }
  void SendText(const std::string& t) { send(client_, t.data(), t.size(), MSG_NOSIGNAL); }

  void Run() {
    if (!Wait(control_)) return;
    client_ = accept4(control_, nullptr, nullptr, SOCK_CLOEXEC);
    bool open = true;
    for (const ScriptStep& s : script_) {
      if (!open) break;
      switch (s.kind) {
        case ScriptStep::Send: SendText(s.text); break;
        case ScriptStep::Dribble:
          for (char c : s.text) {
            SendText(std::string(1, c));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
          break;
        case ScriptStep::Read: open = ReadCommand(); break;
        case ScriptStep::Pasv:
          SendText("227 Entering Passive Mode (" + s.text + "," + std::to_string(dataPortInUse / 256) + "," +
                   std::to_string(dataPortInUse % 256) + ").\r\n");
          break;
        case ScriptStep::Accept: ReadData(dataClient_ = AcceptData()); break;
        case ScriptStep::Hold: dataClient_ = AcceptData(); break;
        case ScriptStep::Drain: ReadData(dataClient_); break;
        case ScriptStep::Stall:
          while (ReadCommand()) {}
          open = false;
          break;
        case ScriptStep::Trickle:
          for (int n = 0; n < 400 && !stop_ && !ClientGone(); ++n) {
            SendText(s.text + "\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
          break;
        case ScriptStep::Close:
          close(client_);
          client_ = -1;
          open = false;
          break;
      }
    }
    while (open && ReadCommand()) {}  // whatever else the client says is recorded
  }

  std::vector<ScriptStep> script_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  int control_ = -1, data_ = -1, client_ = -1, dataClient_ = -1;
};
