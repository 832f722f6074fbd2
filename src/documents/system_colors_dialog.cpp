#include "documents/system_colors_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/files.h"
#include "documents/editor.h"
#include "documents/themes.h"
#include "platform/platform.h"

void ReapplyEditorColours(App& app, bool withCaret) {
  const Settings& s = app.settings;
  Send(app, QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_DEFAULT, s.colorBackground);
  Send(app, QsciScintillaBase::SCI_STYLESETFORE, QsciScintillaBase::STYLE_DEFAULT, s.colorMainText);
  Send(app, QsciScintillaBase::SCI_STYLECLEARALL);
  Send(app, QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_LINENUMBER, s.colorGutter);
  Send(app, QsciScintillaBase::SCI_STYLESETFORE, QsciScintillaBase::STYLE_LINENUMBER, s.colorSetNumbers);
  if (withCaret) Send(app, QsciScintillaBase::SCI_SETCARETFORE, s.colorCursor);
}

namespace {

struct ColourButton {
  int id;  // the swatch is id + 1
  const char* text;
  int Settings::*field;
  int column, row;
};

// In creation order; the check box comes between Strings and Keywords.
const ColourButton kButtons[] = {
    {130, "Doctype", &Settings::colorDoctype, 0, 0},    {110, "Comment", &Settings::colorComment, 0, 1},
    {91, "Text", &Settings::colorMainText, 0, 2},       {210, "Brackets", &Settings::colorOperator, 0, 3},
    {150, "Numbers", &Settings::colorNumbers, 0, 4},    {250, "Strings", &Settings::colorStrings, 0, 5},
    {190, "Keywords", &Settings::colorKeywords, 0, 6},  {310, "Background", &Settings::colorBackground, 1, 0},
    {350, "Gutter", &Settings::colorGutter, 1, 1},      {330, "Line numbers", &Settings::colorSetNumbers, 1, 2},
    {370, "Text cursor", &Settings::colorCursor, 1, 3}, {380, "White space", &Settings::colorSpace, 1, 4},
};

const std::vector<std::pair<std::string, std::string>> kThemeFilters = {{"System Colors (*.scol)", "*.scol"},
                                                                        {"All Files (*.*)", "*.*"}};

class SystemColorsDialog : public QDialog {
 public:
  explicit SystemColorsDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    setWindowTitle("System Colors");
    setFixedSize(330, 350);
    Label(10, "Syntax", 20, 12);
    Label(11, "Editor", 175, 12);
    for (const ColourButton& b : kButtons) {
      if (b.id == 190) AddCheckBox();
      AddPair(b);
    }
    Button(269, "Help", 20, 315, [this] { app_.platform.ShowHelp("help/contents.chm", 27); });
    Button(270, "Ok", 120, 315, [this] { Ok(); });
    Button(2, "Cancel", 220, 315, [this] { Cancel(); });
    Button(263, "Open", 175, 190, [this] { OpenTheme(); });
    Button(264, "Save", 175, 220, [this] { SaveTheme(); });
    Button(188, "Default", 175, 250, [this] { Defaults(); });
    RepaintSwatches();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    // Escape is the Cancel button, as in every dialog of the program.
    if (event->key() == Qt::Key_Escape) Cancel();
    else QDialog::keyPressEvent(event);
  }

 private:
  void Label(int id, const char* text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::number(id));
    l->setGeometry(x, y, 120, 18);
  }
  QPushButton* Button(int id, const char* text, int x, int y, std::function<void()> action) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::number(id));
    b->setGeometry(x, y, 90, 23);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, std::move(action));
    return b;
  }
  void AddCheckBox() {
    check_ = new QCheckBox(" Use syntax colors in editor", this);
    check_->setObjectName("192");
    check_->setGeometry(20, 280, 290, 20);
    check_->setChecked(app_.settings.syntaxHighlighting == 1);
    connect(check_, &QCheckBox::clicked, this, [this](bool on) { app_.settings.syntaxHighlighting = on ? 1 : 0; });
  }
  void AddPair(const ColourButton& b) {
    int x = b.column == 0 ? 20 : 175, y = b.row == 6 ? 220 : 35 + b.row * 30;
    Button(b.id, b.text, x, y, [this, &b] { Pick(b); });
    auto* swatch = new QLabel(this);
    swatch->setObjectName(QString::number(b.id + 1));
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(x + 100, y + 2, 36, 19);
  }
  void Paint(const ColourButton& b) {
    auto* swatch = findChild<QLabel*>(QString::number(b.id + 1));
    uint32_t c = static_cast<uint32_t>(app_.settings.*b.field);
    QColor colour(RedOf(c), GreenOf(c), BlueOf(c));
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, colour);
    swatch->setPalette(p);
  }
  void RepaintSwatches() {
    for (const ColourButton& b : kButtons) Paint(b);
  }

  void Pick(const ColourButton& b) {
    uint32_t colour = static_cast<uint32_t>(app_.settings.*b.field);  // opens on the colour being changed
    if (!app_.platform.PickColor(colour)) return;
    app_.settings.*b.field = static_cast<int>(colour);
    Paint(b);
    if (b.id == 310) ReapplyEditorColours(app_, false);
    if (b.id == 350)
      Send(app_, QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_LINENUMBER, app_.settings.colorGutter);
    if (b.id == 330)
      Send(app_, QsciScintillaBase::SCI_STYLESETFORE, QsciScintillaBase::STYLE_LINENUMBER,
           app_.settings.colorSetNumbers);
  }
  void Ok() {
    SaveSettings(app_);
    accept();
  }
  void Cancel() {
    LoadSettings(app_);
    ReapplyEditorColours(app_, true);
    reject();
  }
  void Defaults() {
    QWidget* editor = app_.activeEditor;
    if (editor) editor->setUpdatesEnabled(false);
    SetDefaultColours(app_.settings);
    RepaintSwatches();
    app_.settings.syntaxHighlighting = 1;
    check_->setChecked(true);
    if (editor) editor->setUpdatesEnabled(true);
  }
  FileDialogSpec ThemeDialog(const char* title) const {
    FileDialogSpec fileDialog;
    fileDialog.title = title;
    fileDialog.folder = "Themes";
    fileDialog.filters = kThemeFilters;
    fileDialog.defaultExtension = "scol";
    return fileDialog;
  }
  void OpenTheme() {
    FeedbackIfOn(app_);
    std::vector<std::string> paths;
    if (!app_.platform.OpenFile(ThemeDialog("Open Theme"), paths) || paths.empty()) return;
    std::string bytes;
    if (!core::ReadFileBytes(paths[0], bytes)) return;
    ReadThemeText(bytes, app_.settings);
    ReapplyEditorColours(app_, false);
    RepaintSwatches();
  }
  void SaveTheme() {
    FeedbackIfOn(app_);
    QDir().mkpath("Themes");  // the folder the dialog starts in
    std::string path;
    if (!app_.platform.SaveFile(ThemeDialog("Save Theme"), path)) return;
    core::WriteFileAtomically(path, WriteThemeText(app_.settings));
  }

  App& app_;
  QCheckBox* check_ = nullptr;
};

}  // namespace

void SystemColorsCommand(App& app) {
  FeedbackIfOn(app);
  SystemColorsDialog dialog(app);
  app.platform.RunDialog(dialog);
}
