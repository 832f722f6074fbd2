// How the document code scales: work per key press in a 20 MB document against a 1 KB one,
// and opening and saving a 50 MB file against reading and writing the same bytes raw.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <Qsci/qsciscintilla.h>
#include <cstdio>

#include "app/main_window.h"
#include "app/shell.h"
#include "core/files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

std::string Document(size_t bytes) {
  const std::string line = "WriteText \"Hello, world\" ' a comment\r\n<p class=\"x\">Some text 1234</p>\r\nrem note\r\n";
  std::string s;
  s.reserve(bytes + line.size());
  while (s.size() < bytes) s += line;
  s.resize(bytes);
  return s;
}

double Millis(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

struct KeyCost {
  double typing;   // ms per typed character, editor included
  double command;  // ms per accelerator command: dispatch, styling pass and status bar
};

KeyCost MeasureKeys(size_t size) {
  EditorFixture f;
  f.WriteFile("Verosta.ini", "Line numbers 1\r\nSyntax highlighting 1\r\nFont size 10\r\n");
  f.Start();
  f.WriteFile("doc.web", Document(size));
  OpenDocumentTab(*f.app, f.Path("doc.web"), f.Path("doc.web"));
  QWidget* editor = f.app->activeEditor;
  Send(*f.app, QsciScintillaBase::SCI_GOTOPOS, 0);
  QCoreApplication::processEvents();
  const int presses = 300;
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < presses; ++i) QTest::keyClick(editor, Qt::Key_X);
  double typing = Millis(t) / presses;
  t.restart();
  for (int i = 0; i < presses; ++i) f.Key(5001);  // Home: a table B command followed by the styling pass
  double command = Millis(t) / presses;
  return {typing, command};
}

void MeasureFile(size_t size) {
  EditorFixture f;
  f.Start();
  const std::string bytes = Document(size);
  const std::string path = f.Path("big.web");
  WriteAll(path, bytes);

  QElapsedTimer t;
  t.start();
  std::string raw;
  core::ReadFileBytes(path, raw);
  double rawRead = Millis(t);
  t.restart();
  OpenDocumentTab(*f.app, path, path);
  double open = Millis(t);

  t.restart();
  core::WriteFileAtomically(f.Path("raw.web"), raw);
  double rawWrite = Millis(t);
  t.restart();
  FindActiveDocument(*f.app);
  SaveActiveDocument(*f.app);
  double save = Millis(t);
  std::printf("open %zu MB: %.1f ms (raw read %.1f ms, ratio %.1f)\n", size >> 20, open, rawRead, open / rawRead);
  std::printf("save %zu MB: %.1f ms (raw write %.1f ms, ratio %.1f)\n", size >> 20, save, rawWrite, save / rawWrite);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string only = argc > 1 ? argv[1] : "";  // "keys" or "files" runs one half
  if (only != "files") {
  KeyCost small = MeasureKeys(1 << 10);
  KeyCost large = MeasureKeys(20 << 20);
  std::printf("key press, editing component included: 1 KB %.3f ms, 20 MB %.3f ms (ratio %.2f)\n", small.typing, large.typing,
              large.typing / small.typing);
  std::printf("program's own work per key (dispatch, styling pass, status bar): 1 KB %.3f ms, 20 MB %.3f ms (ratio %.2f)\n", small.command, large.command,
              large.command / small.command);
  }
  if (only != "keys") MeasureFile(50 << 20);
  return 0;
}
