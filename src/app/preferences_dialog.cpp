#include "app/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "documents/application.h"
#include "app/shell.h"
#include "platform/platform.h"

void SetPreferenceDefaults(Settings& s) {
  s.maximizeWindow = 1;
  s.titlebarName = 1;
  s.toolbarTips = 1;
  s.editorsMargin = 1;
  s.feedback = 0;
  s.blockCursor = 0;
  s.thinCursor = 1;
  s.printNumbers = 1;
  s.lastFile = 1;
  s.backupFile = 1;
  s.recycleBin = 1;
  s.deleteFile = 0;
  s.statusbarFile = 1;
  s.existingFile = 1;
  // A new string moved in: GCC 12 warns falsely (-Wrestrict) on assigning the literal here.
  s.tabIndent = std::string(1, '3');
  s.printFileName = 1;
  s.saveOnExit = 1;
  s.ukPaperSize = 1;
  s.usPaperSize = 0;
  s.printerDialog = 1;
}

namespace {

struct Box {
  int id;
  const char* text;
  int x, y;
  int Settings::*field;
  int partner;  // the other box of a one-choice pair, 0 for a plain box
};

// In creation order; the label and list of the tab indent come after box 143.
const Box kBoxes[] = {
    {120, " Maximize window on startup", 26, 36, &Settings::maximizeWindow, 0},
    {130, " Show file name in title bar", 26, 59, &Settings::titlebarName, 0},
    {111, " Display toolbar tips", 26, 82, &Settings::toolbarTips, 0},
    {140, " Enable editor's margin", 26, 105, &Settings::editorsMargin, 0},
    {141, " Feedback with sound", 26, 128, &Settings::feedback, 0},
    {144, " Display block text cursor", 26, 151, &Settings::blockCursor, 143},
    {143, " Display thin text cursor", 26, 174, &Settings::thinCursor, 144},
    {100, " Load last session on startup", 220, 36, &Settings::lastFile, 0},
    {150, " Backup files when saving", 220, 59, &Settings::backupFile, 0},
    {181, " Delete file to recycle bin", 220, 82, &Settings::recycleBin, 180},
    {180, " Permanently delete file", 220, 105, &Settings::deleteFile, 181},
    {110, " Show statusbar file name", 220, 128, &Settings::statusbarFile, 0},
    {170, " Confirm save existing file", 220, 151, &Settings::existingFile, 0},
    {171, " Auto save session on exit", 220, 174, &Settings::saveOnExit, 0},
    {193, " Show dialog before printing", 414, 36, &Settings::printerDialog, 0},
    {99, " Line numbers when printing", 414, 59, &Settings::printNumbers, 0},
    {190, " Include program file name", 414, 82, &Settings::printFileName, 0},
    {191, " Print to A4 paper size", 414, 105, &Settings::ukPaperSize, 192},
    {192, " Print to US letter paper size", 414, 128, &Settings::usPaperSize, 191},
};

class PreferencesDialog : public QDialog {
 public:
  explicit PreferencesDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    setWindowTitle("Preferences");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // The pixel layout is made for a small dialog font.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    // Where this platform's fonts are wider, the whole layout widens so no text is cut.
    int widest = 0;
    for (const Box& b : kBoxes) {
      QCheckBox probe(b.text, this);
      widest = std::max(widest, probe.sizeHint().width());
    }
    scale_ = std::max(1.0, (widest + 4) / 165.0);
    setFixedSize(X(594), 281);
    Group(90, "Editor", 13);
    Group(91, "Files", 207);
    Group(92, "Print", 401);
    for (const Box& b : kBoxes) {
      AddBox(b);
      if (b.id == 143) AddTabIndent();
    }
    Button(2, "Cancel", 507, [this] { Cancel(); });
    Button(800, "Ok", 422, [this] { Ok(); });
    Button(801, "Help", 12, [this] { app_.platform.ShowHelp("help/contents.chm", 0); });
    Button(802, "Defult", 337, [this] { Defaults(); });
    // Control 802 names the label first, so no button starts pre-selected.
    label_->setFocus();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) Cancel();  // Escape is the Cancel button
    else QDialog::keyPressEvent(event);
  }

 private:
  void Group(int id, const char* text, int x) {
    auto* g = new QGroupBox(text, this);
    g->setObjectName(QString::number(id));
    g->setGeometry(X(x), 12, X(180), 220);
  }
  void AddBox(const Box& b) {
    auto* c = new QCheckBox(b.text, this);
    c->setObjectName(QString::number(b.id));
    // Wider and taller than the 155 x 13 of the pixel layout, so that the texts fit
    // inside their frames in this platform's fonts.
    c->setGeometry(X(b.x), b.y, X(165), std::max(13, c->sizeHint().height()));
    c->setChecked(app_.settings.*b.field == 1);
    connect(c, &QCheckBox::clicked, this, [this, &b](bool on) { Clicked(b, on); });
  }
  void AddTabIndent() {
    label_ = new QLabel("Tab indent:", this);
    label_->setObjectName("802");
    label_->setGeometry(X(25), 200, X(88) - X(25) - 2, 21);
    list_ = new QComboBox(this);
    list_->setObjectName("803");
    list_->setEditable(true);
    for (int n = 1; n <= 20; ++n) list_->addItem(QString::number(n));
    list_->setGeometry(X(88), 197, 50, 21);  // wide enough to show two digits beside the arrow
    list_->setEditText(QString::fromUtf8(app_.settings.tabIndent.c_str()));
  }
  void Button(int id, const char* text, int x, std::function<void()> action) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::number(id));
    b->setGeometry(X(x), 246, 75, 21);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, std::move(action));
  }
  int X(int x) const { return static_cast<int>(x * scale_ + 0.5); }
  QCheckBox* BoxOf(int id) const { return findChild<QCheckBox*>(QString::number(id)); }

  void Clicked(const Box& b, bool on) {
    Settings& s = app_.settings;
    if (!b.partner) {
      s.*b.field = on ? 1 : 0;
      if (b.id == 130) UpdateTitle(app_);
    } else {
      // One choice of a pair: the clicked box is always the one that ends up on.
      s.*b.field = 1;
      for (const Box& other : kBoxes)
        if (other.id == b.partner) s.*other.field = 0;
      RefreshBoxes();
    }
    // The main window restyles the editor after each command, not while this dialog runs:
    // margin and caret show their new look at once.
    if (b.id == 140 || b.id == 143 || b.id == 144) ShowInEditor();
  }
  void ShowInEditor() { ApplyEditorStyle(app_); }
  void RefreshBoxes() {
    for (const Box& b : kBoxes) BoxOf(b.id)->setChecked(app_.settings.*b.field == 1);
  }
  void Ok() {
    app_.settings.tabIndent = list_->currentText().toUtf8().toStdString();
    accept();
    SaveSettings(app_);
  }
  void Cancel() {
    LoadSettings(app_);
    ShowInEditor();
    reject();
  }
  void Defaults() {
    SetPreferenceDefaults(app_.settings);
    RefreshBoxes();
    ShowInEditor();
    list_->setEditText("3");
    UpdateTitle(app_);
  }

  App& app_;
  double scale_ = 1.0;
  QLabel* label_ = nullptr;
  QComboBox* list_ = nullptr;
};

}  // namespace

void PreferencesCommand(App& app) {
  PreferencesDialog dialog(app);
  app.platform.RunDialog(dialog);
}
