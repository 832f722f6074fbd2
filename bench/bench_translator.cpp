// Comp's speed on big programs: a 1 MB and a 10 MB program of mixed HTML and commands is
// read from its file, translated, and its page written, against a plain copy of the same
// file (read whole and written, neither flushed to the disk). Both are timed in CPU time
// of the process, interleaved in the same run, and the medians given per MB of program.
// The translator should stay at or above 200 MB of program per second of CPU, at both
// sizes: a cost per MB that grows with the size means it is not linear.
//   bench_translator [FOLDER]   FOLDER keeps the programs and pages (index-1.web, .html…)
#include <malloc.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/files.h"
#include "translator.h"

namespace {

// About 2 KB of what a site's pages hold: markup, text, settings, effects, a gallery,
// a menu, links, buttons and comments.
std::string Block(int n) {
  std::string i = std::to_string(n);
  return "<section id=\"s" + i + "\">\n<h2>Chapter " + i +
         "</h2>\n"
         "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore "
         "et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation " +
         i +
         ".</p>\n"
         "Rem chapter " +
         i +
         " starts here\n"
         "SetTextStyle (font-family:arial ; font-size: 14px ;)\n"
         "WriteText \"Fish & chips <" +
         i +
         ">\"\n"
         "BouncingText \"Welcome " +
         i +
         "\"\n"
         "RainbowText \"Colours of " +
         i +
         "\"\n"
         "<table style=\"margin: 0px auto;\">\n<tr><td>Cell " +
         i +
         "</td><td>Cell two</td></tr>\n</table>\n"
         "SetImageStyle (width: 170px; height: 150px;)\nViewGallery ()\n"
         "    ShowImage [0] = 'images/a" +
         i + ".jpg'\n    ShowImage [1] = 'images/b" + i +
         ".png'\nEndView ()\n"
         "MenuName \"Main\"\nStartMenu\nItemName \"Home\" = 'index.html'\nItemName \"News " +
         i +
         "\" = 'news.html'\nEndMenu\n"
         "LinkText \"Our garden\"\nOnLinkGoto (garden.html)\n"
         "ButtonText \"Prices\"\nOnButtonGoto (prices.html)\n"
         "' an apostrophe comment\n"
         "<script>\nvar chapter = " +
         i +
         "; // WriteText in a script stays\n</script>\n"
         "<!-- a comment\nWriteText \"inside the comment\"\n-->\n"
         "<ul>\n<li>Apples</li>\n<li>Pears and plums " +
         i +
         "</li>\n</ul>\n"
         "<p>Sed ut perspiciatis unde omnis iste natus error sit voluptatem accusantium doloremque laudantium, "
         "totam rem aperiam, eaque ipsa quae ab illo inventore veritatis et quasi architecto beatae vitae.</p>\n"
         "HorizontalRule ()\n</section>\n";
}

std::string Program(size_t bytes) {
  std::string p = "<!DOCTYPE html>\n<html>\n<head>\n<title>Bench</title>\n</head>\n<body>\n";
  for (int n = 0; p.size() < bytes; ++n) p += Block(n);
  return p + "</body>\n</html>\n";
}

// Written and closed, not flushed to the disk: a copy's cost, not the disk's.
bool WritePlain(const std::string& path, const std::string& bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

// CPU time of the process, user and system, in milliseconds.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  // Each run gets its big buffers as fresh memory, as a Comp of its own does. Left to
  // itself glibc keeps some freed memory for the next run and not other, depending on the
  // order of allocations, and the copy would be timed with what the translator left.
  mallopt(M_MMAP_THRESHOLD, 128 << 10);
  QTemporaryDir dir;
  const std::string folder = argc > 1 ? argv[1] : dir.path().toStdString();
  bool allOk = true;
  for (size_t mb : {1, 10}) {
    std::string program = Program(mb << 20), stem = folder + "/index-" + std::to_string(mb);
    const std::string source = stem + ".web", page = stem + ".html", copy = stem + "-copy.web";
    if (!WritePlain(source, program)) {
      std::printf("cannot write %s\n", source.c_str());
      return 1;
    }
    double megabytes = double(program.size()) / (1 << 20);
    std::vector<double> copyMs, compMs;
    size_t pageBytes = 0;
    for (int rep = 0; rep < (mb == 1 ? 41 : 21); ++rep) {
      double t = CpuMs();
      std::string bytes;
      bool ok = core::ReadFileBytes(source, bytes) && WritePlain(copy, bytes);
      copyMs.push_back(CpuMs() - t);

      t = CpuMs();
      translator::Result r = translator::TranslateFile(source);
      ok = ok && r.ok && WritePlain(page, r.page);
      compMs.push_back(CpuMs() - t);
      pageBytes = r.page.size();
      if (!ok) {
        std::printf("translation failed: %s\n", r.error.c_str());
        return 1;
      }
    }
    double copyPerMb = Median(copyMs) / megabytes, compPerMb = Median(compMs) / megabytes;
    double rate = 1000 / compPerMb;
    allOk = allOk && rate >= 200;
    std::printf("translator, %5.2f MB program -> %5.2f MB page: %6.2f ms CPU/MB (%4.0f MB/s); "
                "plain read + write %6.2f ms CPU/MB; ratio %.2f (%s)\n",
                megabytes, double(pageBytes) / (1 << 20), compPerMb, rate, copyPerMb, compPerMb / copyPerMb,
                rate >= 200 ? "at or above 200 MB/s" : "BELOW 200 MB/s");
  }
  return allOk ? 0 : 2;
}
