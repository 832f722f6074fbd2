// The Locate Programs dialog: where the five outside editors are.
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/dialog_parts.h"
#include "documents/application.h"
#include "app/shell.h"
#include "tools/outside_programs.h"

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

class LocateProgramsDialog : public QDialog {
 public:
  explicit LocateProgramsDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    setWindowTitle("Locate Programs");
    auto* grid = new QGridLayout;
    for (int i = 0; i < kEditorCount; ++i) {
      const EditorRow& row = EditorRows()[i];
      paths_[i] = new QLineEdit(Q(app.settings.*row.path), this);
      paths_[i]->setObjectName(QString::number(row.pathId));
      paths_[i]->setMinimumWidth(320);
      auto* browse = Button("Browse...", row.browseId);
      connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
      grid->addWidget(new QLabel(row.label, this), 2 * i, 0);
      grid->addWidget(paths_[i], 2 * i + 1, 0);
      grid->addWidget(browse, 2 * i + 1, 1);
    }
    auto* help = Button("Help", 251);
    auto* ok = Button("Ok", 300);
    auto* cancel = Button("Cancel", 2);
    ok->setDefault(true);
    connect(help, &QPushButton::clicked, this, [this] { app_.platform.ShowHelp("help/contents.chm", 34); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow(help, {ok, cancel}));
    paths_[0]->setFocus();
  }

  std::string PathText(int i) const { return paths_[i]->text().toUtf8().toStdString(); }

 private:
  QPushButton* Button(const char* text, int id) { return IdButton(this, id, text); }

  void Browse(int i) {
    std::vector<std::string> chosen;
    if (app_.platform.OpenFile(ProgramFileDialog(EditorRows()[i].browseTitle, kProgramsFolder), chosen) &&
        !chosen.empty())
      paths_[i]->setText(Q(chosen.front()));
    paths_[i]->setFocus();
  }

  App& app_;
  QLineEdit* paths_[kEditorCount];
};

}  // namespace

void RunLocateProgramsDialog(App& app) {
  FeedbackIfOn(app);
  LocateProgramsDialog dialog(app);
  if (!app.platform.RunDialog(dialog)) return;
  for (int i = 0; i < kEditorCount; ++i) app.settings.*EditorRows()[i].path = dialog.PathText(i);
  SaveSettings(app);
}
