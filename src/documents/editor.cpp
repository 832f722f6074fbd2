#include "documents/editor.h"

#include <Qsci/qsciscintilla.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscicommand.h>

#include <algorithm>

#include "documents/application.h"
#include "documents/editor_style.h"

intptr_t Send(QsciScintilla* editor, unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (!editor) return 0;
  return static_cast<intptr_t>(
      editor->SendScintilla(message, static_cast<unsigned long>(wParam), static_cast<long>(lParam)));
}

intptr_t Send(App& app, unsigned message, uintptr_t wParam, intptr_t lParam) {
  return Send(app.activeEditor, message, wParam, lParam);
}

std::string_view EditorBytes(QsciScintilla* editor) {
  intptr_t length = EditorLength(editor);
  if (length <= 0) return std::string_view();
  // The character pointer gives the whole buffer, NUL bytes included.
  const char* p = reinterpret_cast<const char*>(Send(editor, QsciScintillaBase::SCI_GETCHARACTERPOINTER));
  return std::string_view(p, static_cast<size_t>(length));
}

intptr_t EditorLength(QsciScintilla* editor) { return Send(editor, QsciScintillaBase::SCI_GETLENGTH); }

std::string EditorText(QsciScintilla* editor) { return std::string(EditorBytes(editor)); }

void SetEditorText(QsciScintilla* editor, const std::string& bytes) {
  if (!editor) return;
  Send(editor, QsciScintillaBase::SCI_CLEARALL);
  if (!bytes.empty())
    Send(editor, QsciScintillaBase::SCI_APPENDTEXT, bytes.size(), reinterpret_cast<intptr_t>(bytes.data()));
}

void LoadEditorText(QsciScintilla* editor, const std::string& bytes) {
  if (!editor) return;
  Send(editor, QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
  Send(editor, QsciScintillaBase::SCI_ALLOCATE, bytes.size() + 4096);
  SetEditorText(editor, bytes);
  Send(editor, QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
  Send(editor, QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  SetEolModeFor(editor, bytes);
}

int EolModeFor(const std::string& bytes) {
  size_t at = bytes.find_first_of("\r\n");
  if (at == std::string::npos) return QsciScintillaBase::SC_EOL_CRLF;
  if (bytes[at] == '\n') return QsciScintillaBase::SC_EOL_LF;
  return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? QsciScintillaBase::SC_EOL_CRLF : QsciScintillaBase::SC_EOL_CR;
}

void SetEolModeFor(QsciScintilla* editor, const std::string& bytes) {
  Send(editor, QsciScintillaBase::SCI_SETEOLMODE, static_cast<uintptr_t>(EolModeFor(bytes)));
}

std::string TextRange(QsciScintilla* editor, intptr_t start, intptr_t end) {
  if (!editor || end <= start) return std::string();
  if (start < 0) start = 0;
  end = std::min(end, EditorLength(editor));
  if (end <= start) return std::string();
  // Only the range is read: the component moves its gap out of the range if need be.
  const char* p =
      reinterpret_cast<const char*>(Send(editor, QsciScintillaBase::SCI_GETRANGEPOINTER, start, end - start));
  return std::string(p, static_cast<size_t>(end - start));
}

std::string SelectedText(QsciScintilla* editor) {
  if (!editor) return std::string();
  intptr_t a = Send(editor, QsciScintillaBase::SCI_GETSELECTIONSTART);
  intptr_t b = Send(editor, QsciScintillaBase::SCI_GETSELECTIONEND);
  return TextRange(editor, a, b);
}

void InsertTextAtCaret(App& app, const std::string& text) {
  if (!app.activeEditor) return;
  // SCI_INSERTTEXT takes a NUL-terminated string; bytes after a NUL are not inserted.
  Send(app, QsciScintillaBase::SCI_INSERTTEXT, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(text.c_str()));
}

void LineBreakStep(App& app) {
  Send(app, QsciScintillaBase::SCI_LINEEND);
  Send(app, QsciScintillaBase::SCI_NEWLINE);
}

QsciScintilla* CreateEditor(App& app, QWidget* page) {
  (void)app;
  FollowAssistiveTechnology(nullptr);
  auto* e = new QsciScintilla(page);
  e->setObjectName("100");
  e->setUtf8(true);
  // A jump far into a large document shows its text at once; the colours up to it follow
  // in idle time instead of the lexer styling everything before it first.
  Send(e, QsciScintillaBase::SCI_SETIDLESTYLING, QsciScintillaBase::SC_IDLESTYLING_TOVISIBLE);
  // Text changes show as display updates (insertions are not reported while no assistive
  // technology listens): the number margin follows the line count's digits.
  QObject::connect(e, &QsciScintillaBase::SCN_UPDATEUI, e, [e, digits = 0](int) mutable {
    const int now = DigitCount(Send(e, QsciScintillaBase::SCI_GETLINECOUNT));
    if (now == digits) return;
    digits = now;
    FitNumberMargin(e);
  });
  FollowAssistiveTechnology(e);
  // Keys of the accelerator table belong to the program, not to the editor's bindings.
  QsciCommandSet* commands = e->standardCommands();
  for (QsciCommand* c : commands->commands()) {
    for (int key : {c->key(), c->alternateKey()}) {
      if (!key) continue;
      int k = key & ~(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::META);
      bool ctrl = key & Qt::CTRL;
      bool alt = key & Qt::ALT;
      if ((ctrl && !alt &&
           (k == 'A' || k == 'L' || k == 'D' || k == 'Z' || k == 'Y' || k == 'X' || k == 'C' || k == 'V' || k == 'U' ||
            k == 'T' || k == 'E' || k == 'M' || k == 'R' || k == 'H')) ||
          (alt && !ctrl && (k == Qt::Key_Up || k == Qt::Key_Down))) {
        if (c->key() == key) c->setKey(0);
        else c->setAlternateKey(0);
      }
    }
  }
  return e;
}
