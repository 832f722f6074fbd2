// The reference the window benchmarks measure the editor against: a bare Qt window holding
// one editing component, with nothing else loaded. `bare_window [FILE]` shows FILE's bytes.
#include <QApplication>
#include <QFile>
#include <Qsci/qsciscintilla.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QsciScintilla editor;
  editor.setUtf8(true);
  editor.setMarginLineNumbers(0, true);
  editor.setMarginWidth(0, 42);
  if (argc > 1) {
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()),
                           bytes.constData());
      editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    }
  }
  editor.resize(900, 650);
  editor.show();
  return app.exec();
}
