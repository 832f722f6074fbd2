// The Rename Program dialog: renames the active document's file within the current folder.
#include <QMainWindow>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QTabWidget>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/dialog_parts.h"
#include "documents/document_table.h"
#include "documents/text_commands.h"
#include "platform/platform.h"

namespace {

// Checks the new name and, when it is usable, renames and saves. False keeps the dialog open.
bool RenameTo(App& app, std::string name, QLineEdit* box) {
  auto refuse = [&](const std::string& text) {
    app.platform.Message(text, MsgIcon::Information);
    box->setFocus();
    return false;
  };
  if (core::Trim(name).empty()) return refuse("Please enter a name within the New name input field.");
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
    return refuse("Program name: " + name +
                  "\rA program name cannot contain \"/\" or \"\\\". Please enter a different file name.");
  if (name.find(".web") == std::string::npos) name += ".web";
  std::string target = core::JoinPath(QDir::currentPath().toStdString(), name);
  // Renaming over another file would destroy it.
  if (QFileInfo::exists(ToQ(target)))
    return refuse("Program name: " + name + "\rThis file already exists. Please enter a different file name.");

  // A failed rename is not fatal: Save below writes the text under the new name anyway.
  std::string oldPath = app.currentPath;
  bool moved = !oldPath.empty() && core::FileExists(oldPath) && QFile::rename(ToQ(oldPath), ToQ(target));
  app.currentPath = target;
  if (!SaveActiveDocument(app)) {
    // Save has told the user; the file goes back under its old name.
    if (moved) QFile::rename(ToQ(target), ToQ(oldPath));
    app.currentPath = oldPath;
    return true;
  }
  if (app.activeSlot >= 1 && app.activeSlot <= kMaxDocuments) {
    Document& doc = app.docs[app.activeSlot];
    doc.tabName = name;
    if (QTabWidget* tabs = TabStrip(app); tabs && doc.page) tabs->setTabText(tabs->indexOf(doc.page), ToQ(name));
  }
  if (QMainWindow* window = ShellWindow(app)) window->setWindowTitle(ToQ("Verosta editor - " + name));
  return true;
}

}  // namespace

void RenameProgramCommand(App& app) {
  FindActiveDocument(app);
  if (!app.activeEditor) return;
  FeedbackIfOn(app);
  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Rename Program");
  auto* grid = new QGridLayout(&dialog);
  auto* oldBox = IdEdit(&dialog, 100);
  oldBox->setText(ToQ(core::FileNameOf(app.currentPath)));
  auto* newBox = IdEdit(&dialog, 110);
  auto* ok = IdButton(&dialog, 1, "Ok");
  ok->setDefault(true);
  auto* cancel = IdButton(&dialog, 2, "Cancel");
  auto* help = IdButton(&dialog, 120, "Help");
  grid->addWidget(IdLabel(&dialog, 99, "Enter a name within the New name input field."), 0, 0, 1, 3);
  grid->addWidget(IdLabel(&dialog, 10, "Program name:"), 1, 0);
  grid->addWidget(oldBox, 1, 1);
  grid->addWidget(ok, 1, 2);
  grid->addWidget(IdLabel(&dialog, 10, "New name:"), 2, 0);
  grid->addWidget(newBox, 2, 1);
  grid->addWidget(cancel, 2, 2);
  grid->addWidget(help, 3, 2);
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&app, &dialog, newBox] {
    if (RenameTo(app, FromQ(newBox->text()), newBox)) dialog.accept();
  });
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(help, &QPushButton::clicked, &dialog, [&app] { app.platform.ShowHelp("help/contents.chm", 68); });
  newBox->setFocus();  // the old name is shown for reference; the user types the new one
  app.platform.RunDialog(dialog);
}
