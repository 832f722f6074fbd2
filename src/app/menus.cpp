#include "app/menus.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "app/commands.h"

namespace {

const MenuRow kLayout[] = {
    {MenuRow::Menu, 0, Cmd::None, "&File"},
    {MenuRow::Item, 1, Cmd::NewProgram},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Open},
    {MenuRow::Submenu, 1, Cmd::None, "Insert File..."},
    {MenuRow::Item, 2, Cmd::InsertProgramFile},
    {MenuRow::Item, 2, Cmd::InsertLibraryFile},
    {MenuRow::Item, 2, Cmd::InsertDocumentFile},
    // Filled from Recent.ini at run time; unused entries stay hidden.
    {MenuRow::Submenu, 1, Cmd::None, "Recent Files"},
    {MenuRow::Item, 2, Cmd::RecentFile1},
    {MenuRow::Item, 2, Cmd::RecentFile2},
    {MenuRow::Item, 2, Cmd::RecentFile3},
    {MenuRow::Item, 2, Cmd::RecentFile4},
    {MenuRow::Item, 2, Cmd::RecentFile5},
    {MenuRow::Item, 2, Cmd::RecentFile6},
    {MenuRow::Item, 2, Cmd::RecentFile7},
    {MenuRow::Item, 2, Cmd::RecentFile8},
    {MenuRow::Item, 2, Cmd::RecentFile9},
    {MenuRow::Item, 2, Cmd::RecentFile10},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Close},
    {MenuRow::Item, 1, Cmd::CloseAll},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Save},
    {MenuRow::Item, 1, Cmd::SaveAs},
    {MenuRow::Item, 1, Cmd::SaveAll},
    {MenuRow::Submenu, 1, Cmd::None, "Save  Selected"},
    {MenuRow::Item, 2, Cmd::SaveSelectedProgram},
    {MenuRow::Item, 2, Cmd::SaveSelectedLibrary},
    {MenuRow::Item, 2, Cmd::SaveSelectedDocument},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Print},
    {MenuRow::Item, 1, Cmd::PrintAll},
    {MenuRow::Item, 1, Cmd::PrintSelected},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::LoadSession},
    {MenuRow::Item, 1, Cmd::SaveSession},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::RenameProgram},
    {MenuRow::Item, 1, Cmd::DeleteFile},
    {MenuRow::Item, 1, Cmd::RestoreBackup},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Exit},
    {MenuRow::Menu, 0, Cmd::None, "Pro&jects"},
    {MenuRow::Item, 1, Cmd::NewProject},
    {MenuRow::Item, 1, Cmd::SiteFolder},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::AddActiveFileToFolder},
    {MenuRow::Item, 1, Cmd::AddAllOpenFilesToFolder},
    {MenuRow::Item, 1, Cmd::CopyFileToFolder},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::ViewFolderContents},
    {MenuRow::Item, 1, Cmd::PublishSite},
    {MenuRow::Menu, 0, Cmd::None, "&Edit"},
    {MenuRow::Item, 1, Cmd::Undo},
    {MenuRow::Item, 1, Cmd::Redo},
    {MenuRow::Item, 1, Cmd::ClearUndo},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Cut},
    {MenuRow::Item, 1, Cmd::Copy},
    {MenuRow::Item, 1, Cmd::Paste},
    {MenuRow::Submenu, 1, Cmd::None, "Paste Special"},
    {MenuRow::Item, 2, Cmd::PasteCurrentDirectory},
    {MenuRow::Item, 2, Cmd::PasteActiveFileName},
    {MenuRow::Separator, 1},
    {MenuRow::Submenu, 1, Cmd::None, "Convert Selected"},
    {MenuRow::Item, 2, Cmd::CommentLines},
    {MenuRow::Item, 2, Cmd::UncommentLines},
    {MenuRow::Separator, 2},
    {MenuRow::Item, 2, Cmd::OrderedList},
    {MenuRow::Item, 2, Cmd::UnorderedList},
    {MenuRow::Separator, 2},
    {MenuRow::Item, 2, Cmd::Uppercase},
    {MenuRow::Item, 2, Cmd::Lowercase},
    {MenuRow::Item, 2, Cmd::CapitalizeWords},
    {MenuRow::Item, 1, Cmd::SelectAll},
    {MenuRow::Item, 1, Cmd::DeleteSelected},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::IncreaseIndent},
    {MenuRow::Item, 1, Cmd::DecreaseIndent},
    {MenuRow::Separator, 1},
    {MenuRow::Submenu, 1, Cmd::None, "Editor Commands"},
    {MenuRow::Item, 2, Cmd::GoToTopOfScreen},
    {MenuRow::Item, 2, Cmd::GoToBottomOfScreen},
    {MenuRow::Separator, 1},
    {MenuRow::Submenu, 1, Cmd::None, "Line Operations"},
    {MenuRow::Item, 2, Cmd::StartOfLine},
    {MenuRow::Item, 2, Cmd::EndOfLine},
    {MenuRow::Separator, 2},
    {MenuRow::Item, 2, Cmd::DuplicateLine},
    {MenuRow::Item, 2, Cmd::RemoveLine},
    {MenuRow::Separator, 2},
    {MenuRow::Item, 2, Cmd::HighlightLine},
    {MenuRow::Menu, 0, Cmd::None, "&Search"},
    {MenuRow::Item, 1, Cmd::Find},
    {MenuRow::Item, 1, Cmd::FindNext},
    {MenuRow::Item, 1, Cmd::FindReplace},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::SearchGoogle},
    {MenuRow::Item, 1, Cmd::SearchSelected},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::NextOccurrence},
    {MenuRow::Item, 1, Cmd::GoToLine},
    {MenuRow::Menu, 0, Cmd::None, "&View"},
    {MenuRow::Item, 1, Cmd::EditorsFont},
    {MenuRow::Submenu, 1, Cmd::None, "Font Size"},
    {MenuRow::Item, 2, Cmd::IncreaseFontSize},
    {MenuRow::Item, 2, Cmd::DecreaseFontSize},
    {MenuRow::Item, 1, Cmd::ResetFont},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::Preferences},
    {MenuRow::Item, 1, Cmd::SystemColors},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::LineNumbers},
    {MenuRow::Item, 1, Cmd::WrapText},
    {MenuRow::Item, 1, Cmd::EndOfLineMarks},
    {MenuRow::Item, 1, Cmd::ShowWhiteSpace},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::LivePreview},
    {MenuRow::Item, 1, Cmd::FollowActiveDocument},
    {MenuRow::Item, 1, Cmd::PreviewWhileTyping},
    {MenuRow::Item, 1, Cmd::PreviewOnOtherDevices},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::FileAssociations},
    {MenuRow::Item, 1, Cmd::ProgramInfo},
    {MenuRow::Menu, 0, Cmd::None, "&Include"},
    {MenuRow::Item, 1, Cmd::InsertComment},
    {MenuRow::Item, 1, Cmd::InsertStyleSheet},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::InsertHeader},
    {MenuRow::Item, 1, Cmd::InsertTextFile},
    {MenuRow::Item, 1, Cmd::InsertForm},
    {MenuRow::Item, 1, Cmd::InsertTables},
    {MenuRow::Item, 1, Cmd::InsertList},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::InsertImage},
    {MenuRow::Item, 1, Cmd::InsertImageGallery},
    {MenuRow::Item, 1, Cmd::InsertRolloverImage},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::InsertVideo},
    {MenuRow::Item, 1, Cmd::InsertSound},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::InsertHypertextLink},
    {MenuRow::Item, 1, Cmd::InsertImageLink},
    {MenuRow::Item, 1, Cmd::InsertEmailLink},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::InsertSpecialCharacters},
    {MenuRow::Menu, 0, Cmd::None, "Fo&rmat"},
    {MenuRow::Item, 1, Cmd::BouncingText},
    {MenuRow::Item, 1, Cmd::ExpandingText},
    {MenuRow::Item, 1, Cmd::FlyinText},
    {MenuRow::Item, 1, Cmd::GradientText},
    {MenuRow::Item, 1, Cmd::HighlightText},
    {MenuRow::Item, 1, Cmd::HorizontalRule},
    {MenuRow::Item, 1, Cmd::LineBreak},
    {MenuRow::Item, 1, Cmd::MirrorText},
    {MenuRow::Item, 1, Cmd::MixText},
    {MenuRow::Item, 1, Cmd::OpenText},
    {MenuRow::Item, 1, Cmd::PositionText},
    {MenuRow::Item, 1, Cmd::RainbowText},
    {MenuRow::Item, 1, Cmd::ReverseText},
    {MenuRow::Item, 1, Cmd::ScrollingText},
    {MenuRow::Item, 1, Cmd::SetTextStyle},
    {MenuRow::Item, 1, Cmd::ShadowBoxStyle},
    {MenuRow::Item, 1, Cmd::ShadowBoxText},
    {MenuRow::Item, 1, Cmd::ShadowText},
    {MenuRow::Item, 1, Cmd::ShakingText},
    {MenuRow::Item, 1, Cmd::WriteText},
    {MenuRow::Menu, 0, Cmd::None, "&Html"},
    {MenuRow::Item, 1, Cmd::HtmlAnchor},
    {MenuRow::Submenu, 1, Cmd::None, "Audio"},
    {MenuRow::Item, 2, Cmd::HtmlAudio},
    {MenuRow::Item, 2, Cmd::HtmlAudioAutoplay},
    {MenuRow::Item, 2, Cmd::HtmlAudioControls},
    {MenuRow::Item, 2, Cmd::HtmlAudioLoop},
    {MenuRow::Item, 1, Cmd::HtmlButton},
    {MenuRow::Item, 1, Cmd::HtmlComment},
    {MenuRow::Submenu, 1, Cmd::None, "Doctype"},
    {MenuRow::Item, 2, Cmd::HtmlDoctype5},
    {MenuRow::Item, 2, Cmd::HtmlDoctype401Transitional},
    {MenuRow::Item, 2, Cmd::HtmlDoctype401Strict},
    {MenuRow::Item, 2, Cmd::HtmlDoctype401Frameset},
    {MenuRow::Item, 2, Cmd::HtmlDoctypeXhtmlTransitional},
    {MenuRow::Item, 2, Cmd::HtmlDoctypeXhtmlStrict},
    {MenuRow::Item, 2, Cmd::HtmlDoctypeXhtmlFrameset},
    {MenuRow::Submenu, 1, Cmd::None, "Document"},
    {MenuRow::Item, 2, Cmd::HtmlBase},
    {MenuRow::Item, 2, Cmd::HtmlBody},
    {MenuRow::Item, 2, Cmd::HtmlHead},
    {MenuRow::Item, 2, Cmd::HtmlMeta},
    {MenuRow::Item, 2, Cmd::HtmlRoot},
    {MenuRow::Item, 2, Cmd::HtmlTitle},
    {MenuRow::Item, 1, Cmd::HtmlDiv},
    {MenuRow::Item, 1, Cmd::HtmlEmbed},
    {MenuRow::Submenu, 1, Cmd::None, "Form"},
    {MenuRow::Item, 2, Cmd::HtmlFormAction},
    {MenuRow::Item, 2, Cmd::HtmlForm},
    {MenuRow::Item, 2, Cmd::HtmlInput},
    {MenuRow::Item, 2, Cmd::HtmlFormMethod},
    {MenuRow::Item, 2, Cmd::HtmlFormName},
    {MenuRow::Item, 2, Cmd::HtmlFormTarget},
    {MenuRow::Item, 2, Cmd::HtmlTextarea},
    {MenuRow::Submenu, 1, Cmd::None, "Heading"},
    {MenuRow::Item, 2, Cmd::HtmlH1},
    {MenuRow::Item, 2, Cmd::HtmlH2},
    {MenuRow::Item, 2, Cmd::HtmlH3},
    {MenuRow::Item, 2, Cmd::HtmlH4},
    {MenuRow::Item, 2, Cmd::HtmlH5},
    {MenuRow::Item, 2, Cmd::HtmlH6},
    {MenuRow::Submenu, 1, Cmd::None, "HTML5"},
    {MenuRow::Item, 2, Cmd::HtmlArticle},
    {MenuRow::Item, 2, Cmd::HtmlAside},
    {MenuRow::Item, 2, Cmd::HtmlCanvas},
    {MenuRow::Item, 2, Cmd::HtmlDatalist},
    {MenuRow::Item, 2, Cmd::HtmlFigure},
    {MenuRow::Item, 2, Cmd::HtmlFooter},
    {MenuRow::Item, 2, Cmd::HtmlHeader},
    {MenuRow::Item, 2, Cmd::HtmlHgroup},
    {MenuRow::Item, 2, Cmd::HtmlMark},
    {MenuRow::Item, 2, Cmd::HtmlNav},
    {MenuRow::Item, 2, Cmd::HtmlSection},
    {MenuRow::Item, 2, Cmd::HtmlVideo},
    {MenuRow::Submenu, 1, Cmd::None, "Image"},
    {MenuRow::Item, 2, Cmd::HtmlImageAlign},
    {MenuRow::Item, 2, Cmd::HtmlImageAlt},
    {MenuRow::Item, 2, Cmd::HtmlImageBorder},
    {MenuRow::Item, 2, Cmd::HtmlImageHeight},
    {MenuRow::Item, 2, Cmd::HtmlImg},
    {MenuRow::Item, 2, Cmd::HtmlImageWidth},
    {MenuRow::Item, 1, Cmd::HtmlLineBreak},
    {MenuRow::Item, 1, Cmd::HtmlParagraph},
    {MenuRow::Submenu, 1, Cmd::None, "Script"},
    {MenuRow::Item, 2, Cmd::HtmlNoscript},
    {MenuRow::Item, 2, Cmd::HtmlScript},
    {MenuRow::Item, 2, Cmd::HtmlScriptSrc},
    {MenuRow::Item, 2, Cmd::HtmlScriptType},
    {MenuRow::Item, 1, Cmd::HtmlSpace},
    {MenuRow::Item, 1, Cmd::HtmlSpan},
    {MenuRow::Submenu, 1, Cmd::None, "Table"},
    {MenuRow::Item, 2, Cmd::HtmlTableAlign},
    {MenuRow::Item, 2, Cmd::HtmlTableBgcolor},
    {MenuRow::Item, 2, Cmd::HtmlTableBorder},
    {MenuRow::Item, 2, Cmd::HtmlTableCellpadding},
    {MenuRow::Item, 2, Cmd::HtmlTableCellspacing},
    {MenuRow::Item, 2, Cmd::HtmlTable},
    {MenuRow::Item, 2, Cmd::HtmlTd},
    {MenuRow::Item, 2, Cmd::HtmlTh},
    {MenuRow::Item, 2, Cmd::HtmlTr},
    {MenuRow::Item, 2, Cmd::HtmlTableWidth},
    {MenuRow::Menu, 0, Cmd::None, "&Style"},
    {MenuRow::Submenu, 1, Cmd::None, "Background"},
    {MenuRow::Item, 2, Cmd::StyleBackgroundColor},
    {MenuRow::Item, 2, Cmd::StyleBackgroundImage},
    {MenuRow::Item, 1, Cmd::StyleColor},
    {MenuRow::Submenu, 1, Cmd::None, "Font"},
    {MenuRow::Item, 2, Cmd::StyleFontFamily},
    {MenuRow::Item, 2, Cmd::StyleFontSize},
    {MenuRow::Item, 2, Cmd::StyleFontStyle},
    {MenuRow::Item, 2, Cmd::StyleFontWeight},
    {MenuRow::Submenu, 1, Cmd::None, "Image"},
    {MenuRow::Item, 2, Cmd::StyleImageBorder},
    {MenuRow::Item, 2, Cmd::StyleImageFloat},
    {MenuRow::Item, 2, Cmd::StyleImageHeight},
    {MenuRow::Item, 2, Cmd::StyleImageWidth},
    {MenuRow::Item, 1, Cmd::StyleLetterSpacing},
    {MenuRow::Item, 1, Cmd::StyleLineHeight},
    {MenuRow::Item, 1, Cmd::StyleListStyle},
    {MenuRow::Submenu, 1, Cmd::None, "Margin"},
    {MenuRow::Item, 2, Cmd::StyleMarginBottom},
    {MenuRow::Item, 2, Cmd::StyleMarginLeft},
    {MenuRow::Item, 2, Cmd::StyleMarginRight},
    {MenuRow::Item, 2, Cmd::StyleMarginTop},
    {MenuRow::Item, 1, Cmd::StylePadding},
    {MenuRow::Submenu, 1, Cmd::None, "Text"},
    {MenuRow::Item, 2, Cmd::StyleTextAlign},
    {MenuRow::Item, 2, Cmd::StyleTextDecoration},
    {MenuRow::Item, 2, Cmd::StyleTextIndent},
    {MenuRow::Item, 2, Cmd::StyleTextTransform},
    {MenuRow::Item, 1, Cmd::StyleVerticalAlign},
    {MenuRow::Item, 1, Cmd::StyleWordSpacing},
    {MenuRow::Menu, 0, Cmd::None, "R&un"},
    {MenuRow::Item, 1, Cmd::CreateWebPage},
    {MenuRow::Item, 1, Cmd::BuildSite},
    {MenuRow::Item, 1, Cmd::BuildOnSave},
    {MenuRow::Menu, 0, Cmd::None, "&Tools"},
    {MenuRow::Item, 1, Cmd::ValidateWebPage},
    {MenuRow::Item, 1, Cmd::ValidateCss},
    {MenuRow::Item, 1, Cmd::Publish},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::ActiveText},
    {MenuRow::Item, 1, Cmd::LocatePrograms},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::CommandPrompt},
    {MenuRow::Item, 1, Cmd::FileExplorer},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::LibraryManager},
    {MenuRow::Menu, 0, Cmd::None, "Hel&p"},
    {MenuRow::Item, 1, Cmd::HelpContents},
    {MenuRow::Item, 1, Cmd::WhatsNew},
    {MenuRow::Item, 1, Cmd::VisitWebSite},
    {MenuRow::Separator, 1},
    {MenuRow::Item, 1, Cmd::TechSupportEmail},
    {MenuRow::Submenu, 1, Cmd::None, "Web Development"},
    {MenuRow::Item, 2, Cmd::HtmlTutorial},
    {MenuRow::Item, 2, Cmd::XhtmlTutorial},
    {MenuRow::Item, 2, Cmd::CssTutorial},
    {MenuRow::Item, 2, Cmd::JavaScriptTutorial},
    {MenuRow::Item, 2, Cmd::PhpTutorial},
    {MenuRow::Item, 2, Cmd::SqlTutorial},
    {MenuRow::Separator, 1},
    {MenuRow::Submenu, 1, Cmd::None, "About"},
    {MenuRow::Item, 2, Cmd::About},
    {MenuRow::Item, 2, Cmd::ReleaseNotes},
};

}  // namespace

std::span<const MenuRow> MenuLayout() { return kLayout; }

void BuildMenuBar(QMenuBar* bar, QObject* receiver, void (*onCommand)(QObject*, int)) {
  std::vector<QMenu*> stack;  // stack[d] is the menu that takes rows of depth d+1
  for (const MenuRow& row : kLayout) {
    if (row.kind == MenuRow::Menu) {
      stack.assign(1, bar->addMenu(QString::fromUtf8(row.title)));
      continue;
    }
    stack.resize(row.depth);
    QMenu* parent = stack.back();
    switch (row.kind) {
      case MenuRow::Separator: parent->addSeparator(); break;
      case MenuRow::Submenu: stack.push_back(parent->addMenu(QString::fromUtf8(row.title))); break;
      case MenuRow::Item: {
        const CommandRow* command = FindCommand(row.id);
        int number = Number(row.id);
        QAction* a = parent->addAction(QString::fromUtf8(command && command->text ? command->text : ""));
        a->setData(number);
        a->setObjectName(QString::number(number));
        QObject::connect(a, &QAction::triggered, receiver,
                         [receiver, onCommand, number] { onCommand(receiver, number); });
        break;
      }
      default: break;
    }
  }
}

QAction* MenuItem(QWidget* window, Cmd id) {
  return window ? window->findChild<QAction*>(QString::number(Number(id))) : nullptr;
}

namespace {

// A key as the accelerator table compares it: the keypad's Enter is the Enter key.
QKeyCombination Normal(Qt::KeyboardModifiers mods, int key) {
  mods &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  if (key == Qt::Key_Enter) key = Qt::Key_Return;
  return QKeyCombination(mods, Qt::Key(key));
}

struct Binding {
  QKeyCombination keys;
  const CommandRow* row;
};

std::vector<Binding> ReadBindings() {
  std::vector<Binding> bindings;
  for (const CommandRow& row : Commands()) {
    if (row.key.id == Accel::None) continue;
    QKeySequence sequence = QKeySequence::fromString(QString::fromUtf8(row.key.keys), QKeySequence::PortableText);
    if (sequence.count() == 1) bindings.push_back({Normal(sequence[0].keyboardModifiers(), sequence[0].key()), &row});
  }
  return bindings;
}

const std::vector<Binding>& Bindings() {
  static const std::vector<Binding> bindings = ReadBindings();
  return bindings;
}

}  // namespace

QKeyCombination KeysOf(const CommandRow& row) {
  for (const Binding& b : Bindings())
    if (b.row == &row) return b.keys;
  return QKeyCombination();
}

const CommandRow* AcceleratorRowFor(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Backtab) return nullptr;  // Shift+Tab stays with the editor
  QKeyCombination pressed = Normal(event.modifiers(), event.key());
  for (const Binding& b : Bindings())
    if (b.keys == pressed) return b.row;
  return nullptr;
}

int AcceleratorFor(const QKeyEvent& event) {
  const CommandRow* row = AcceleratorRowFor(event);
  return row ? Number(row->key.id) : 0;
}
