// Encrypted servers as the host field names them, and the names libcurl and the trust
// file give their paths and keys.
#pragma once
#include <string>
#include <string_view>

enum class Transport { Ftp, Ftps, Sftp };

struct SecureHost {
  Transport transport = Transport::Ftp;
  std::string host;  // name or address as typed, lower-cased ("[::1]" keeps its brackets)
  int port = 0;      // 21 for FTPS, 22 for SFTP when none is typed
};

// "ftps://Example.org:2121/" -> Ftps, "example.org", 2121. False (transport Ftp) for a
// plain host, and for an encrypted one whose name or port is unusable.
bool ParseSecureHost(std::string_view typed, SecureHost& out);
// True when the typed host asks for FTPS or SFTP (also when it is unusable: the run then
// says why instead of trying plain FTP).
bool IsSecureHost(std::string_view typed);
// How the trust file names the server: "ftps://example.org:21".
std::string ServerName(const SecureHost& host);
// The address of a remote path for libcurl, each piece percent-encoded: SFTP paths start
// in the home folder ("sftp://h:22/~/pages/a%20b.gif"), FTP paths in the login folder.
std::string RemoteUrl(const SecureHost& host, std::string_view path);
// A path below the home folder as an argument of an SFTP quote command:
// "/home/anna/pages/a b.gif" in double quotes, with backslashes and quotes escaped.
std::string SftpQuotePath(std::string_view home, std::string_view path);

// Fingerprints in the trust file's forms: of a certificate's public key (the DER
// SubjectPublicKeyInfo) "sha256//BASE64", of an SSH host key blob "SHA256:BASE64".
std::string CertificatePin(std::string_view publicKeyDer);
std::string HostKeyFingerprint(std::string_view keyBlob);

// What an OpenSSH known_hosts file says of a server's key: nothing, the same key, or another
// key of the same kind (or this key marked @revoked). `host` and `port` as the server is
// reached; hashed host names (HashKnownHosts) and * ? ! patterns are understood.
enum class KnownHostMatch { None, Same, Different };
KnownHostMatch FindInKnownHosts(std::string_view knownHosts, const std::string& host, int port,
                                std::string_view keyBlob);
// What the user's (~/.ssh/known_hosts) and the system's known_hosts files say of this server's key.
KnownHostMatch KnownHostsSay(const SecureHost& host, std::string_view keyBlob);
