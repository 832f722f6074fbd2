#include "publish/secure_host.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <QUrl>
#include <vector>

#include "core/text.h"
#include "publish/ftp_client.h"

namespace {

QByteArray Sha256(std::string_view bytes) {
  return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                  QCryptographicHash::Sha256);
}

bool ValidPort(std::string_view digits, int& port) {
  if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  port = std::stoi(std::string(digits));
  return port >= 1 && port <= 65535;
}

// "a//b/c/" -> "a", "b", "c".
std::vector<std::string> PathPieces(std::string_view path) {
  std::vector<std::string> pieces;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t slash = path.find('/', at);
    if (slash == std::string_view::npos) slash = path.size();
    if (slash > at) pieces.emplace_back(path.substr(at, slash - at));
    at = slash + 1;
  }
  return pieces;
}

}  // namespace

bool IsSecureHost(std::string_view typed) {
  std::string t = core::ToLower(core::Trim(typed));
  return core::StartsWith(t, "ftps://") || core::StartsWith(t, "sftp://");
}

bool ParseSecureHost(std::string_view typed, SecureHost& out) {
  out = SecureHost{};
  std::string t = core::ToLower(core::Trim(typed));
  SecureHost h;
  if (core::StartsWith(t, "ftps://")) {
    h.transport = Transport::Ftps;
    h.port = 21;
  } else if (core::StartsWith(t, "sftp://")) {
    h.transport = Transport::Sftp;
    h.port = 22;
  } else {
    return false;
  }
  std::string rest = t.substr(7);
  while (!rest.empty() && rest.back() == '/') rest.pop_back();
  if (rest.empty() || rest.find_first_of("/?#@ \t\\") != std::string::npos || ftp::HasControlBytes(rest)) return false;
  std::string portText;
  if (rest[0] == '[') {
    std::size_t close = rest.find(']');
    if (close == std::string::npos || close == 1) return false;
    h.host = rest.substr(0, close + 1);
    std::string after = rest.substr(close + 1);
    if (!after.empty() && (after[0] != ':' || !ValidPort(after.substr(1), h.port))) return false;
  } else {
    std::size_t colon = rest.find(':');
    if (colon != rest.rfind(':')) return false;  // a bare IPv6 address needs its brackets
    h.host = rest.substr(0, colon);
    if (colon != std::string::npos && !ValidPort(rest.substr(colon + 1), h.port)) return false;
  }
  if (h.host.empty()) return false;
  out = h;
  return true;
}

std::string ServerName(const SecureHost& host) {
  return std::string(host.transport == Transport::Sftp ? "sftp://" : "ftps://") + host.host + ":" +
         std::to_string(host.port);
}

std::string RemoteUrl(const SecureHost& host, std::string_view path) {
  std::string url = std::string(host.transport == Transport::Sftp ? "sftp://" : "ftp://") + host.host + ":" +
                    std::to_string(host.port) + "/";
  if (host.transport == Transport::Sftp) url += "~/";
  std::vector<std::string> pieces = PathPieces(path);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) url += "/";
    url += QUrl::toPercentEncoding(QString::fromStdString(pieces[i])).toStdString();
  }
  if (!pieces.empty() && !path.empty() && path.back() == '/') url += "/";
  return url;
}

std::string SftpQuotePath(std::string_view home, std::string_view path) {
  std::string full(home);
  while (!full.empty() && full.back() == '/') full.pop_back();
  for (const std::string& piece : PathPieces(path)) full += "/" + piece;
  if (full.empty()) full = "/";
  std::string quoted = "\"";
  for (char c : full) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string CertificatePin(std::string_view publicKeyDer) {
  return "sha256//" + Sha256(publicKeyDer).toBase64().toStdString();
}

std::string HostKeyFingerprint(std::string_view keyBlob) {
  return "SHA256:" + Sha256(keyBlob).toBase64(QByteArray::OmitTrailingEquals).toStdString();
}
