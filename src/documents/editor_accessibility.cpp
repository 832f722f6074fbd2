// The editing component's accessibility support reports every change and every caret move
// with a character offset counted from the start of the document, so each key press far into
// a large document costs time in proportion to its size. That work only serves assistive
// technology: while none is active the editors get a plain accessible description and do not
// report insertions and deletions; once one becomes active the component's own support
// (with its text interface) takes over again for every editor.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <Qsci/qsciscintilla.h>

#include "documents/editor.h"

namespace {

using Sci = QsciScintillaBase;

constexpr int kTextChanges = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT;

// Follows the platform's announcements (QAccessible::isActive() alone is not told of them
// on every platform).
bool assistiveActive = false;

QAccessibleInterface* PlainEditorInterface(const QString&, QObject* object) {
  if (assistiveActive || !object || !object->inherits("QsciScintillaBase")) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

void ApplyMode(QsciScintillaBase* editor, bool active) {
  int all = Sci::SC_MODEVENTMASKALL;
  editor->SendScintilla(Sci::SCI_SETMODEVENTMASK, active ? all : all & ~kTextChanges);
}

// Drops the interface Qt keeps for the editor, so that the next query makes the one that
// fits the new state.
void ForgetInterface(QsciScintillaBase* editor) {
  if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(editor))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

class Observer : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    assistiveActive = active;
    for (QWidget* w : QApplication::allWidgets()) {
      if (auto* editor = qobject_cast<QsciScintillaBase*>(w)) {
        ApplyMode(editor, active);
        ForgetInterface(editor);
      }
    }
  }
};

}  // namespace

void FollowAssistiveTechnology(QsciScintilla* editor) {
  // Installed before the first editor exists, so that no editor is ever described by the
  // component's own interface while no assistive technology asks for it.
  static bool installed = false;
  if (!installed) {
    installed = true;
    assistiveActive = QAccessible::isActive();
    QAccessible::installFactory(PlainEditorInterface);
    static Observer observer;
    QAccessible::installActivationObserver(&observer);
  }
  if (editor) ApplyMode(editor, assistiveActive);
}
