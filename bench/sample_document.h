// The text the editor benchmarks open: page-language lines of every colour the lexer knows,
// cut to `bytes`.
#pragma once
#include <cstddef>
#include <string>

inline std::string SampleDocument(size_t bytes) {
  const std::string line =
      "WriteText \"Hello, world\" ' a comment\r\n<p class=\"x\">Some text 1234</p>\r\nrem note\r\n";
  std::string s;
  s.reserve(bytes + line.size());
  while (s.size() < bytes) s += line;
  s.resize(bytes);
  return s;
}
