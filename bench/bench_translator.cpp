// Comp's speed on big programs: a 1 MB and a 10 MB program of mixed HTML and commands is
// translated from its file into a page file, against a plain copy of the same file
// (read whole, written through the same safe write). Both are timed in the same run,
// interleaved, and the medians compared per MB. The translator should stay within 3x of
// the copy at both sizes: a ratio that grows with the size means it is not linear.
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/files.h"
#include "translator.h"

namespace {

// About 2 KB of what a site's pages hold: markup, text, settings, effects, a gallery,
// a menu, links, buttons and comments.
std::string Block(int n) {
  std::string i = std::to_string(n);
  return "<section id=\"s" + i + "\">\n<h2>Chapter " + i + "</h2>\n"
         "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore "
         "et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation " + i + ".</p>\n"
         "Rem chapter " + i + " starts here\n"
         "SetTextStyle (font-family:arial ; font-size: 14px ;)\n"
         "WriteText \"Fish & chips <" + i + ">\"\n"
         "BouncingText \"Welcome " + i + "\"\n"
         "RainbowText \"Colours of " + i + "\"\n"
         "<table style=\"margin: 0px auto;\">\n<tr><td>Cell " + i + "</td><td>Cell two</td></tr>\n</table>\n"
         "SetImageStyle (width: 170px; height: 150px;)\nViewGallery ()\n"
         "    ShowImage [0] = 'images/a" + i + ".jpg'\n    ShowImage [1] = 'images/b" + i + ".png'\nEndView ()\n"
         "MenuName \"Main\"\nStartMenu\nItemName \"Home\" = 'index.html'\nItemName \"News " + i +
         "\" = 'news.html'\nEndMenu\n"
         "LinkText \"Our garden\"\nOnLinkGoto (garden.html)\n"
         "ButtonText \"Prices\"\nOnButtonGoto (prices.html)\n"
         "' an apostrophe comment\n"
         "<script>\nvar chapter = " + i + "; // WriteText in a script stays\n</script>\n"
         "<!-- a comment\nWriteText \"inside the comment\"\n-->\n"
         "<ul>\n<li>Apples</li>\n<li>Pears and plums " + i + "</li>\n</ul>\n"
         "<p>Sed ut perspiciatis unde omnis iste natus error sit voluptatem accusantium doloremque laudantium, "
         "totam rem aperiam, eaque ipsa quae ab illo inventore veritatis et quasi architecto beatae vitae.</p>\n"
         "HorizontalRule ()\n</section>\n";
}

std::string Program(size_t bytes) {
  std::string p = "<!DOCTYPE html>\n<html>\n<head>\n<title>Bench</title>\n</head>\n<body>\n";
  for (int n = 0; p.size() < bytes; ++n) p += Block(n);
  return p + "</body>\n</html>\n";
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Seconds(const std::chrono::steady_clock::time_point& from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main() {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  bool allOk = true;
  for (size_t mb : {1, 10}) {
    std::string program = Program(mb << 20);
    const std::string source = folder + "/index.web", page = folder + "/index.html", copy = folder + "/copy.html";
    core::WriteFileAtomically(source, program);
    double megabytes = double(program.size()) / (1 << 20);
    std::vector<double> copyTimes, compTimes;
    size_t pageBytes = 0;
    for (int rep = 0; rep < (mb == 1 ? 41 : 31); ++rep) {
      auto t = std::chrono::steady_clock::now();
      std::string bytes;
      bool ok = core::ReadFileBytes(source, bytes) && core::WriteFileAtomically(copy, bytes);
      copyTimes.push_back(Seconds(t));

      t = std::chrono::steady_clock::now();
      translator::Result r = translator::TranslateFile(source);
      ok = ok && r.ok && core::WriteFileAtomically(page, r.page);
      compTimes.push_back(Seconds(t));
      pageBytes = r.page.size();
      if (!ok) {
        std::printf("translation failed: %s\n", r.error.c_str());
        return 1;
      }
    }
    double copyPerMb = Median(copyTimes) / megabytes * 1000, compPerMb = Median(compTimes) / megabytes * 1000;
    double ratio = compPerMb / copyPerMb;
    allOk = allOk && ratio <= 3.0;
    std::printf("translator, %5.2f MB program -> %5.2f MB page: %7.2f ms/MB; plain copy %7.2f ms/MB; ratio %.2f (%s)\n",
                megabytes, double(pageBytes) / (1 << 20), compPerMb, copyPerMb, ratio,
                ratio <= 3.0 ? "within 3x" : "OVER 3x");
  }
  return allOk ? 0 : 2;
}
