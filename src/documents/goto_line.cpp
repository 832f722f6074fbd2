// The Go to Line dialog.
#include <QGridLayout>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/text.h"
#include "documents/dialog_parts.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/text_commands.h"
#include "platform/platform.h"

namespace {
using Sci = QsciScintillaBase;
}

void GoToLineCommand(App& app) {
  FindActiveDocument(app);
  if (!app.activeEditor) return;
  FeedbackIfOn(app);
  intptr_t count = Send(app, Sci::SCI_GETLINECOUNT);
  intptr_t current =
      Send(app, Sci::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(Send(app, Sci::SCI_GETCURRENTPOS))) + 1;

  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Go to Line");
  auto* grid = new QGridLayout(&dialog);
  auto* box = IdEdit(&dialog, 100);
  auto* ok = IdButton(&dialog, 1, "Ok");
  ok->setDefault(true);
  auto* cancel = IdButton(&dialog, 2, "Cancel");
  auto* help = IdButton(&dialog, 200, "Help");
  grid->addWidget(IdLabel(&dialog, 10, "Go to line:"), 0, 0);
  grid->addWidget(box, 0, 1);
  grid->addWidget(ok, 0, 2);
  grid->addWidget(cancel, 1, 2);
  grid->addWidget(help, 2, 2);
  grid->addWidget(WithId(new QLabel(ToQ(core::NumberLine("Current line: ", current)), &dialog), 110), 1, 0, 1, 2);
  grid->addWidget(WithId(new QLabel(ToQ(core::NumberLine("Number of lines: ", count)), &dialog), 120), 2, 0, 1, 2);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(help, &QPushButton::clicked, &dialog, [&app] { app.platform.ShowHelp("help/contents.chm", 60); });
  if (!app.platform.RunDialog(dialog)) return;

  // Letters give 0 and huge numbers are capped by the parser; both end up on a real line.
  long long wanted = core::ParseNumber(FromQ(box->text()));
  if (wanted < 1) wanted = 1;
  if (wanted > count) wanted = count;
  Send(app, Sci::SCI_GOTOLINE, static_cast<uintptr_t>(wanted - 1));
}
