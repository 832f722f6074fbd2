// How the document code scales with the size of the document, each figure a ratio against
// a reference measured in the same run (medians of interleaved repetitions):
//   keys   CPU time per key press at the start, middle and end of a 20 MB document against
//          a 1 KB one, in the editor's window with events processed (painting, colouring,
//          status bar), and the same for a bare editing component (in a process of its own);
//   files  open and save of 50 MB against a bare editing component doing the same and against
//          read / write+fsync of the same bytes; save with backups on and off, interleaved;
//   memory resident memory with a 20 MB document open and after a save, against a bare
//          editing component holding the same text (each measured in a fresh process, with
//          no copy of the text left in the process but the component's own).
// The windows are real X windows on a private Xvfb when there is one (offscreen otherwise):
// offscreen painting costs a fraction of what a key press costs in a real window.
// `bench_documents [keys|files|memory]` runs one part.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "sample_document.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"
#include "xvfb.h"

using Sci = QsciScintillaBase;

namespace {

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// ---- keys ---------------------------------------------------------------------------

// CPU milliseconds per typed character at `where` (0 start, 1 middle, 2 end) of `editor`.
double TypeAt(QWidget* editor, QsciScintilla* sci, int where, int presses) {
  intptr_t length = Send(sci, Sci::SCI_GETLENGTH);
  intptr_t pos = where == 0 ? 0 : where == 1 ? length / 2 : length;
  pos = Send(sci, Sci::SCI_POSITIONFROMLINE, Send(sci, Sci::SCI_LINEFROMPOSITION, pos));
  if (where == 2) pos = length;
  Send(sci, Sci::SCI_GOTOPOS, pos);
  QTest::keyClick(editor, Qt::Key_Y);  // the first change moves the component's gap here
  QCoreApplication::processEvents();
  // A jump far into the document leaves the colours up to it to idle time: typing is
  // measured once they are there, as it is after the first moments in a large file.
  const intptr_t shownEnd = Send(sci, Sci::SCI_GETLINEENDPOSITION,
                                 Send(sci, Sci::SCI_GETFIRSTVISIBLELINE) + Send(sci, Sci::SCI_LINESONSCREEN));
  for (int i = 0; i < 100000 && Send(sci, Sci::SCI_GETENDSTYLED) < shownEnd; ++i)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  double t = CpuMs();
  for (int i = 0; i < presses; ++i) {
    QTest::keyClick(editor, Qt::Key_X);
    QCoreApplication::processEvents();
  }
  return (CpuMs() - t) / presses;
}

const char* kPlaces[] = {"start", "middle", "end"};

// The bare component, in a process of its own (nothing of the editor installed), prints
// "<place> <1 KB ms> <20 MB ms>" for each place.
int BareKeysChild(int reps, int presses) {
  QsciScintilla small, large;
  for (QsciScintilla* b : {&small, &large}) {
    b->setUtf8(true);
    b->resize(700, 450);
    SetEditorText(b, SampleDocument(b == &small ? 1 << 10 : 20 << 20));
  }
  std::map<std::string, std::vector<double>> ms;
  for (int r = 0; r < reps; ++r)
    for (int where = 0; where < 3; ++where)
      for (QsciScintilla* b : {&small, &large}) {
        b->show();
        QCoreApplication::processEvents();
        ms[std::string(kPlaces[where]) + (b == &large ? " 20MB" : " 1KB")].push_back(TypeAt(b, b, where, presses));
        b->hide();
      }
  for (const char* place : kPlaces)
    std::printf("%s %f %f\n", place, Median(ms[std::string(place) + " 1KB"]), Median(ms[std::string(place) + " 20MB"]));
  return 0;
}

void Keys(int reps, int presses) {
  EditorFixture f;
  f.WriteFile("Verosta.ini", "Line numbers 1\r\nSyntax highlighting 1\r\nFont size 10\r\n");
  f.Start();
  f.WriteFile("small.web", SampleDocument(1 << 10));
  f.WriteFile("large.web", SampleDocument(20 << 20));
  OpenDocumentTab(*f.app, f.Path("small.web"), f.Path("small.web"));
  OpenDocumentTab(*f.app, f.Path("large.web"), f.Path("large.web"));
  int smallTab = 0, largeTab = 0;
  for (int t = 1; t <= 32; ++t) {
    int s = SlotOfTab(*f.app, t);
    if (s && f.app->docs[s].tabName == "small.web") smallTab = t;
    if (s && f.app->docs[s].tabName == "large.web") largeTab = t;
  }
  std::map<std::string, std::vector<double>> ms;
  for (int r = 0; r < reps; ++r) {
    for (int where = 0; where < 3; ++where) {
      for (int large = 0; large < 2; ++large) {
        ActivateTab(*f.app, large ? largeTab : smallTab);
        QCoreApplication::processEvents();
        ms[std::string(kPlaces[where]) + (large ? " 20MB" : " 1KB")].push_back(
            TypeAt(f.app->activeEditor, f.app->activeEditor, where, presses));
      }
    }
  }
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(),
              {"keys-bare-child", QString::number(reps), QString::number(presses)});
  child.waitForFinished(-1);
  const QList<QByteArray> bareLines = child.readAllStandardOutput().split('\n');
  std::printf("CPU per key press, events processed (median of %d runs of %d presses):\n", reps, presses);
  for (int where = 0; where < 3; ++where) {
    const char* place = kPlaces[where];
    double small = Median(ms[std::string(place) + " 1KB"]), large = Median(ms[std::string(place) + " 20MB"]);
    std::printf("  editor %-6s 1 KB %.3f ms, 20 MB %.3f ms: ratio %.2f%s\n", place, small, large, large / small,
                where == 2 ? "  (target <= 1.5)" : "");
  }
  for (const QByteArray& line : bareLines) {
    char place[16] = {0};
    double small = 0, large = 0;
    if (std::sscanf(line.constData(), "%15s %lf %lf", place, &small, &large) == 3)
      std::printf("  bare   %-6s 1 KB %.3f ms, 20 MB %.3f ms: ratio %.2f\n", place, small, large, large / small);
  }
}

// ---- files --------------------------------------------------------------------------

double WallMs(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

bool WriteAndSync(const std::string& path, const char* data, size_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  bool ok = done == size && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

void Files(int reps) {
  const size_t size = 50u << 20;
  std::map<std::string, std::vector<double>> ms;
  for (int r = 0; r < reps; ++r) {
    EditorFixture f;
    f.Start();
    const std::string path = f.Path("big.web");
    WriteAll(path, SampleDocument(size));
    QElapsedTimer t;

    // Raw read, then the bare component: read and hand the bytes over.
    t.start();
    std::string raw;
    core::ReadFileBytes(path, raw);
    ms["raw read"].push_back(WallMs(t));
    {
      t.restart();
      std::string bytes;
      core::ReadFileBytes(path, bytes);
      QsciScintilla bare;
      bare.setUtf8(true);
      Send(&bare, Sci::SCI_APPENDTEXT, bytes.size(), reinterpret_cast<intptr_t>(bytes.data()));
      ms["bare open"].push_back(WallMs(t));
      // The bare component's save: its text out to a buffer, written and synced.
      t.restart();
      intptr_t n = Send(&bare, Sci::SCI_GETLENGTH);
      std::string out(static_cast<size_t>(n) + 1, '\0');
      Send(&bare, Sci::SCI_GETTEXT, static_cast<uintptr_t>(n + 1), reinterpret_cast<intptr_t>(out.data()));
      WriteAndSync(f.Path("bare.web"), out.data(), static_cast<size_t>(n));
      ms["bare save"].push_back(WallMs(t));
    }
    t.restart();
    OpenDocumentTab(*f.app, path, path);
    ms["editor open"].push_back(WallMs(t));

    t.restart();
    WriteAndSync(f.Path("raw.web"), raw.data(), raw.size());
    ms["raw write+fsync"].push_back(WallMs(t));

    FindActiveDocument(*f.app);
    // Interleaved: every other run saves with backups first.
    for (int backups : r % 2 ? std::vector<int>{1, 0} : std::vector<int>{0, 1}) {
      f.app->settings.backupFile = backups;
      InsertTextAtCaret(*f.app, "x");
      t.restart();
      SaveActiveDocument(*f.app);
      ms[backups ? "editor save, backups on" : "editor save, backups off"].push_back(WallMs(t));
    }
  }
  auto m = [&](const char* k) { return Median(ms[k]); };
  std::printf("50 MB files (wall time, median of %d runs):\n", reps);
  std::printf("  open: editor %.1f ms, bare component %.1f ms, raw read %.1f ms: %.2fx bare, %.2fx raw\n",
              m("editor open"), m("bare open"), m("raw read"), m("editor open") / m("bare open"),
              m("editor open") / m("raw read"));
  for (const char* k : {"editor save, backups off", "editor save, backups on"}) {
    std::printf("  %s %.1f ms; bare component %.1f ms, raw write+fsync %.1f ms: %.2fx bare, %.2fx raw%s\n", k, m(k),
                m("bare save"), m("raw write+fsync"), m(k) / m("bare save"), m(k) / m("raw write+fsync"),
                std::string(k).find("off") != std::string::npos ? "  (target <= 1.3x bare)"
                                                                : "  (target <= 2.3x bare)");
  }
}

// ---- memory -------------------------------------------------------------------------

double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// In a fresh process: prints "open <MB> saved <MB>" for the editor or the bare component.
int MemoryChild(const std::string& who) {
  if (who == "bare") {
    QsciScintilla bare;
    bare.setUtf8(true);
    bare.resize(700, 450);
    bare.show();
    {
      const std::string bytes = SampleDocument(20 << 20);  // as read from the file
      SetEditorText(&bare, bytes);
      Send(&bare, Sci::SCI_EMPTYUNDOBUFFER);  // a loaded file is not an undoable change
    }
    QCoreApplication::processEvents();
    double open = ResidentMb();
    std::printf("open %.1f saved %.1f\n", open, open);
    return 0;
  }
  EditorFixture f;
  f.Start();
  f.WriteFile("doc.web", SampleDocument(20 << 20));
  OpenDocumentTab(*f.app, f.Path("doc.web"), f.Path("doc.web"));
  QCoreApplication::processEvents();
  double open = ResidentMb();
  InsertTextAtCaret(*f.app, "x");
  SaveCommand(*f.app);
  QCoreApplication::processEvents();
  std::printf("open %.1f saved %.1f\n", open, ResidentMb());
  return 0;
}

void Memory(int reps) {
  std::map<std::string, std::vector<double>> open, saved;
  for (int r = 0; r < reps; ++r) {
    for (const char* who : {"editor", "bare"}) {
      QProcess p;
      p.start(QCoreApplication::applicationFilePath(), {"memory-child", who});
      p.waitForFinished(-1);
      double o = 0, s = 0;
      std::sscanf(p.readAllStandardOutput().constData(), "open %lf saved %lf", &o, &s);
      open[who].push_back(o);
      saved[who].push_back(s);
    }
  }
  double eo = Median(open["editor"]), es = Median(saved["editor"]), bo = Median(open["bare"]);
  std::printf("resident memory with 20 MB open (median of %d processes):\n", reps);
  std::printf("  editor %.1f MB, bare component %.1f MB: %.2fx  (goal <= 1.1x)\n", eo, bo, eo / bo);
  std::printf("  editor after a save %.1f MB: %+.1f%% of before  (target within 5%%)\n", es, (es / eo - 1) * 100);
}

}  // namespace

int main(int argc, char** argv) {
  // Children (the bare component's runs) inherit the display and need no server of their own.
  std::unique_ptr<Xvfb> x;
  if (qEnvironmentVariableIsEmpty("VEROSTA_BENCH_DISPLAY")) {
    x = std::make_unique<Xvfb>();
    if (!x->Display().empty()) qputenv("VEROSTA_BENCH_DISPLAY", x->Display().c_str());
  }
  const QByteArray display = qgetenv("VEROSTA_BENCH_DISPLAY");
  qputenv("QT_QPA_PLATFORM", display.isEmpty() ? "offscreen" : "xcb");
  if (!display.isEmpty()) qputenv("DISPLAY", display);
  QApplication app(argc, argv);
  const std::string only = argc > 1 ? argv[1] : "";
  if (only == "memory-child") return MemoryChild(argc > 2 ? argv[2] : "");
  if (only == "keys-bare-child") return BareKeysChild(std::atoi(argv[2]), std::atoi(argv[3]));
  if (only.empty() || only == "keys") Keys(5, 40);
  if (only.empty() || only == "files") Files(11);
  if (only.empty() || only == "memory") Memory(5);
  std::fflush(stdout);
  return 0;
}
