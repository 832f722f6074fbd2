#include "tools/translator_messages_dock.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

#include <QDockWidget>
#include <QListWidget>
#include <QMainWindow>
#include <QTabWidget>

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"

namespace {

constexpr const char* kDockName = "translatorMessages";
constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kLineRole = Qt::UserRole + 2;

QMainWindow* Window(App& app) { return qobject_cast<QMainWindow*>(app.platform.Owner()); }

QString RowText(const TranslatorMessage& m) {
  std::string text = m.path.empty() ? m.message
                                    : core::FileNameOf(m.path) + ":" + std::to_string(m.line) + ": " +
                                          (m.error ? "error: " : "warning: ") + m.message;
  return QString::fromStdString(text);
}

int TabOfPath(App& app, const std::string& path) {
  QTabWidget* tabs = TabStrip(app);
  for (int t = 1; tabs && t <= tabs->count(); ++t)
    if (int slot = SlotOfTab(app, t); slot && app.docs[slot].path == path) return t;
  return 0;
}

}  // namespace

QDockWidget* TranslatorMessagesDock(App& app) {
  QMainWindow* window = Window(app);
  return window ? window->findChild<QDockWidget*>(kDockName) : nullptr;
}

void ShowTranslatorMessages(App& app, const std::vector<TranslatorMessage>& messages) {
  QDockWidget* dock = TranslatorMessagesDock(app);
  if (messages.empty()) {
    if (dock) dock->hide();
    return;
  }
  QMainWindow* window = Window(app);
  if (!window) return;
  if (!dock) {
    dock = new QDockWidget(kTranslatorMessagesTitle, window);
    dock->setObjectName(kDockName);
    dock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    auto* list = new QListWidget(dock);
    QObject::connect(list, &QListWidget::itemActivated, list, [&app](QListWidgetItem* item) {
      TranslatorMessage m;
      m.path = item->data(kPathRole).toString().toStdString();
      m.line = item->data(kLineRole).toInt();
      GoToTranslatorMessage(app, m);
    });
    dock->setWidget(list);
    window->addDockWidget(Qt::BottomDockWidgetArea, dock);
  }
  auto* list = qobject_cast<QListWidget*>(dock->widget());
  list->clear();
  for (const TranslatorMessage& m : messages) {
    auto* item = new QListWidgetItem(RowText(m), list);
    item->setData(kPathRole, QString::fromStdString(m.path));
    item->setData(kLineRole, m.line);
    item->setToolTip(QString::fromStdString(m.path));
  }
  if (list->count() > 0) list->setCurrentRow(0);
  dock->show();
}

bool GoToTranslatorMessage(App& app, const TranslatorMessage& m) {
  if (m.path.empty() || m.line < 1) return false;
  int tab = TabOfPath(app, m.path);
  if (!tab) {
    if (!core::FileExists(m.path) || !OpenDocumentTab(app, m.path, core::FileNameOf(m.path))) return false;
    tab = TabOfPath(app, m.path);
    if (!tab) return false;
  }
  ActivateTab(app, tab);
  QsciScintilla* editor = app.activeEditor;
  if (!editor) return false;
  int line = std::min(m.line - 1, std::max(0, editor->lines() - 1));
  editor->setCursorPosition(line, 0);
  editor->ensureLineVisible(line);
  editor->setFocus();
  return true;
}
