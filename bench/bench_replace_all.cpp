// Replace All of 100 000 matches in a 10 MB document, against Scintilla's own
// search-and-replace loop over the same text.
//
// The editing component reports every change to the accessibility layer with the change's
// character offset, which it counts from the start of the document; its loop of one
// replacement per match is therefore quadratic. Over the full document the loop runs under
// a time budget (first argument, seconds, default 20) and the replacements it managed are
// reported; a smaller document (2 000 matches) is replaced completely both ways and the
// results compared byte for byte.
#include <QApplication>
#include <QElapsedTimer>
#include <Qsci/qsciscintilla.h>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "documents/editor.h"
#include "documents/find_replace.h"
#include "platform/qt_platform.h"

using Sci = QsciScintillaBase;

namespace {

// Lines of 100 bytes, one match in each.
std::string BigDocument(int lines) {
  std::string line = "<p class=\"body\">lorem ipsum dolor sit amet, NEEDLE consectetur adipiscing elit sed do</p>";
  line.resize(99, ' ');
  line += '\n';
  std::string text;
  text.reserve(line.size() * static_cast<size_t>(lines));
  for (int i = 0; i < lines; ++i) text += line;
  return text;
}

struct LoopResult {
  long long count = 0;
  double ms = 0;
  bool finished = false;
};

// The component's usual loop: search in the target, replace it, go on after the replacement.
LoopResult ScintillaLoop(QsciScintilla* e, const std::string& find, const std::string& with, bool matchCase,
                         double budgetMs) {
  LoopResult r;
  QElapsedTimer t;
  t.start();
  Send(e, Sci::SCI_SETSEARCHFLAGS, matchCase ? Sci::SCFIND_MATCHCASE : 0);
  Send(e, Sci::SCI_BEGINUNDOACTION);
  intptr_t start = 0;
  for (;;) {
    if (t.nsecsElapsed() / 1e6 > budgetMs) break;
    Send(e, Sci::SCI_SETTARGETRANGE, static_cast<uintptr_t>(start), Send(e, Sci::SCI_GETLENGTH));
    if (Send(e, Sci::SCI_SEARCHINTARGET, find.size(), reinterpret_cast<intptr_t>(find.data())) < 0) {
      r.finished = true;
      break;
    }
    Send(e, Sci::SCI_REPLACETARGET, with.size(), reinterpret_cast<intptr_t>(with.data()));
    start = Send(e, Sci::SCI_GETTARGETEND);
    ++r.count;
  }
  Send(e, Sci::SCI_ENDUNDOACTION);
  r.ms = t.nsecsElapsed() / 1e6;
  return r;
}

// Runs both over `lines` matches; false when a finished run disagrees.
bool Compare(App& app, int lines, bool matchCase, double budgetMs) {
  const std::string text = BigDocument(lines);
  QsciScintilla ours, theirs;
  ours.setUtf8(true);
  theirs.setUtf8(true);
  SetEditorText(&ours, text);
  SetEditorText(&theirs, text);
  app.activeEditor = &ours;
  app.settings.findCase = matchCase ? 1 : 0;
  const char* find = matchCase ? "NEEDLE" : "needle";

  QElapsedTimer t;
  t.start();
  long long n = ReplaceAllInDocument(app, find, "pin");
  double ourMs = t.nsecsElapsed() / 1e6;
  LoopResult loop = ScintillaLoop(&theirs, find, "pin", matchCase, budgetMs);

  std::printf("%zu bytes, %s: Replace All %lld matches in %.1f ms; ", text.size(),
              matchCase ? "case sensitive" : "case ignored", n, ourMs);
  bool ok = n == lines;
  if (loop.finished) {
    bool same = EditorText(&ours) == EditorText(&theirs);
    std::printf("Scintilla loop %lld in %.1f ms (%.0f times slower); same text: %s\n", loop.count, loop.ms,
                loop.ms / ourMs, same ? "yes" : "NO");
    ok = ok && same && loop.count == lines;
  } else {
    std::printf("Scintilla loop stopped after %.0f ms with %lld of %d done\n", loop.ms, loop.count, lines);
  }
  Send(&ours, Sci::SCI_UNDO);
  bool restored = EditorText(&ours) == text;
  std::printf("  one undo restores the document: %s\n", restored ? "yes" : "NO");
  std::fflush(stdout);
  app.activeEditor = nullptr;
  return ok && restored;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QtPlatform platform;
  App app(platform);
  double budgetMs = (argc > 1 ? std::atof(argv[1]) : 20.0) * 1000.0;
  bool ok = Compare(app, 100000, true, budgetMs);
  ok = Compare(app, 100000, false, budgetMs) && ok;
  ok = Compare(app, 2000, true, 1e12) && ok;
  ok = Compare(app, 2000, false, 1e12) && ok;
  return ok ? 0 : 1;
}
