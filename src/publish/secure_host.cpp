#include "publish/secure_host.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QMessageAuthenticationCode>
#include <QString>
#include <QUrl>
#include <vector>

#include "core/files.h"
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

namespace {

std::vector<std::string> SplitOn(std::string_view s, std::string_view separators) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find_first_of(separators, start);
    if (end == std::string_view::npos) end = s.size();
    parts.emplace_back(s.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// * and ? as in ssh's host patterns, letter case ignored.
bool GlobMatches(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) ++p, ++n;
    else if (p < pattern.size() && pattern[p] == '*') star = p++, resume = n;
    else if (star != std::string_view::npos) p = star + 1, n = ++resume;
    else return false;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// A "|1|salt|hash" entry: HMAC-SHA1 of the name under the salt.
bool HashedMatches(std::string_view entry, const std::string& name) {
  std::vector<std::string> parts = SplitOn(entry.substr(3), "|");
  if (parts.size() != 2) return false;
  QByteArray salt = QByteArray::fromBase64(QByteArray::fromStdString(parts[0]));
  QByteArray hash = QByteArray::fromBase64(QByteArray::fromStdString(parts[1]));
  return !salt.isEmpty() &&
         QMessageAuthenticationCode::hash(QByteArray::fromStdString(name), salt, QCryptographicHash::Sha1) == hash;
}

// Whether the comma-separated host list names `name`; a matching !pattern rules the line out.
bool HostListNames(std::string_view list, const std::string& name) {
  bool named = false;
  for (const std::string& entry : SplitOn(list, ",")) {
    if (core::StartsWith(entry, "|1|")) named = named || HashedMatches(entry, name);
    else if (core::StartsWith(entry, "!")) {
      if (GlobMatches(std::string_view(entry).substr(1), name)) return false;
    } else named = named || GlobMatches(entry, name);
  }
  return named;
}

// The key type named at the start of an SSH public key blob ("ecdsa-sha2-nistp256").
std::string KeyTypeOf(std::string_view blob) {
  if (blob.size() < 4) return {};
  size_t length = (size_t(uint8_t(blob[0])) << 24) | (size_t(uint8_t(blob[1])) << 16) |
                  (size_t(uint8_t(blob[2])) << 8) | size_t(uint8_t(blob[3]));
  return length <= blob.size() - 4 ? std::string(blob.substr(4, length)) : std::string();
}

}  // namespace

KnownHostMatch FindInKnownHosts(std::string_view knownHosts, const std::string& host, int port,
                                std::string_view keyBlob) {
  const std::string name = port == 22 ? host : "[" + host + "]:" + std::to_string(port);
  const std::string type = KeyTypeOf(keyBlob);
  KnownHostMatch result = KnownHostMatch::None;
  for (const std::string& raw : core::SplitLines(knownHosts)) {
    std::vector<std::string> fields;
    for (const std::string& f : SplitOn(core::TrimBlank(raw), " \t"))
      if (!f.empty()) fields.push_back(f);
    if (fields.empty() || core::StartsWith(fields[0], "#")) continue;
    bool revoked = fields[0] == "@revoked";
    if (core::StartsWith(fields[0], "@")) {
      if (!revoked) continue;  // certificate authorities are not keys of a server
      fields.erase(fields.begin());
    }
    if (fields.size() < 3 || !HostListNames(fields[0], name)) continue;
    QByteArray key = QByteArray::fromBase64(QByteArray::fromStdString(fields[2]));
    bool same = std::string_view(key.constData(), static_cast<size_t>(key.size())) == keyBlob;
    if (revoked) {
      if (same) return KnownHostMatch::Different;
    } else if (same) result = KnownHostMatch::Same;
    else if (fields[1] == type && result == KnownHostMatch::None) result = KnownHostMatch::Different;
  }
  return result;
}

// What the user's and the system's known_hosts files say of this server's key.
KnownHostMatch KnownHostsSay(const SecureHost& host, std::string_view keyBlob) {
  KnownHostMatch said = KnownHostMatch::None;
  for (const QString& file : {QDir::homePath() + "/.ssh/known_hosts", QString("/etc/ssh/ssh_known_hosts")}) {
    std::string text;
    if (!core::ReadFileBytes(file.toStdString(), text)) continue;
    KnownHostMatch match = FindInKnownHosts(text, host.host, host.port, keyBlob);
    if (match == KnownHostMatch::Same) return match;
    if (match == KnownHostMatch::Different) said = match;
  }
  return said;
}
