// The Find and Find/Replace dialogs. They stay open while the user searches; their
// option boxes write the shared settings at once.
#include <QGridLayout>

#include "documents/application.h"
#include "documents/shell_events.h"
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

// The ids of the controls both dialogs have, which differ between the two.
struct SharedIds {
  int label, hint, wrap, highlight, help, helpTopic;
};

// The find text, Find next, Cancel, Help and the three option boxes, wired up.
struct SharedControls {
  QLineEdit* findBox;
  QPushButton *findNext, *cancel, *help;
  QCheckBox *caseBox, *wrapBox, *highlightBox;
  QLabel *label, *hint;
};

// Tab moves through the controls in the order given.
void ChainFocus(std::initializer_list<QWidget*> widgets) {
  for (auto it = widgets.begin(); it + 1 != widgets.end(); ++it) QWidget::setTabOrder(*it, *(it + 1));
}

SharedControls MakeSharedControls(App& app, QDialog& dialog, const SharedIds& ids) {
  Settings& s = app.settings;
  SharedControls c{IdEdit(&dialog, 100),
                   IdButton(&dialog, 1, "Find next"),
                   IdButton(&dialog, 2, "Cancel"),
                   IdButton(&dialog, ids.help, "Help"),
                   IdCheck(&dialog, 120, " Case sensitive", s.findCase),
                   IdCheck(&dialog, ids.wrap, " Word wrap", s.findWordWrap),
                   IdCheck(&dialog, ids.highlight, " Highlight search", s.findHighlight),
                   IdLabel(&dialog, ids.label, "Find text:"),
                   IdLabel(&dialog, ids.hint, "Enter your search within the Find text input field.")};
  c.findBox->setText(ToQ(InitialFindText(app)));
  c.findNext->setDefault(true);
  BindFlag(c.caseBox, s.findCase);
  BindFlag(c.wrapBox, s.findWordWrap);
  BindFlag(c.highlightBox, s.findHighlight);
  QObject::connect(c.help, &QPushButton::clicked, c.help,
                   [&app, topic = ids.helpTopic] { app.platform.ShowHelp("help/contents.chm", topic); });
  QObject::connect(c.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return c;
}

void ShowFindDialog(App& app) {
  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Find");
  auto* grid = new QGridLayout(&dialog);
  SharedControls c = MakeSharedControls(app, dialog, {11, 110, 122, 121, 99, 72});
  grid->addWidget(c.label, 0, 0);
  grid->addWidget(c.findBox, 0, 1, 1, 2);
  grid->addWidget(c.findNext, 0, 3);
  grid->addWidget(c.cancel, 1, 3);
  grid->addWidget(c.caseBox, 1, 0);
  grid->addWidget(c.wrapBox, 1, 1);
  grid->addWidget(c.highlightBox, 1, 2);
  grid->addWidget(c.help, 2, 3);
  grid->addWidget(c.hint, 2, 0, 1, 3);
  ChainFocus({c.findBox, c.findNext, c.cancel, c.caseBox, c.wrapBox, c.highlightBox, c.help});
  QObject::connect(c.findNext, &QPushButton::clicked, &dialog, [&app, &dialog, text = c.findBox] {
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
  SharedControls c = MakeSharedControls(app, dialog, {10, 116, 123, 122, 115, 23});
  auto* newBox = IdEdit(&dialog, 102);
  auto* replace = IdButton(&dialog, 90, "Replace");
  auto* replaceAll = IdButton(&dialog, 95, "Replace All");
  grid->addWidget(c.label, 0, 0);
  grid->addWidget(c.findBox, 0, 1, 1, 2);
  grid->addWidget(c.findNext, 0, 3);
  grid->addWidget(IdLabel(&dialog, 101, "New text:"), 1, 0);
  grid->addWidget(newBox, 1, 1, 1, 2);
  grid->addWidget(replace, 1, 3);
  grid->addWidget(replaceAll, 2, 3);
  grid->addWidget(c.cancel, 3, 3);
  grid->addWidget(c.help, 4, 3);
  grid->addWidget(c.caseBox, 2, 0);
  grid->addWidget(c.wrapBox, 2, 1);
  grid->addWidget(c.highlightBox, 2, 2);
  grid->addWidget(c.hint, 3, 0, 1, 3);
  ChainFocus(
      {c.findBox, newBox, c.findNext, replace, replaceAll, c.cancel, c.help, c.caseBox, c.wrapBox, c.highlightBox});
  QLineEdit* findBox = c.findBox;
  QObject::connect(c.findNext, &QPushButton::clicked, &dialog, [&app, &dialog, findBox] {
    if (FindNextFromCaret(app, FromQ(findBox->text())) == FindOutcome::Shown && app.settings.findHighlight != 1)
      dialog.accept();
  });
  QObject::connect(replace, &QPushButton::clicked, &dialog,
                   [&app, findBox, newBox] { ReplaceAndFindNext(app, FromQ(findBox->text()), FromQ(newBox->text())); });
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
