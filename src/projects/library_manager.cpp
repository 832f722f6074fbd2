// The Library Manager dialog: a list of the library files beside an edit box for one of them.
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/dialog_parts.h"
#include "documents/document_table.h"
#include "documents/printing.h"
#include "platform/platform.h"
#include "projects/library.h"

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

std::vector<std::pair<std::string, std::string>> LibraryFilters() {
  return {{"Library Files (*.lib)", "*.lib"}, {"All Files (*.*)", "*.*"}};
}

FileDialogSpec LibraryDialog(const std::string& title, const std::string& defaultExtension) {
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = "Library";
  fileDialog.filters = LibraryFilters();
  fileDialog.defaultExtension = defaultExtension;
  return fileDialog;
}

// The edit box keeps 7 pixels free at its left and right.
class LibraryEditBox : public QPlainTextEdit {
 public:
  explicit LibraryEditBox(QWidget* parent) : QPlainTextEdit(parent) { setViewportMargins(7, 0, 7, 0); }
};

class LibraryManagerDialog : public QDialog {
 public:
  explicit LibraryManagerDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    Build();
    SetCaption(libraryName_);
    RefillList();
    editor_->setFocus();
  }

 private:
  void Build() {
    resize(760, 500);
    QFont font;
    font.setPointSize(std::max(1, app_.settings.fontSize - 1));

    auto* listLabel = new QLabel("Library files", this);
    listLabel->setObjectName(QString::number(kLibraryListLabel));
    list_ = new QPlainTextEdit(this);
    list_->setObjectName(QString::number(kLibraryList));
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setFont(font);
    auto* editLabel = new QLabel("Edit", this);
    editLabel->setObjectName(QString::number(kLibraryEditLabel));
    editor_ = new LibraryEditBox(this);
    editor_->setObjectName(QString::number(kLibraryEditor));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setFrameShadow(QFrame::Sunken);
    editor_->setFont(font);

    auto* column = new QVBoxLayout;
    column->addWidget(IdButton(this, kLibraryOpen, "Open", [this] { Open(); }));
    column->addWidget(IdButton(this, kLibrarySave, "Save", [this] { Save(); }));
    column->addWidget(IdButton(this, kLibraryDelete, "Delete", [this] { Delete(); }));
    column->addWidget(IdButton(this, kLibraryPrint, "Print", [this] { Print(); }));
    column->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(listLabel, 0, 0);
    grid->addWidget(list_, 1, 0);
    grid->addWidget(editLabel, 0, 1);
    grid->addWidget(editor_, 1, 1);
    grid->addLayout(column, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(IdButton(this, kLibraryHelp, "Help", [this] {
      FeedbackIfOn(app_);
      app_.platform.ShowHelp("help/contents.chm", 47);
    }));
    bottom->addWidget(IdButton(this, kLibraryOk, "Ok", [this] { accept(); }));
    bottom->addWidget(IdButton(this, kLibraryCancel, "Cancel", [this] { reject(); }));

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(bottom);
  }

  void SetCaption(const std::string& name) { setWindowTitle(Q("Library Manager - " + core::FileNameOf(name))); }
  void RefillList() { list_->setPlainText(Q(ToBoxText(LibraryFileList("Library")))); }
  std::string EditorBytes() const { return FromBoxText(S(editor_->toPlainText()), lineEnd_); }

  void Open() {
    FeedbackIfOn(app_);
    std::vector<std::string> paths;
    std::string bytes;
    if (app_.platform.OpenFile(LibraryDialog("Open Library File", "snp"), paths) && !paths.empty() &&
        core::FileExists(paths.front()) && core::ReadFileBytes(paths.front(), bytes)) {
      lineEnd_ = LineEndOf(bytes);
      editor_->setPlainText(Q(ToBoxText(bytes)));
      libraryName_ = paths.front();
      SetCaption(libraryName_);
    }
    editor_->setFocus();
  }

  void Save() {
    FeedbackIfOn(app_);
    FileDialogSpec fileDialog = LibraryDialog("Save Library File", "lib");
    fileDialog.askOverwrite = app_.settings.existingFile == 1;
    std::string path, error;
    if (app_.platform.SaveFile(fileDialog, path) && !path.empty()) {
      libraryName_ = path;
      if (core::WriteFileAtomically(path, EditorBytes(), &error)) RefillList();
      else app_.platform.Message("The library file could not be saved.\r" + error, MsgIcon::Warning);
    }
    editor_->setFocus();
  }

  // The delete operation plays the feedback sound itself.
  void Delete() {
    // Whatever happened, the list shows what the folder now holds.
    DeleteFileWithDialog(app_, "Delete Library File", "Library", LibraryFilters(), "", "web");
    RefillList();
  }

  void Print() {
    FeedbackIfOn(app_);
    PrintText(app_, EditorBytes(), core::FileNameOf(libraryName_));
    editor_->setFocus();
  }

  App& app_;
  QPlainTextEdit* list_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  std::string libraryName_ = "New.lib";  // reset each time the manager opens
  std::string lineEnd_ = "\r\n";         // a new library file gets the program's own line ends
};

}  // namespace

void LibraryManager(App& app) {
  LibraryManagerDialog dialog(app);
  app.platform.RunDialog(dialog);
}
