// The FTP client's reply parsing: reply codes, the continuation mark, the PASV address
// list, folder names and the control-byte check, all on one server line.
#include <string_view>

#include "fuzz_check.h"
#include "publish/ftp_client.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line = FuzzInput(data, size);
  std::string_view v(line);
  ftp::ftpReplyCode(v);
  ftp::FourCharCode(v);
  FUZZ_CHECK(ftp::HasContinuationMark(v) == (v.size() >= 4 && v[3] == '-'));
  int port = -1;
  if (ftp::PassivePort(v, port)) FUZZ_CHECK(port > 0 && port <= 65535);
  std::string folder = ftp::NormaliseFolder(v);
  FUZZ_CHECK(folder.find('\\') == std::string::npos);
  bool control = false;
  for (unsigned char c : line) control = control || c < 32;
  FUZZ_CHECK(ftp::HasControlBytes(v) == control);
  return 0;
}
