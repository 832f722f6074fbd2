// The pure parts of the FTP client: reply codes and the text of commands and replies.
#include "publish/ftp_client.h"

#include <algorithm>
#include <string>

#include "core/text.h"

namespace ftp {

std::string NoAnswer(int timeoutMs) {
  return "no answer within " + std::to_string(std::max(1, (timeoutMs + 999) / 1000)) + " s";
}

int ftpReplyCode(std::string_view line) {
  std::string word = core::Trim(line);
  std::size_t space = word.find(' ');
  if (space != std::string::npos) word.resize(space);
  return core::ParseNumber(word);
}

int FourCharCode(std::string_view line) { return core::ParseNumber(core::Trim(line.substr(0, 4))); }

bool HasContinuationMark(std::string_view line) { return line.size() >= 4 && line[3] == '-'; }

std::string NormaliseFolder(std::string_view folder) {
  std::string f = core::ReplaceAll(std::string(folder), "\\", "/");
  std::size_t first = f.find_first_not_of('/');
  if (first == std::string::npos) return std::string();
  f = f.substr(first, f.find_last_not_of('/') - first + 1);
  if (f.find('/') != std::string::npos) f += '/';
  return f;
}

bool PassivePort(std::string_view line, int& port) {
  std::size_t open = line.find_first_of("()");
  if (open == std::string_view::npos) return false;
  std::string_view inner = line.substr(open + 1);
  inner = inner.substr(0, inner.find_first_of("()"));
  int numbers[6];
  for (int i = 0; i < 6; ++i) {
    std::size_t comma = inner.find(',');
    if (comma == std::string_view::npos && i < 5) return false;
    std::string piece = core::Trim(inner.substr(0, comma));
    if (piece.empty() || piece.size() > 3 || piece.find_first_not_of("0123456789") != std::string::npos) return false;
    numbers[i] = std::stoi(piece);
    if (numbers[i] > 255) return false;
    inner = comma == std::string_view::npos ? std::string_view() : inner.substr(comma + 1);
  }
  port = numbers[4] * 256 + numbers[5];
  return port > 0;
}

bool HasControlBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 32) return true;
  return false;
}

}  // namespace ftp
