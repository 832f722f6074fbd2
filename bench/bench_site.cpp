// A whole site built by `Comp --site` against Hugo building the same site. Both get 1 000
// pages of about 5 KB with a shared header, menu and footer, three pictures and links to
// five other pages; Comp from page-language programs with #Include, Hugo from HTML content
// with the same partials. Four builds are timed, interleaved in the same run, each in wall
// and CPU time of the build process, and the medians compared with the goals:
//   full build            Comp <= Hugo's full build
//   nothing changed       Comp <= 100 ms
//   one page edited       Comp <= 50 ms
//   header edited         Comp <= Comp's full build
// Hugo has no incremental build from the command line: each of its builds is a full one.
// A full build starts from no pages; the others replace pages, which on ext4 costs more
// than making new files (a rename over a file starts its write-back).
//   bench_site [ROUNDS] [FOLDER]   FOLDER keeps both sites (a temporary folder by default)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/fixture.h"

extern char** environ;

namespace {

constexpr int kPages = 1000;

std::string Name(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "p%04d", n);
  return buf;
}

// About 4.5 KB of text, different on every page.
std::string Body(int n) {
  std::string text = "<h1>Page " + std::to_string(n) + "</h1>\n";
  for (int i = 0; i < 10; ++i)
    text += "<p>Paragraph " + std::to_string(i) + " of page " + std::to_string(n) +
            ": lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut "
            "labore et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris "
            "nisi ut aliquip ex ea commodo consequat. Duis aute irure dolor in reprehenderit.</p>\n";
  return text;
}

std::vector<int> Linked(int n) {
  std::vector<int> to;
  for (int k = 1; k <= 5; ++k) to.push_back((n + k * 37) % kPages);
  return to;
}

std::string Header(int version) {
  return "<header><p class=\"brand\">The bakery, edition " + std::to_string(version) + "</p></header>\n";
}
const char* const kFooter = "<footer><p>Open every day from 7 to 18.</p></footer>\n";

void MakeCompSite(const std::string& root) {
  WriteAll(root + "/site.ini", "Name bench\n");
  for (const char* picture : {"a", "b", "c"}) WriteAll(root + "/images/" + std::string(picture) + ".jpg", "JPEG");
  WriteAll(root + "/header.lib", Header(0));
  std::string menu = "MenuName \"Main\"\nStartMenu\n";
  for (int i = 0; i < 6; ++i) menu += "ItemName \"Part " + std::to_string(i) + "\" = '" + Name(i) + ".html'\n";
  WriteAll(root + "/menu.lib", menu + "EndMenu\n");
  WriteAll(root + "/footer.lib", kFooter);
  for (int n = 0; n < kPages; ++n) {
    std::string p = "#Include \"header.lib\"\n#Include \"menu.lib\"\n" + Body(n);
    for (const char* picture : {"a", "b", "c"})
      p += "ShowImage 'images/" + std::string(picture) + ".jpg' \"" + picture + ".jpg\"\n";
    for (int to : Linked(n)) p += "LinkText \"Page " + std::to_string(to) + "\"\nOnLinkGoto (" + Name(to) + ".html)\n";
    WriteAll(root + "/" + Name(n) + ".web", p + "#Include \"footer.lib\"\n");
  }
}

void MakeHugoSite(const std::string& root) {
  WriteAll(root + "/hugo.toml",
           "baseURL = 'http://example.org/'\nuglyURLs = true\ndisableKinds = ['taxonomy', 'term', 'RSS', "
           "'sitemap', 'section', '404']\n");
  WriteAll(root + "/layouts/_default/single.html",
           "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>{{ .Title }}</title>\n"
           "</head>\n<body>\n{{ partial \"header.html\" . }}{{ partial \"menu.html\" . }}{{ .Content }}"
           "{{ partial \"footer.html\" . }}</body>\n</html>\n");
  WriteAll(root + "/layouts/index.html", "<!DOCTYPE html>\n<html><head><title>home</title></head></html>\n");
  WriteAll(root + "/layouts/partials/header.html", Header(0));
  std::string menu = "<nav><ul>\n";
  for (int i = 0; i < 6; ++i) menu += "<li><a href=\"" + Name(i) + ".html\">Part " + std::to_string(i) + "</a></li>\n";
  WriteAll(root + "/layouts/partials/menu.html", menu + "</ul></nav>\n");
  WriteAll(root + "/layouts/partials/footer.html", kFooter);
  for (int n = 0; n < kPages; ++n) {
    std::string p = "---\ntitle: " + Name(n) + "\n---\n" + Body(n);
    for (const char* picture : {"a", "b", "c"})
      p += "<img src=\"images/" + std::string(picture) + ".jpg\" alt=\"" + picture + ".jpg\">\n";
    for (int to : Linked(n)) p += "<p><a href=\"" + Name(to) + ".html\">Page " + std::to_string(to) + "</a></p>\n";
    WriteAll(root + "/content/" + Name(n) + ".html", p);
  }
}

// Files edited long ago: a build may trust their time stamps.
void AgeFiles(const std::string& root) {
  struct timeval old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) ::utimes(e.path().c_str(), old);
}

struct Time {
  double wallMs = 0, cpuMs = 0;
};

Time Run(const std::vector<std::string>& args, const std::string& folder) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(1);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "%s failed\n", argv[0]);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return {std::chrono::duration<double, std::milli>(end - start).count(), ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  QTemporaryDir temp;
  std::string root = argc > 2 ? argv[2] : temp.path().toStdString();
  std::string comp = BuiltProgram("Comp");
  std::string hugo = QStandardPaths::findExecutable("hugo").toStdString();
  std::string compSite = root + "/comp", hugoSite = root + "/hugo", config = root + "/config";
  MakeCompSite(compSite);
  AgeFiles(compSite);
  if (!hugo.empty()) {
    MakeHugoSite(hugoSite);
    AgeFiles(hugoSite);
  } else {
    std::printf("hugo is not installed: Comp is measured alone\n");
  }
  const std::vector<std::string> compBuild{comp, "--site", compSite, "--config", config, "--quiet"};
  const std::vector<std::string> hugoBuild{hugo, "--quiet", "-s", hugoSite};
  const char* const kSteps[] = {"full build", "nothing changed", "one page edited", "header edited"};
  std::map<std::string, std::vector<Time>> times;
  for (int r = 0; r < rounds; ++r) {
    for (const char* step : kSteps) {
      std::string s = step;
      if (s == "full build") {  // from nothing: no build state and no pages
        std::filesystem::remove_all(config);
        for (int n = 0; n < kPages; ++n) std::filesystem::remove(compSite + "/" + Name(n) + ".html");
        std::filesystem::remove_all(hugoSite + "/public");
      }
      if (s == "one page edited") {
        WriteAll(compSite + "/p0500.web",
                 "WriteText \"edit " + std::to_string(r) + "\"\n" + ReadAll(compSite + "/p0500.web"));
        if (!hugo.empty())
          WriteAll(hugoSite + "/content/p0500.html",
                   ReadAll(hugoSite + "/content/p0500.html") + "<p>edit " + std::to_string(r) + "</p>\n");
      }
      if (s == "header edited") {
        WriteAll(compSite + "/header.lib", Header(r + 1));
        if (!hugo.empty()) WriteAll(hugoSite + "/layouts/partials/header.html", Header(r + 1));
      }
      times["Comp " + s].push_back(Run(compBuild, compSite));
      if (!hugo.empty()) times["Hugo " + s].push_back(Run(hugoBuild, hugoSite));
    }
  }
  std::map<std::string, Time> median;
  std::printf("%d pages, %d rounds, medians:\n", kPages, rounds);
  for (const auto& [name, runs] : times) {
    std::vector<double> wall, cpu;
    for (const Time& t : runs) wall.push_back(t.wallMs), cpu.push_back(t.cpuMs);
    median[name] = {Median(wall), Median(cpu)};
    std::printf("  %-22s wall %8.1f ms   CPU %8.1f ms\n", name.c_str(), median[name].wallMs, median[name].cpuMs);
  }
  auto goal = [](const char* what, double ms, double bound) {
    std::printf("goal %-40s %8.1f ms <= %8.1f ms  ratio %.2f  %s\n", what, ms, bound, bound > 0 ? ms / bound : 0,
                ms <= bound ? "met" : "MISSED");
  };
  if (!hugo.empty())
    goal("full build <= Hugo's full build", median["Comp full build"].wallMs, median["Hugo full build"].wallMs);
  goal("nothing changed <= 100 ms", median["Comp nothing changed"].wallMs, 100);
  goal("one page edited <= 50 ms", median["Comp one page edited"].wallMs, 50);
  goal("header edited <= the full build", median["Comp header edited"].wallMs, median["Comp full build"].wallMs);
  return 0;
}
