// The FTP client's reply parsing: reply codes, the continuation mark, the PASV address
// list, folder names and the control-byte check on the input as one server line; then
// the input as what a server sent, read reply by reply as the client reads it.
#include <sys/socket.h>
#include <unistd.h>

#include <string_view>

#include "fuzz_check.h"
#include "publish/ftp_client.h"

namespace {

void OneLine(std::string_view v) {
  ftp::ftpReplyCode(v);
  ftp::FourCharCode(v);
  FUZZ_CHECK(ftp::HasContinuationMark(v) == (v.size() >= 4 && v[3] == '-'));
  int port = -1;
  if (ftp::PassivePort(v, port)) FUZZ_CHECK(port > 0 && port <= 65535);
  std::string folder = ftp::NormaliseFolder(v);
  FUZZ_CHECK(folder.find('\\') == std::string::npos);
  bool control = false;
  for (unsigned char c : v) control = control || c < 32;
  FUZZ_CHECK(ftp::HasControlBytes(v) == control);
}

// The bytes come over a socket whose far end is closed after them, so no read waits.
void AsReplies(const std::string& bytes) {
  int ends[2];
  FUZZ_CHECK(socketpair(AF_UNIX, SOCK_STREAM, 0, ends) == 0);
  ssize_t sent = bytes.empty() ? 0 : send(ends[1], bytes.data(), bytes.size(), MSG_DONTWAIT);
  close(ends[1]);
  size_t reads = 0;
  char probe;
  while (recv(ends[0], &probe, 1, MSG_PEEK | MSG_DONTWAIT) > 0) {
    std::string reply = ftp::ReadReply(ends[0]);
    FUZZ_CHECK(reply.size() <= ftp::kMaxLineBytes);
    FUZZ_CHECK(reply.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(++reads <= static_cast<size_t>(sent));  // every read takes at least one byte
  }
  close(ends[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes = FuzzInput(data, size);
  OneLine(bytes);
  AsReplies(bytes);
  return 0;
}
