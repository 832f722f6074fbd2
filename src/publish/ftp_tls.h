// TLS for the FTP client's sockets (explicit FTPS: AUTH TLS on the control connection,
// PROT P data connections), kept by socket number so the client's handles stay plain
// numbers. OpenSSL; certificates are checked against the system's trust store.
#pragma once
#include <cstddef>
#include <string>

namespace ftp::tls {

enum class Io { Done, WantRead, WantWrite, Closed, Failed };

// Starts TLS on a connected socket for `hostName` (name check and SNI). `sessionFrom`
// names a secured control connection whose session the data connection resumes, -1 for
// none. False (with `error`) when TLS cannot be set up.
bool Attach(int fd, const std::string& hostName, int sessionFrom, std::string& error);
bool Enabled(int fd);
// One step of the handshake; Done when it has finished.
Io Handshake(int fd);
// "" when the peer's certificate chain and name were verified, else the reason
// ("self-signed certificate", "hostname mismatch").
std::string VerifyFailure(int fd);
// SHA-256 of the peer's certificate, as colon-separated upper-case hex pairs.
std::string PeerFingerprint(int fd);
Io Write(int fd, const char* bytes, std::size_t count, std::size_t& written);
Io Peek(int fd, char* buffer, std::size_t count, std::size_t& got);
Io Read(int fd, char* buffer, std::size_t count, std::size_t& got);
// Forgets the socket's TLS state; `orderly` first sends close_notify (without waiting
// for the peer's), which tells the server a transfer ended whole.
void Detach(int fd, bool orderly);

}  // namespace ftp::tls
