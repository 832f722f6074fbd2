#include "documents/editor_signals.h"

#include <Qsci/qsciscintilla.h>

void WatchEditor(QsciScintilla* editor, std::function<void()> onNotify) {
  if (!editor || editor->property("verostaWatched").toBool()) return;
  editor->setProperty("verostaWatched", true);
  QObject::connect(editor, &QsciScintillaBase::SCN_UPDATEUI, editor, [onNotify](int) { onNotify(); });
  QObject::connect(editor, &QsciScintillaBase::SCN_FOCUSIN, editor, [onNotify] { onNotify(); });
}
