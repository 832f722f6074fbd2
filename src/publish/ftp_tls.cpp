#include "publish/ftp_tls.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <map>
#include <mutex>

namespace ftp::tls {

namespace {

std::mutex mutex;
std::map<int, SSL*> sockets;

SSL_CTX* Context() {
  static SSL_CTX* context = [] {
    SSL_CTX* c = SSL_CTX_new(TLS_client_method());
    if (!c) return c;
    SSL_CTX_set_min_proto_version(c, TLS1_2_VERSION);
    SSL_CTX_set_default_verify_paths(c);
    // The chain is judged after the handshake, so a refusal can say why and a
    // certificate the user chose to trust can be accepted.
    SSL_CTX_set_verify(c, SSL_VERIFY_NONE, nullptr);
    SSL_CTX_set_session_cache_mode(c, SSL_SESS_CACHE_CLIENT);
    return c;
  }();
  return context;
}

SSL* Find(int fd) {
  std::lock_guard<std::mutex> lock(mutex);
  auto it = sockets.find(fd);
  return it == sockets.end() ? nullptr : it->second;
}

Io Result(SSL* ssl, int r) {
  switch (SSL_get_error(ssl, r)) {
    case SSL_ERROR_WANT_READ: return Io::WantRead;
    case SSL_ERROR_WANT_WRITE: return Io::WantWrite;
    case SSL_ERROR_ZERO_RETURN: return Io::Closed;
    case SSL_ERROR_SYSCALL: ERR_clear_error(); return r == 0 ? Io::Closed : Io::Failed;
    default: ERR_clear_error(); return Io::Failed;
  }
}

}  // namespace

bool Attach(int fd, const std::string& hostName, int sessionFrom, std::string& error) {
  SSL_CTX* context = Context();
  SSL* ssl = context ? SSL_new(context) : nullptr;
  if (!ssl || SSL_set_fd(ssl, fd) != 1) {
    if (ssl) SSL_free(ssl);
    error = "TLS could not be set up";
    return false;
  }
  SSL_set_tlsext_host_name(ssl, hostName.c_str());
  SSL_set1_host(ssl, hostName.c_str());
  if (SSL* control = sessionFrom >= 0 ? Find(sessionFrom) : nullptr) {
    if (SSL_SESSION* session = SSL_get1_session(control)) {
      SSL_set_session(ssl, session);
      SSL_SESSION_free(session);
    }
  }
  std::lock_guard<std::mutex> lock(mutex);
  if (auto old = sockets.find(fd); old != sockets.end()) SSL_free(old->second);
  sockets[fd] = ssl;
  return true;
}

bool Enabled(int fd) { return Find(fd) != nullptr; }

Io Handshake(int fd) {
  SSL* ssl = Find(fd);
  if (!ssl) return Io::Failed;
  int r = SSL_connect(ssl);
  return r == 1 ? Io::Done : Result(ssl, r);
}

std::string VerifyFailure(int fd) {
  SSL* ssl = Find(fd);
  if (!ssl) return "no TLS";
  X509* peer = SSL_get1_peer_certificate(ssl);
  if (!peer) return "the server sent no certificate";
  X509_free(peer);
  long result = SSL_get_verify_result(ssl);
  return result == X509_V_OK ? std::string() : X509_verify_cert_error_string(result);
}

std::string PeerFingerprint(int fd) {
  SSL* ssl = Find(fd);
  X509* peer = ssl ? SSL_get1_peer_certificate(ssl) : nullptr;
  if (!peer) return std::string();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  X509_digest(peer, EVP_sha256(), digest, &length);
  X509_free(peer);
  static const char* hex = "0123456789ABCDEF";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    if (i) text += ':';
    text += hex[digest[i] >> 4];
    text += hex[digest[i] & 15];
  }
  return text;
}

Io Write(int fd, const char* bytes, std::size_t count, std::size_t& written) {
  SSL* ssl = Find(fd);
  if (!ssl) return Io::Failed;
  int r = SSL_write_ex(ssl, bytes, count, &written);
  return r == 1 ? Io::Done : Result(ssl, r);
}

Io Peek(int fd, char* buffer, std::size_t count, std::size_t& got) {
  SSL* ssl = Find(fd);
  if (!ssl) return Io::Failed;
  int r = SSL_peek_ex(ssl, buffer, count, &got);
  return r == 1 ? Io::Done : Result(ssl, r);
}

Io Read(int fd, char* buffer, std::size_t count, std::size_t& got) {
  SSL* ssl = Find(fd);
  if (!ssl) return Io::Failed;
  int r = SSL_read_ex(ssl, buffer, count, &got);
  return r == 1 ? Io::Done : Result(ssl, r);
}

void Detach(int fd, bool orderly) {
  SSL* ssl = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = sockets.find(fd);
    if (it == sockets.end()) return;
    ssl = it->second;
    sockets.erase(it);
  }
  if (orderly && SSL_is_init_finished(ssl)) SSL_shutdown(ssl);
  SSL_free(ssl);
}

}  // namespace ftp::tls
