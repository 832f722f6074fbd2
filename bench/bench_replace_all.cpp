// Replace All of 100 000 matches in a 10 MB document against `sed` doing the same
// replacement on the same bytes in a file (medians of interleaved runs, wall time; sed's
// time includes its start, reading and writing the file). The editor's result is compared
// with sed's byte for byte, and one undo must bring the document back.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "documents/application.h"
#include "core/files.h"
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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  QtPlatform platform;
  App app(platform);
  const int lines = 100000, reps = 5;
  const std::string text = BigDocument(lines);
  QTemporaryDir dir;
  const std::string in = dir.filePath("in.txt").toStdString(), out = dir.filePath("out.txt").toStdString();
  core::WriteFileAtomically(in, text);
  bool ok = true;
  for (bool matchCase : {true, false}) {
    app.settings.findCase = matchCase ? 1 : 0;
    const char* find = matchCase ? "NEEDLE" : "needle";
    const QString script = matchCase ? "s/NEEDLE/pin/g" : "s/needle/pin/gI";
    std::vector<double> ours, sed;
    std::string sedResult;
    for (int r = 0; r < reps; ++r) {
      QsciScintilla editor;
      editor.setUtf8(true);
      SetEditorText(&editor, text);
      app.activeEditor = &editor;
      QElapsedTimer t;
      t.start();
      long long n = ReplaceAllInDocument(app, find, "pin");
      ours.push_back(t.nsecsElapsed() / 1e6);
      ok = ok && n == lines;
      if (r == 0) {
        Send(&editor, Sci::SCI_UNDO);
        ok = ok && EditorText(&editor) == text;
        Send(&editor, Sci::SCI_REDO);
      }
      std::string result = EditorText(&editor);
      app.activeEditor = nullptr;

      t.restart();
      QProcess p;
      p.setStandardOutputFile(QString::fromStdString(out));
      p.start("sed", {script, QString::fromStdString(in)});
      p.waitForFinished(-1);
      sed.push_back(t.nsecsElapsed() / 1e6);
      core::ReadFileBytes(out, sedResult);
      ok = ok && result == sedResult;
    }
    std::printf("%zu bytes, %d matches, %s: Replace All %.1f ms, sed %.1f ms: %.2fx sed\n", text.size(), lines,
                matchCase ? "case sensitive" : "case ignored", Median(ours), Median(sed), Median(ours) / Median(sed));
  }
  std::printf("same text as sed, one undo restores: %s\n", ok ? "yes" : "NO");
  return ok ? 0 : 1;
}
