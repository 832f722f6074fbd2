// A small blocking FTP client: log in, change folder, store one file in image type
// through a passive data connection, quit. Plain C++ over POSIX sockets.
//
// The five routines below are exported by name from the program. A connection handle
// is a positive number; ftpConnect gives 0 or -1 on failure.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

extern "C" {
// Host is a name or dotted address, optionally "host:port" (21 when no port is given).
int ftpConnect(const char* host, const char* user, const char* password);
// 1 when the server took the folder and the passive request after it, else 0.
int ftpChangeDir(int connection, const char* folder);
// Stores the local file under `remoteName`; 1 when the server confirmed it with 226.
// `status` (room for `statusSize` bytes, NUL included) gets the last reply or an error text.
// `host`, `reserved` and `reservedText` are accepted and ignored.
int FTPPUTFILE(int connection, const char* host, int reserved, const char* reservedText,
               const char* remoteName, const char* localPath, char* status, int statusSize);
void ftpQuit(int connection);
void ftpSetBinary(int connection);
}

namespace ftp {

// Waits of the client; tests shorten them.
struct Tuning {
  int controlTimeoutMs = 60000;  // each read and write on the control connection
  int dataTimeoutMs = 2000;      // each write (and each connect attempt) on a data connection
  int emptyReplyPauseMs = 100;   // between the reads of a folder change reply
  void (*onBlock)(std::size_t bytes) = nullptr;  // told of every block handed to the data connection
};
Tuning& CurrentTuning();

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

// C++ face of FTPPUTFILE.
int PutFile(int connection, const std::string& remoteName, const std::string& localPath, std::string& status);
// Opens the data connection after a PASV; -1 when none could be opened.
int ftpOpenDataConnection(int connection);
// Writes all bytes to a data connection: 1, or 0 when a write fails or times out.
int ftpSendBlock(int dataConnection, const char* bytes, std::size_t count);

}  // namespace ftp
