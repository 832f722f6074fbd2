// The translator's cost per byte does not depend on how the bytes are cut into lines,
// and a large text file is read in pieces.
//
// 1. The same 32 MB of letters as one line and as 80-byte lines, translated in interleaved
//    runs; prints the medians and their ratio (the one line should cost about the same).
// 2. OpenText of a 100 MB file (the page stops at its 64 MB limit): prints the growth of
//    the process's peak memory as a multiple of the file's size.
#include <sys/resource.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "translator.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double TranslateMs(const std::string& program) {
  auto start = std::chrono::steady_clock::now();
  translator::Result r = translator::Translate(program, "/bench/site/index.web");
  auto end = std::chrono::steady_clock::now();
  if (!r.ok) std::printf("unexpected error: %s\n", r.error.c_str());
  return std::chrono::duration<double, std::milli>(end - start).count();
}

long PeakKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

int main() {
  // Memory first: the peak only grows.
  {
    QTemporaryDir dir;
    std::string site = dir.path().toStdString();
    const size_t size = size_t(100) << 20;
    {
      std::ofstream out(site + "/big.txt", std::ios::binary);
      std::string line = "a line of a large text file with <markup> & more ....................\n";
      for (size_t n = 0; n < size; n += line.size()) out << line;
    }
    long before = PeakKb();
    translator::Options o;
    o.libraryFolder = site + "/Library";
    translator::Result r = translator::Translate("OpenText (big.txt)\n", site + "/index.web", o);
    long after = PeakKb();
    std::printf("OpenText of a 100 MB file: %s; peak memory grew by %.0f MB = %.2f x the file\n",
                r.ok ? "page made" : r.error.c_str(), (after - before) / 1024.0,
                (after - before) * 1024.0 / static_cast<double>(size));
  }

  const size_t total = size_t(32) << 20;
  // Letters only: the whole line is its first word, the case that once cost most.
  std::string piece = "WordsOfTextWithoutBlanksAndMoreWords";
  std::string oneLine, shortLines;
  oneLine.reserve(total + 1);
  while (oneLine.size() < total) oneLine += piece;
  oneLine += "\n";
  shortLines = oneLine;
  for (size_t i = 79; i < shortLines.size(); i += 80) shortLines[i] = '\n';
  // A command keeps the program from passing through untouched.
  oneLine = "LineBreak ()\n" + oneLine;
  shortLines = "LineBreak ()\n" + shortLines;

  std::vector<double> one, many;
  for (int i = 0; i < 5; ++i) {
    one.push_back(TranslateMs(oneLine));
    many.push_back(TranslateMs(shortLines));
  }
  double a = Median(one), b = Median(many);
  std::printf("32 MB as one line: %.0f ms; as 80-byte lines: %.0f ms; ratio %.2f\n", a, b, a / b);
  return 0;
}
