#include "publish/secure_transfer.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/text.h"
#include "publish/remote_replace.h"
#include "publish/transport.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the run's cancel flag.
constexpr int kSliceMs = 50;

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

long LongSeconds(int ms) { return std::max(1L, static_cast<long>((ms + 999) / 1000)); }

long long LocalSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : -1;
}

// One run's libcurl handles and what its callbacks learned. All requests of a run go
// through one easy handle, so they share the connection (and, for FTPS, the TLS session).
class Session {
 public:
  Session(const PublishJob& job, ftp::RunControl& control, const SecureHost& host)
      : job_(job), control_(control), host_(host) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    control_.SetWake([this] { ShutForCancel(); });
  }
  ~Session() {
    control_.SetWake(nullptr);
    if (easy_) curl_easy_cleanup(easy_);
    if (multi_) curl_multi_cleanup(multi_);  // closes the kept connection (QUIT)
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  enum class KeyCheck { None, Unknown, Changed };

  // Logs in. SFTP quote commands take whole paths, so the home folder is asked for:
  // libcurl answers "pwd" as an FTP server would, 257 "/home/anna" ...
  CURLcode LogIn() {
    Prepare(RemoteUrl(host_, ""));
    curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    curl_slist* pwd = host_.transport == Transport::Sftp ? curl_slist_append(nullptr, "pwd") : nullptr;
    curl_easy_setopt(easy_, CURLOPT_QUOTE, pwd);
    CURLcode result = Perform();
    curl_easy_setopt(easy_, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(pwd);
    if (result == CURLE_OK && host_.transport == Transport::Sftp && home_.empty()) {
      cause_ = "the server did not tell the home folder";
      return CURLE_QUOTE_ERROR;
    }
    return result;
  }

  // Checks that the folder exists: FTP changes into it, SFTP lists it.
  CURLcode FindFolder(const std::string& folder) {
    Prepare(RemoteUrl(host_, folder + "/"));
    if (host_.transport != Transport::Sftp) curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    return Perform();
  }

  CURLcode Upload(const std::string& localPath, const std::string& remotePath, long long size) {
    FILE* file = std::fopen(localPath.c_str(), "rb");
    if (!file) {
      cause_ = "cannot read " + localPath;
      return CURLE_READ_ERROR;
    }
    Prepare(RemoteUrl(host_, remotePath));
    curl_easy_setopt(easy_, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy_, CURLOPT_READDATA, file);
    curl_easy_setopt(easy_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(easy_, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(easy_, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
    uploading_ = true;
    CURLcode result = Perform();
    uploading_ = false;
    std::fclose(file);
    curl_off_t sent = 0;
    if (result == CURLE_OK && curl_easy_getinfo(easy_, CURLINFO_SIZE_UPLOAD_T, &sent) == CURLE_OK && sent != size) {
      cause_ = ftp::kShortFileStatus + std::to_string(sent) + " of the " + std::to_string(size) + " bytes sent.";
      result = CURLE_PARTIAL_FILE;
    }
    return result;
  }

  // A folder's listing: MLSD over FTP while `mlsd` is set (a server without it is asked
  // with LIST), the directory listing over SFTP.
  CURLcode List(const std::string& folder, bool& mlsd, std::string& text) {
    for (;;) {
      text.clear();
      Prepare(RemoteUrl(host_, folder.empty() ? std::string() : folder + "/"));
      curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Session::Collect);
      curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &text);
      bool askMlsd = mlsd && host_.transport != Transport::Sftp;
      if (askMlsd) curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, "MLSD");
      CURLcode result = Perform();
      int code = ftp::ftpReplyCode(lastReply_);
      if (!askMlsd || result == CURLE_OK || (code != 500 && code != 502)) {
        if (host_.transport == Transport::Sftp) mlsd = false;
        return result;
      }
      mlsd = false;
    }
  }

  // The size the server holds (SIZE over FTP, a stat over SFTP); -1 when it cannot tell.
  CURLcode RemoteSize(const std::string& remotePath, long long& size) {
    Prepare(RemoteUrl(host_, remotePath));
    curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    CURLcode result = Perform();
    curl_off_t length = -1;
    if (result == CURLE_OK) curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    size = length;
    return result;
  }

  // Renames a file within its folder.
  RemoteFiles::Renamed Rename(const std::string& from, const std::string& to) {
    bool sftp = host_.transport == Transport::Sftp;
    lastResult_ = Commands(FolderOf(to), {sftp ? "rename " + SftpQuotePath(home_, from) + " " + SftpQuotePath(home_, to)
                                               : "RNFR " + NameOf(from),
                                          sftp ? std::string() : "RNTO " + NameOf(to)});
    if (lastResult_ == CURLE_OK) return RemoteFiles::Renamed::Done;
    // Over FTP only a permanent refusal (5xx) may mean "exists already"; SFTP does not tell.
    bool refused = lastResult_ == CURLE_QUOTE_ERROR && (sftp || ftp::ftpReplyCode(lastReply_) >= 500);
    return refused ? RemoteFiles::Renamed::Refused : RemoteFiles::Renamed::Failed;
  }

  CURLcode Delete(const std::string& path) {
    bool sftp = host_.transport == Transport::Sftp;
    lastResult_ = Commands(FolderOf(path), {sftp ? "rm " + SftpQuotePath(home_, path) : "DELE " + NameOf(path)});
    return lastResult_;
  }

  // The cause of a failed request in plain words.
  std::string Cause(CURLcode result) const;
  std::string LastCause() const { return Cause(lastResult_); }
  // See RemoteFiles::MustFinish.
  void MustFinish(bool on) {
    std::lock_guard<std::mutex> lock(socketsMutex_);  // a swap begins before or after a shut, not during one
    finishing_ = on;
  }
  // On the cancelling thread: libcurl waits for some replies (the one after an upload's
  // last byte, those of rename commands) without returning, and looks at a cancel only
  // once a second; a connection shut at once ends such a wait. A swap under way is
  // left to end (see StopNow).
  void ShutForCancel() {
    std::lock_guard<std::mutex> lock(socketsMutex_);
    if (!finishing_)
      for (curl_socket_t socket : sockets_) ::shutdown(socket, SHUT_RDWR);
  }

  KeyCheck keyCheck() const { return keyCheck_; }
  const std::string& seenKey() const { return seenKey_; }

 private:
  // Sends commands after changing to `folder` (FTP) without a transfer; empty ones are skipped.
  CURLcode Commands(const std::string& folder, const std::vector<std::string>& commands) {
    Prepare(RemoteUrl(host_, folder.empty() ? std::string() : folder + "/"));
    curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    curl_slist* list = nullptr;
    for (const std::string& c : commands)
      if (!c.empty()) list = curl_slist_append(list, c.c_str());
    curl_easy_setopt(easy_, CURLOPT_POSTQUOTE, list);
    CURLcode result = Perform();
    curl_easy_setopt(easy_, CURLOPT_POSTQUOTE, nullptr);
    curl_slist_free_all(list);
    return result;
  }

  void Prepare(const std::string& url);
  CURLcode Perform();
  bool StopNow();

  static size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }
  static size_t Collect(char* data, size_t size, size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
  }
  static size_t Header(char* data, size_t size, size_t count, void* self);
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow);
  static int Debug(CURL*, curl_infotype type, char* data, size_t size, void* self);
  static CURLcode SslContext(CURL*, void* context, void* self);
  static int VerifyPeer(int ok, X509_STORE_CTX* store);
  static int HostKey(void* self, int type, const char* key, size_t length);
  static curl_socket_t OpenSocket(void* self, curlsocktype, curl_sockaddr* address);
  static int CloseSocket(void* self, curl_socket_t socket);

  const PublishJob& job_;
  ftp::RunControl& control_;
  SecureHost host_;
  CURLM* multi_ = nullptr;
  CURL* easy_ = nullptr;
  char errorText_[CURL_ERROR_SIZE] = {};
  std::string url_, lastReply_, cause_, home_;
  bool uploading_ = false, loggingIn_ = false;
  CURLcode lastResult_ = CURLE_OK;
  bool finishing_ = false;                       // guarded by socketsMutex_ where the cancelling thread reads it
  std::optional<Clock::time_point> hurryUntil_;  // a swap under way when a stop was asked ends by then
  KeyCheck keyCheck_ = KeyCheck::None;
  std::string seenKey_, certificateProblem_;
  std::mutex socketsMutex_;
  std::vector<curl_socket_t> sockets_;  // open connections, control and data
};

// The verify callback of OpenSSL has no user pointer; the run's thread tells whose it is.
thread_local Session* verifying = nullptr;

void Session::Prepare(const std::string& url) {
  curl_easy_reset(easy_);
  url_ = url;
  errorText_[0] = '\0';
  cause_.clear();
  lastReply_.clear();
  auto set = [this](CURLoption option, auto value) { curl_easy_setopt(easy_, option, value); };
  set(CURLOPT_URL, url_.c_str());
  set(CURLOPT_WRITEFUNCTION, &Session::Discard);
  set(CURLOPT_HEADERFUNCTION, &Session::Header);
  set(CURLOPT_HEADERDATA, this);
  set(CURLOPT_ERRORBUFFER, errorText_);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_OPENSOCKETFUNCTION, &Session::OpenSocket);
  set(CURLOPT_OPENSOCKETDATA, this);
  set(CURLOPT_CLOSESOCKETFUNCTION, &Session::CloseSocket);
  set(CURLOPT_CLOSESOCKETDATA, this);
  set(CURLOPT_USERNAME, job_.user.c_str());
  set(CURLOPT_PASSWORD, job_.password.c_str());
  const ftp::Tuning& tuning = ftp::CurrentTuning();
  set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(tuning.controlTimeoutMs));
  set(CURLOPT_SERVER_RESPONSE_TIMEOUT, LongSeconds(tuning.controlTimeoutMs));
  // A transfer that moves no byte for as long as a reply may take has stalled.
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  set(CURLOPT_LOW_SPEED_TIME, LongSeconds(tuning.controlTimeoutMs));
  set(CURLOPT_NOPROGRESS, 0L);
  set(CURLOPT_XFERINFOFUNCTION, &Session::Progress);
  set(CURLOPT_XFERINFODATA, this);
  // The debug stream carries the server's replies, which explain a refusal.
  set(CURLOPT_VERBOSE, 1L);
  set(CURLOPT_DEBUGFUNCTION, &Session::Debug);
  set(CURLOPT_DEBUGDATA, this);
  if (host_.transport == Transport::Ftps) {
    set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    set(CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    set(CURLOPT_SSL_CTX_FUNCTION, &Session::SslContext);
    set(CURLOPT_SSL_CTX_DATA, this);
    if (!job_.trustedKey.empty()) {
      // The user trusted this very key: it replaces the chain and name checks.
      set(CURLOPT_SSL_VERIFYPEER, 0L);
      set(CURLOPT_SSL_VERIFYHOST, 0L);
      set(CURLOPT_PINNEDPUBLICKEY, job_.trustedKey.c_str());
    }
  } else {
    set(CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    set(CURLOPT_SSH_HOSTKEYFUNCTION, &Session::HostKey);
    set(CURLOPT_SSH_HOSTKEYDATA, this);
  }
}

// A cancel or a spent budget ends a request at once; during a swap it only shortens it.
bool Session::StopNow() {
  bool cancel = control_.cancel, spent = control_.waitedMs >= control_.budgetMs;
  if (!cancel && !spent) return false;
  if (finishing_) {
    auto now = Clock::now();
    if (!hurryUntil_) hurryUntil_ = now + std::chrono::milliseconds(ftp::CurrentTuning().closeTimeoutMs);
    if (now < *hurryUntil_) return false;
  }
  (cancel ? control_.cancelled : control_.outOfTime) = true;
  return true;
}

CURLcode Session::Perform() {
  keyCheck_ = KeyCheck::None;
  seenKey_.clear();
  certificateProblem_.clear();
  hurryUntil_.reset();
  verifying = this;
  curl_multi_add_handle(multi_, easy_);
  CURLcode result = CURLE_OK;
  for (bool done = false; !done;) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        result = message->data.result;
        done = true;
      }
    }
    if (done || running == 0) break;
    if (StopNow()) {
      result = control_.cancelled ? CURLE_ABORTED_BY_CALLBACK : CURLE_OPERATION_TIMEDOUT;
      break;
    }
    // Time in which nothing moved is waiting for the server, charged to the run's budget.
    auto before = Clock::now();
    int active = 0;
    curl_multi_poll(multi_, nullptr, 0, kSliceMs, &active);
    if (active == 0)
      control_.waitedMs += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
  }
  // After a cancel or a spent budget the connections are shut at once: libcurl would
  // otherwise wait up to a second for a stalled SSH server to take its goodbye.
  if (control_.Stopped()) {
    std::lock_guard<std::mutex> lock(socketsMutex_);
    for (curl_socket_t socket : sockets_) ::shutdown(socket, SHUT_RDWR);
  }
  curl_multi_remove_handle(multi_, easy_);
  verifying = nullptr;
  return result;
}

curl_socket_t Session::OpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
  auto* s = static_cast<Session*>(self);
  curl_socket_t socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  std::lock_guard<std::mutex> lock(s->socketsMutex_);
  if (socket != CURL_SOCKET_BAD) s->sockets_.push_back(socket);
  return socket;
}

int Session::CloseSocket(void* self, curl_socket_t socket) {
  auto* s = static_cast<Session*>(self);
  std::lock_guard<std::mutex> lock(s->socketsMutex_);
  s->sockets_.erase(std::remove(s->sockets_.begin(), s->sockets_.end(), socket), s->sockets_.end());
  return ::close(socket);
}

size_t Session::Header(char* data, size_t size, size_t count, void* self) {
  auto* s = static_cast<Session*>(self);
  std::string_view line(data, size * count);
  std::size_t open = line.find('"'), close = line.rfind('"');
  if (core::StartsWith(line, "257 \"") && close > open) s->home_ = std::string(line.substr(open + 1, close - open - 1));
  return size * count;
}

int Session::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow) {
  auto* s = static_cast<Session*>(self);
  if (s->uploading_) s->control_.bytesSent = static_cast<long long>(ulnow);
  // libcurl waits for some replies (the one after an upload's last byte) without returning
  // to Perform, calling this about once a second meanwhile: its answer ends such a wait
  // when the connection was not shut (a spent budget; a cancel without ShutForCancel).
  return s->StopNow() ? 1 : 0;
}

int Session::Debug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
  auto* s = static_cast<Session*>(self);
  std::string_view text(data, size);
  if (type == CURLINFO_HEADER_IN) {
    // The closing line of a reply: three digits and a blank.
    std::string line = core::TrimBlank(text);
    if (line.size() >= 4 && line[3] == ' ' && line.find_first_not_of("0123456789") == 3)
      s->lastReply_ = line.substr(0, ftp::kMaxLineBytes);
  } else if (type == CURLINFO_TEXT && !s->loggingIn_ && core::StartsWith(text, "Connected to ")) {
    s->loggingIn_ = true;
    s->control_.SetStep("Logging in as " + s->job_.user + "...");
  }
  return 0;
}

CURLcode Session::SslContext(CURL*, void* context, void*) {
  auto* ssl = static_cast<SSL_CTX*>(context);
  // Keep libcurl's own decision; the callback only learns the key and the reason.
  SSL_CTX_set_verify(ssl, SSL_CTX_get_verify_mode(ssl), &Session::VerifyPeer);
  return CURLE_OK;
}

int Session::VerifyPeer(int ok, X509_STORE_CTX* store) {
  Session* s = verifying;
  if (!s) return ok;
  if (X509* leaf = X509_STORE_CTX_get0_cert(store); leaf && s->seenKey_.empty()) {
    unsigned char* der = nullptr;
    int length = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(leaf), &der);
    if (length > 0) s->seenKey_ = CertificatePin(std::string_view(reinterpret_cast<char*>(der), length));
    OPENSSL_free(der);
  }
  if (!ok && s->certificateProblem_.empty())
    s->certificateProblem_ = X509_verify_cert_error_string(X509_STORE_CTX_get_error(store));
  return ok;
}

int Session::HostKey(void* self, int, const char* key, size_t length) {
  auto* s = static_cast<Session*>(self);
  s->seenKey_ = HostKeyFingerprint(std::string_view(key, length));
  if (!s->job_.trustedKey.empty() && s->seenKey_ == s->job_.trustedKey) return CURLKHMATCH_OK;
  s->keyCheck_ = s->job_.trustedKey.empty() ? KeyCheck::Unknown : KeyCheck::Changed;
  return CURLKHMATCH_MISMATCH;
}

std::string Session::Cause(CURLcode result) const {
  if (!cause_.empty()) return cause_;
  const int timeoutMs = ftp::CurrentTuning().controlTimeoutMs;
  bool refusal = ftp::ftpReplyCode(lastReply_) >= 400;
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST: return "host name not found";
    case CURLE_COULDNT_CONNECT: {
      long error = 0;
      curl_easy_getinfo(easy_, CURLINFO_OS_ERRNO, &error);
      if (error == ECONNREFUSED) return "connection refused";
      if (error == ETIMEDOUT) return ftp::NoAnswer(timeoutMs);
      return error ? std::string("cannot connect: ") + std::strerror(static_cast<int>(error)) : "cannot connect";
    }
    case CURLE_OPERATION_TIMEDOUT: return ftp::NoAnswer(timeoutMs);
    case CURLE_PEER_FAILED_VERIFICATION:
      if (keyCheck_ == KeyCheck::Unknown) return "the server's host key is not known yet (" + seenKey_ + ")";
      if (keyCheck_ == KeyCheck::Changed)
        return "the server's host key has changed (now " + seenKey_ +
               "); if its owner changed it, remove the server's line from " + std::string("FtpTrust.ini");
      if (!certificateProblem_.empty()) return "certificate not trusted (" + certificateProblem_ + ")";
      return "certificate not trusted (it was issued for another host name)";
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
      return "certificate not trusted (it is not the certificate trusted before for this host)";
    case CURLE_USE_SSL_FAILED:
      return refusal ? "the server offers no encryption: " + lastReply_ : "the server offers no encryption";
    case CURLE_LOGIN_DENIED:
      if (host_.transport == Transport::Sftp) return "the server refused the user name or password";
      break;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      if (!refusal) return "the server closed the connection";
      break;
    default: break;
  }
  if (refusal) return lastReply_;
  if (result == CURLE_REMOTE_FILE_NOT_FOUND) return "no such file or folder";
  if (errorText_[0]) return errorText_;
  return curl_easy_strerror(result);
}

// The steps of a swap over the session's connection.
class SessionFiles : public RemoteFiles {
 public:
  SessionFiles(Session& session, const ftp::RunControl& control) : session_(session), control_(control) {}
  Renamed Rename(const std::string& from, const std::string& to) override { return session_.Rename(from, to); }
  Presence Exists(const std::string& path) override {
    long long size = -1;
    CURLcode result = session_.RemoteSize(path, size);
    if (result == CURLE_REMOTE_FILE_NOT_FOUND) return Presence::No;
    return result == CURLE_OK && size >= 0 ? Presence::Yes : Presence::Unknown;
  }
  bool Delete(const std::string& path) override { return session_.Delete(path) == CURLE_OK; }
  void MustFinish(bool on) override { session_.MustFinish(on); }
  bool Stopped() override { return control_.Stopped() || control_.cancel; }
  std::string Cause() override { return session_.LastCause(); }

 private:
  Session& session_;
  const ftp::RunControl& control_;
};

class CurlTransport : public PublishTransport {
 public:
  CurlTransport(const PublishJob& job, ftp::RunControl& control) : job_(job), control_(control) {}

  bool Connect(std::string& cause, std::string& offeredKey) override {
    SecureHost host;
    if (!ParseSecureHost(job_.host, host))
      return cause = "the host is not of the form ftps://host:port or sftp://host:port", false;
    if (ftp::HasControlBytes(job_.user) || ftp::HasControlBytes(job_.password))
      return cause = "user name or password holds a line break", false;
    session_ = std::make_unique<Session>(job_, control_, host);
    CURLcode result = session_->LogIn();
    if (result == CURLE_OK) return true;
    cause = session_->Cause(result);
    // A server whose identity could not be checked may be trusted by the user; one whose
    // SSH host key changed may not, from here.
    bool unverified = result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_PINNEDPUBKEYNOTMATCH;
    if (unverified && session_->keyCheck() != Session::KeyCheck::Changed) offeredKey = session_->seenKey();
    return false;
  }
  bool OpenFolder(const std::string& typed, std::string& cause) override {
    folder_ = ftp::NormaliseFolder(typed);
    while (!folder_.empty() && folder_.back() == '/') folder_.pop_back();
    if (folder_.empty()) return true;
    control_.SetStep("Changing to folder " + typed + "...");
    CURLcode result = ftp::HasControlBytes(folder_) ? CURLE_URL_MALFORMAT : session_->FindFolder(folder_);
    return result == CURLE_OK || (cause = session_->Cause(result), false);
  }
  // An upload makes the folders it needs.
  bool MakeFolder(const std::string&, std::string&) override { return true; }
  bool List(const std::string& folder, std::vector<RemoteEntry>& entries, std::string& cause) override {
    std::string text;
    CURLcode result = session_->List(folder.empty() ? folder_ : Joined(folder_, folder), mlsd_, text);
    if (result != CURLE_OK) return cause = session_->Cause(result), false;
    entries = mlsd_ ? ParseMlsd(text) : ParseList(text);
    return true;
  }
  Sent PutTemporary(const std::string& localPath, const std::string& temporary) override {
    Sent sent;
    long long size = LocalSize(localPath);
    if (size < 0 || ftp::HasControlBytes(temporary)) {
      sent.cause = size < 0 ? "local file not found: " + localPath : "Invalid remote file name.";
      return sent;
    }
    sent.leftover = true;
    long long held = -1;
    std::string path = Joined(folder_, temporary);
    CURLcode result = session_->Upload(localPath, path, size);
    if (result == CURLE_OK) result = session_->RemoteSize(path, held);
    if (result != CURLE_OK) {
      sent.cause = session_->Cause(result);
    } else if (held >= 0 && held != size) {
      sent.arrivedShort = true;
      sent.cause = ftp::kShortFileStatus + std::to_string(held) + " of the " + std::to_string(size) + " bytes sent.";
    } else {
      sent.ok = true;
    }
    return sent;
  }
  bool Place(const std::string& temporary, const std::string& real, std::string& cause) override {
    SessionFiles files(*session_, control_);
    cause = ReplaceRemoteFile(files, Joined(folder_, temporary), Joined(folder_, real));
    return cause.empty();
  }
  bool Delete(const std::string& path, std::string& cause) override {
    CURLcode result = session_->Delete(Joined(folder_, path));
    return result == CURLE_OK || (cause = session_->Cause(result), false);
  }
  void RemoveLeftover(const std::string& temporary) override {
    if (!control_.Stopped() && !control_.cancel) session_->Delete(Joined(folder_, temporary));
  }
  int Attempts() const override { return 2; }
  // Ending the session closes the kept connection (QUIT).
  void Close(bool) override { session_.reset(); }

 private:
  const PublishJob& job_;
  ftp::RunControl& control_;
  std::unique_ptr<Session> session_;
  bool mlsd_ = true;
  std::string folder_;  // the target folder below the login folder, no slash at either end
};

}  // namespace

extern "C" __attribute__((visibility("default"))) PublishTransport* VerostaSecureTransport(const PublishJob& job,
                                                                                           ftp::RunControl& control) {
  return new CurlTransport(job, control);
}
