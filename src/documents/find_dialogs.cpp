// The Find and Find/Replace dialogs. They stay open while the user searches; their
// option boxes write the shared settings at once.
#include <QGridLayout>

#include "app/application.h"
#include "app/shell.h"
#include "documents/dialog_parts.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/find_replace.h"
#include "documents/search.h"
#include "documents/text_commands.h"
#include "platform/platform.h"

namespace {

// The box starts with the selection as far as its first NUL byte.
std::string InitialFindText(App& app) {
  std::string selected = SelectedText(app.activeEditor);
  return selected.substr(0, selected.find('\0'));
}

void BindFlag(QCheckBox* box, int& flag) {
  QObject::connect(box, &QCheckBox::toggled, box, [&flag](bool on) { flag = on ? 1 : 0; });
}

void BindHelp(App& app, QPushButton* button, int topic) {
  QObject::connect(button, &QPushButton::clicked, button,
                   [&app, topic] { app.platform.ShowHelp("help/contents.chm", topic); });
}

void ShowFindDialog(App& app) {
  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Find");
  auto* grid = new QGridLayout(&dialog);
  auto* text = IdEdit(&dialog, 100);
  text->setText(ToQ(InitialFindText(app)));
  auto* findNext = IdButton(&dialog, 1, "Find next");
  findNext->setDefault(true);
  auto* cancel = IdButton(&dialog, 2, "Cancel");
  Settings& s = app.settings;
  auto* caseBox = IdCheck(&dialog, 120, " Case sensitive", s.findCase);
  auto* wrapBox = IdCheck(&dialog, 122, " Word wrap", s.findWordWrap);
  auto* highlightBox = IdCheck(&dialog, 121, " Highlight search", s.findHighlight);
  auto* help = IdButton(&dialog, 99, "Help");
  grid->addWidget(IdLabel(&dialog, 11, "Find text:"), 0, 0);
  grid->addWidget(text, 0, 1, 1, 2);
  grid->addWidget(findNext, 0, 3);
  grid->addWidget(cancel, 1, 3);
  grid->addWidget(caseBox, 1, 0);
  grid->addWidget(wrapBox, 1, 1);
  grid->addWidget(highlightBox, 1, 2);
  grid->addWidget(help, 2, 3);
  grid->addWidget(IdLabel(&dialog, 110, "Enter your search within the Find text input field."), 2, 0, 1, 3);

  BindFlag(caseBox, s.findCase);
  BindFlag(wrapBox, s.findWordWrap);
  BindFlag(highlightBox, s.findHighlight);
  BindHelp(app, help, 72);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(findNext, &QPushButton::clicked, &dialog, [&app, &dialog, text] {
    app.search->findText = FromQ(text->text());
    if (FindNextFromCaret(app, app.search->findText) == FindOutcome::Shown && app.settings.findHighlight != 1)
      dialog.accept();
  });
  app.platform.RunDialog(dialog);
}

void ShowFindReplaceDialog(App& app) {
  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Find/Replace");
  auto* grid = new QGridLayout(&dialog);
  auto* findBox = IdEdit(&dialog, 100);
  findBox->setText(ToQ(InitialFindText(app)));
  auto* newBox = IdEdit(&dialog, 102);
  auto* findNext = IdButton(&dialog, 1, "Find next");
  findNext->setDefault(true);
  auto* replace = IdButton(&dialog, 90, "Replace");
  auto* replaceAll = IdButton(&dialog, 95, "Replace All");
  auto* cancel = IdButton(&dialog, 2, "Cancel");
  auto* help = IdButton(&dialog, 115, "Help");
  Settings& s = app.settings;
  auto* caseBox = IdCheck(&dialog, 120, " Case sensitive", s.findCase);
  auto* wrapBox = IdCheck(&dialog, 123, " Word wrap", s.findWordWrap);
  auto* highlightBox = IdCheck(&dialog, 122, " Highlight search", s.findHighlight);
  grid->addWidget(IdLabel(&dialog, 10, "Find text:"), 0, 0);
  grid->addWidget(findBox, 0, 1, 1, 2);
  grid->addWidget(findNext, 0, 3);
  grid->addWidget(IdLabel(&dialog, 101, "New text:"), 1, 0);
  grid->addWidget(newBox, 1, 1, 1, 2);
  grid->addWidget(replace, 1, 3);
  grid->addWidget(replaceAll, 2, 3);
  grid->addWidget(cancel, 3, 3);
  grid->addWidget(help, 4, 3);
  grid->addWidget(caseBox, 2, 0);
  grid->addWidget(wrapBox, 2, 1);
  grid->addWidget(highlightBox, 2, 2);
  grid->addWidget(IdLabel(&dialog, 116, "Enter your search within the Find text input field."), 3, 0, 1, 3);

  BindFlag(caseBox, s.findCase);
  BindFlag(wrapBox, s.findWordWrap);
  BindFlag(highlightBox, s.findHighlight);
  BindHelp(app, help, 23);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(findNext, &QPushButton::clicked, &dialog, [&app, &dialog, findBox] {
    if (FindNextFromCaret(app, FromQ(findBox->text())) == FindOutcome::Shown && app.settings.findHighlight != 1)
      dialog.accept();
  });
  QObject::connect(replace, &QPushButton::clicked, &dialog, [&app, findBox, newBox] {
    ReplaceAndFindNext(app, FromQ(findBox->text()), FromQ(newBox->text()));
  });
  QObject::connect(replaceAll, &QPushButton::clicked, &dialog, [&app, findBox, newBox] {
    ReplaceAllInDocument(app, FromQ(findBox->text()), FromQ(newBox->text()));
  });
  app.platform.RunDialog(dialog);
}

}  // namespace

void FindCommand(App& app) {
  FindActiveDocument(app);
  if (!app.activeEditor) return;
  FeedbackIfOn(app);
  ShowFindDialog(app);
}

void FindReplaceCommand(App& app) {
  FindActiveDocument(app);
  if (!app.activeEditor) return;
  FeedbackIfOn(app);
  ShowFindReplaceDialog(app);
}
