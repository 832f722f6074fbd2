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

#include "app/application.h"
#include "app/palette_icons.h"
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

const ToolButton kButtons[] = {
    {5000, "100.svg", "New Program (Ctrl+N)", 100},
    {5010, "110.svg", "New Project (Ctrl+J)", 1101},
    {5020, "120.svg", "Open Program (Ctrl+O)", 102},
    {5030, "130.svg", "Insert File", 113},
    {5031, "311.svg", "Close (Ctrl+Q)", 123},
    {5040, "140.svg", "Save Program (Ctrl+S)", 105},
    {5050, "150.svg", "Print Text (Ctrl+P)", 108},
    {5051, "312.svg", "Undo Text (Ctrl+Z)", 0},
    {5052, "314.svg", "Redo Text (Ctrl+Y)", 0},
    {0, nullptr, nullptr, 0},
    {5060, "160.svg", "Find Text (Ctrl+F)", 201},
    {5070, "170.svg", "Cut Selected Text (Ctrl+X)", 204},
    {5080, "180.svg", "Copy Selected Text (Ctrl+C)", 205},
    {5090, "190.svg", "Paste Text From Clipboard (Ctrl+V)", 206},
    {0, nullptr, nullptr, 0},
    {5100, "200.svg", "Editor's Preferences", 300},
    {5110, "210.svg", "Editor's Font (Alt+N)", 301},
    {5120, "220.svg", "System Colors (Alt+X)", 303},
    {0, nullptr, nullptr, 0},
    {5130, "230.svg", "Create Web Page (Ctrl+R)", 800},
    {0, nullptr, nullptr, 0},
    {5140, "240.svg", "Validate Web Page (Alt+D)", 0},
    {5150, "250.svg", "Select Color (Alt+C)", 0},
    {5191, "310.svg", "Library Manager (Alt+M)", 934},
    {5160, "260.svg", "Command Prompt", 930},
    {0, nullptr, nullptr, 0},
    {5170, "270.svg", "Help Contents (Ctrl+F1)", 1000},
    {5180, "280.svg", "Visit Our Website", 1030},
    {5190, "290.svg", "About Verosta editor", 2000},
    {0, nullptr, nullptr, 0},
};

// The markup validator's page for uploading a file.
constexpr const char* kValidatorUploadPage = "https://validator.w3.org/#validate_by_upload";

template <int Command>
void Forward(App& app) {
  DispatchCommand(app, Command, true);
}

template <unsigned Message>
void EditorMessage(App& app) {
  FindActiveDocument(app);
  Send(app, Message);
}

void Validate(App& app) { app.platform.ShellOpen(kValidatorUploadPage); }

const CommandRow kButtonRows[] = {
    {5000, Forward<100>, true},
    {5010, Forward<1101>, true},
    {5020, Forward<102>, true},
    {5030, Forward<113>, true},
    {5031, Forward<123>, true},
    {5040, Forward<105>, true},
    {5050, Forward<108>, true},
    {5051, EditorMessage<QsciScintillaBase::SCI_UNDO>, true},
    {5052, EditorMessage<QsciScintillaBase::SCI_REDO>, true},
    {5060, Forward<201>, true},
    {5070, Forward<204>, true},
    {5080, Forward<205>, true},
    {5090, Forward<206>, true},
    {5100, Forward<300>, true},
    {5110, Forward<301>, true},
    {5120, Forward<303>, true},
    {5130, Forward<800>, true},
    {5140, Validate, true},
    {5150, SelectColor, true},
    {5191, Forward<934>, true},
    {5160, Forward<930>, true},
    {5170, Forward<1000>, true},
    {5180, Forward<1030>, true},
    {5190, Forward<2000>, true},
};

// Answers the buttons' tip requests from the table, and with no tip while tips are off.
class TipFilter : public QObject {
 public:
  TipFilter(App& app, QObject* parent) : QObject(parent), app_(app) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    std::string tip = ToolbarTip(app_, watched->property("buttonId").toInt());
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

std::span<const ToolButton> ToolbarButtons() { return kButtons; }

std::string ToolbarTip(const App& app, int id) {
  if (app.settings.toolbarTips != 1) return std::string();
  for (const ToolButton& b : kButtons)
    if (b.id == id && id != 0) return b.tip;
  return std::string();
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
  for (const ToolButton& b : kButtons) {
    if (b.id == 0) {
      toolbar->addSeparator();
      continue;
    }
    QIcon icon = PaletteIcon(QString::fromStdString(ProgramFile(app, std::string("res/icons/") + b.icon)), toolbar->palette());
    auto* action = toolbar->addAction(icon, QString::fromUtf8(b.tip));
    action->setObjectName(QString::number(b.id));
    int id = b.id;
    QObject::connect(action, &QAction::triggered, toolbar, [&app, id] {
      if (app.window) app.window->Command(id, true);
      else DispatchCommand(app, id, true);
    });
    if (QWidget* button = toolbar->widgetForAction(action)) {
      button->setObjectName(QString::number(b.id));
      button->setProperty("buttonId", b.id);
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

void SetStatusBarPart(App& app, int part, const std::string& text) {
  if (StatusParts* parts = PartsOf(app)) parts->Set(part, text);
}

std::string StatusBarPart(App& app, int part) {
  StatusParts* parts = PartsOf(app);
  return parts && part >= 1 && part <= 4 ? parts->texts[part] : std::string();
}

CommandFragment ToolbarCommands() { return {kButtonRows, {}}; }
