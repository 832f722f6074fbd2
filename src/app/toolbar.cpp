// The toolbar and the status bar.
#include "app/toolbar.h"

#include <QAction>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
#include "documents/palette_icons.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/editor_signals.h"
#include "documents/text_transforms.h"
#include "platform/platform.h"

namespace {

// Left to right. Icons and tips are the command rows'.
constexpr ButtonId kSeparator = ButtonId::None;
constexpr ButtonId kLayout[] = {
    ButtonId::NewProgram,
    ButtonId::NewProject,
    ButtonId::Open,
    ButtonId::InsertFile,
    ButtonId::Close,
    ButtonId::Save,
    ButtonId::Print,
    ButtonId::Undo,
    ButtonId::Redo,
    kSeparator,
    ButtonId::Find,
    ButtonId::Cut,
    ButtonId::Copy,
    ButtonId::Paste,
    kSeparator,
    ButtonId::Preferences,
    ButtonId::EditorsFont,
    ButtonId::SystemColors,
    kSeparator,
    ButtonId::CreateWebPage,
    kSeparator,
    ButtonId::ValidateWebPage,
    ButtonId::SelectColor,
    ButtonId::LibraryManager,
    ButtonId::CommandPrompt,
    kSeparator,
    ButtonId::HelpContents,
    ButtonId::VisitWebSite,
    ButtonId::About,
    kSeparator,
};

const CommandRow kRows[] = {
    {Cmd::None, nullptr, SelectColor, Then::Focus, {}, {ButtonId::SelectColor, "250.svg", "Select Color (Alt+C)"}},
};

// Answers the buttons' tip requests from the table, and with no tip while tips are off.
class TipFilter : public QObject {
 public:
  TipFilter(App& app, QObject* parent) : QObject(parent), app_(app) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    std::string tip = ToolbarTip(app_, ButtonId(watched->property("buttonId").toInt()));
    if (tip.empty() || !widget) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromUtf8(tip.c_str()), widget);
    }
    return true;
  }

 private:
  App& app_;
};

// The four parts of the status bar and the texts last set to them.
class StatusParts : public QObject {
 public:
  explicit StatusParts(QStatusBar* bar) : QObject(bar) { setObjectName("statusParts"); }
  QLabel* labels[5] = {};
  std::string texts[5];

  void Set(int part, const std::string& text) {
    if (part < 1 || part > 4 || texts[part] == text) return;
    texts[part] = text;
    labels[part]->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
};

StatusParts* PartsOf(App& app) {
  if (!app.window) return nullptr;
  auto* bar = app.window->findChild<QStatusBar*>("7500", Qt::FindDirectChildrenOnly);
  if (!bar) return nullptr;
  return static_cast<StatusParts*>(bar->findChild<QObject*>("statusParts", Qt::FindDirectChildrenOnly));
}

// Runs on every editor notification and after every command: a handful of editor messages,
// and a part is set only when its text changed.
void UpdateParts(App& app) {
  StatusParts* parts = PartsOf(app);
  if (!parts) return;
  if (app.activeEditor) {
    WatchEditor(app.activeEditor, [&app] { UpdateParts(app); });
    intptr_t pos = Send(app, QsciScintillaBase::SCI_GETCURRENTPOS);
    intptr_t line = Send(app, QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(pos));
    intptr_t count = Send(app, QsciScintillaBase::SCI_GETLINECOUNT);
    parts->Set(3, StatusLineText(line + 1, count));
  }
  parts->Set(2, std::string());
  bool showPath = app.settings.statusbarFile == 1 && !core::Trim(app.currentPath).empty();
  parts->Set(4, showPath ? " Program name: " + app.currentPath : std::string());
}

}  // namespace

std::span<const ButtonId> ToolbarLayout() { return kLayout; }

std::string ToolbarTip(const App& app, ButtonId id) {
  if (app.settings.toolbarTips != 1) return std::string();
  const CommandRow* row = FindCommand(id);
  return row ? row->button.tip : std::string();
}

void SelectColor(App& app) {
  FindActiveDocument(app);
  FeedbackIfOn(app);
  uint32_t colour = 0;  // the dialog starts from black
  if (app.platform.PickColor(colour)) InsertTextAtCaret(app, ColourHexText(colour));
}

void BuildToolbar(App& app, QToolBar* toolbar) {
  toolbar->setStyleSheet("QToolBar::separator { width: 10px; }");
  auto* tips = new TipFilter(app, toolbar);
  for (ButtonId id : kLayout) {
    if (id == kSeparator) {
      toolbar->addSeparator();
      continue;
    }
    const CommandRow* row = FindCommand(id);
    if (!row) continue;
    const ButtonFacet& b = row->button;
    QIcon icon =
        PaletteIcon(QString::fromStdString(ProgramFile(app, std::string("res/icons/") + b.icon)), toolbar->palette());
    auto* action = toolbar->addAction(icon, QString::fromUtf8(b.tip));
    int number = Number(id);
    action->setObjectName(QString::number(number));
    QObject::connect(action, &QAction::triggered, toolbar, [&app, number] {
      if (app.window) app.window->Command(number, true);
      else DispatchCommand(app, number, true);
    });
    if (QWidget* button = toolbar->widgetForAction(action)) {
      button->setObjectName(QString::number(number));
      button->setProperty("buttonId", number);
      button->installEventFilter(tips);
    }
  }
}

void BuildStatusBar(App& app, QStatusBar* bar) {
  auto* parts = new StatusParts(bar);
  // Right edges at 0, 59 and 110; the last part takes the rest of the bar.
  static const int kWidths[5] = {0, 0, 59, 51, 0};
  for (int part = 1; part <= 4; ++part) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString("part%1").arg(part));
    label->setMinimumWidth(kWidths[part]);
    if (part == 1) label->setFixedWidth(0);
    bar->addWidget(label, part == 4 ? 1 : 0);
    parts->labels[part] = label;
  }
  UpdateParts(app);
}

void RefreshStatusBar(App& app) { UpdateParts(app); }

void ShowStatusBarPart(App& app, int part, const std::string& text) {
  if (StatusParts* parts = PartsOf(app)) parts->Set(part, text);
}

std::string StatusBarPart(App& app, int part) {
  StatusParts* parts = PartsOf(app);
  return parts && part >= 1 && part <= 4 ? parts->texts[part] : std::string();
}

std::span<const CommandRow> ToolbarCommands() { return kRows; }
