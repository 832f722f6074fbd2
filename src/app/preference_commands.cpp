// This subsystem's rows of the command registry, the Editor's Font command and the About box.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
#include "app/commands.h"
#include "app/shell.h"
#include "documents/editor.h"
#include "platform/platform.h"
#include "app/preferences_dialog.h"

const char* const kProductWebSite = "https://verosta.example/";

void EditorsFontCommand(App& app) {
  Settings& s = app.settings;
  FeedbackIfOn(app);
  // The dialog always opens on the program's standard font, whatever is in use.
  FontChoice font{.name = "Courier New", .pointSize = 9};
  if (!app.platform.PickFont(font) || font.name.empty()) return;  // the font stays as it was
  s.fontName = font.name;
  s.fontSize = font.pointSize;
  Send(app, QsciScintillaBase::SCI_STYLESETFONT, 0, reinterpret_cast<intptr_t>(s.fontName.c_str()));
  Send(app, QsciScintillaBase::SCI_STYLESETSIZE, 0, s.fontSize);
  SaveSettings(app);
}

void AboutCommand(App& app) {
  QDialog box(app.platform.Owner());
  box.setWindowTitle("About");
  box.setFixedSize(366, 209);
  auto* name = new QLabel("Verosta editor", &box);
  name->setObjectName("110");
  QFont font("Verdana", 18, QFont::Bold);
  name->setFont(font);
  name->setStyleSheet("color: #1f3f8f");
  name->setAlignment(Qt::AlignCenter);
  name->setGeometry(20, 40, 326, 60);
  // An empty label holds the focus so that no button starts pre-selected.
  auto* focus = new QLabel(&box);
  focus->setObjectName("111");
  focus->setGeometry(0, 0, 1, 1);
  auto button = [&box](int id, const char* text, int x) {
    auto* b = new QPushButton(text, &box);
    b->setObjectName(QString::number(id));
    b->setGeometry(x, 160, 75, 23);
    b->setAutoDefault(false);
    return b;
  };
  QObject::connect(button(112, "Help", 15), &QPushButton::clicked,
                   [&app] { app.platform.ShowHelp("help/contents.chm", 0); });
  QObject::connect(button(113, "Website", 195), &QPushButton::clicked,
                   [&app] { app.platform.ShellOpen(kProductWebSite); });
  QObject::connect(button(1, "Ok", 276), &QPushButton::clicked, &box, &QDialog::accept);
  focus->setFocus();
  app.platform.RunDialog(box);
}

namespace {

const CommandRow kRows[] = {
    {Cmd::Preferences,
     "Pref&erences...\tAlt+F4",
     PreferencesCommand,
     Then::Focus,
     {Accel::Preferences, "Alt+F4"},
     {ButtonId::Preferences, "200.svg", "Editor's Preferences"}},
    {Cmd::EditorsFont,
     "Editor's Fo&nt...          \tAlt+N",
     EditorsFontCommand,
     Then::Stay,
     {Accel::EditorsFont, "Alt+N"},
     {ButtonId::EditorsFont, "210.svg", "Editor's Font (Alt+N)"}},
    {Cmd::About, "About...", AboutCommand, Then::Focus, {}, {ButtonId::About, "290.svg", "About Verosta editor"}},
};

}  // namespace

std::span<const CommandRow> PreferenceCommands() { return kRows; }
