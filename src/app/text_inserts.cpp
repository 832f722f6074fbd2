// The one-line inserts of the Format, Html and Style menus, and the editing keys that
// go straight to the editor.
#include <Qsci/qsciscintillabase.h>

#include <array>
#include <utility>

#include "app/application.h"
#include "app/commands.h"
#include "app/text_inserts.h"
#include "documents/editor.h"

namespace {

using Sci = QsciScintillaBase;
using C = TextInsert::Caret;

// Doctypes with a system identifier put it on a second line after a bare CR.
constexpr TextInsert kInserts[] = {
    {500, "BouncingText \"\"", C::LineEndLeft, 0},
    {501, "ExpandingText \"\"", C::LineEndLeft, 0},
    {502, "FlyinText \"\"", C::LineEndLeft, 0},
    {503, "GradientText \"\"", C::LineEndLeft, 0},
    {528, "HighlightText \"\"", C::LineEndLeft, 0},
    {529, "HorizontalRule ()", C::LineEndLeft, 0},
    {521, "LineBreak ()", C::LineEndLeft, 0},
    {506, "MirrorText \"\"", C::LineEndLeft, 0},
    {507, "MixText \"\"", C::LineEndLeft, 0},
    {509, "OpenText ()", C::LineEndLeft, 0},
    {511, "PositionText \"\"", C::LineEndLeft, 0},
    {512, "RainbowText \"\"", C::LineEndLeft, 0},
    {518, "ReverseText \"\"", C::LineEndLeft, 0},
    {513, "ScrollingText \"\"", C::LineEndLeft, 0},
    {514, "SetTextStyle ()", C::LineEndLeft, 0},
    {526, "ShadowBoxStyle \"\"", C::LineEndLeft, 0},
    {525, "ShadowBoxText \"\"", C::LineEndLeft, 0},
    {515, "ShadowText \"\"", C::LineEndLeft, 0},
    {516, "ShakingText \"\"", C::LineEndLeft, 0},
    {517, "WriteText \"\"", C::LineEndLeft, 0},
    {600, "<a name=\"\"></a>", C::Right, 9},
    {841, "<audio></audio>", C::Right, 7},
    {842, "autoplay", C::Stays, 0},
    {843, "controls", C::Stays, 0},
    {844, "loop", C::Stays, 0},
    {602, "<button type=\"\"></button>", C::Right, 14},
    {603, "<!--  -->", C::Right, 5},
    {650, "<!DOCTYPE HTML>", C::LineEnd, 0},
    {651, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">", C::LineEnd, 0},
    {652, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Strict//EN\">", C::LineEnd, 0},
    {653, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\"\r  \"http://www.w3.org/TR/html4/frameset.dtd\">",
     C::LineDownEnd, 0},
    {654,
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
     C::LineDownEnd, 0},
    {655,
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">",
     C::LineDownEnd, 0},
    {656,
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Frameset//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-frameset.dtd\">",
     C::LineDownEnd, 0},
    {845, "<base href=\"\"/>", C::Right, 12},
    {846, "<body></body>", C::Right, 6},
    {847, "<head></head>", C::Right, 6},
    {848, "<meta name=\"\" content=\"\"/>", C::Right, 12},
    {849, "<html></html>", C::Right, 6},
    {850, "<title></title>", C::Right, 7},
    {604, "<div style=\"\"></div>", C::Right, 12},
    {612, "<embed src=\"\">", C::Right, 12},
    {830, "action=\"\"", C::Right, 8},
    {831, "<form></form>", C::Right, 6},
    {832, "<input>", C::Stays, 0},
    {833, "method=\"\"", C::Right, 8},
    {834, "name=\"\"", C::Right, 6},
    {835, "target=\"\"", C::Right, 8},
    {836, "<textarea></textarea>", C::Right, 10},
    {606, "<h1></h1>", C::Right, 4},
    {607, "<h2></h2>", C::Right, 4},
    {608, "<h3></h3>", C::Right, 4},
    {609, "<h4></h4>", C::Right, 4},
    {610, "<h5></h5>", C::Right, 4},
    {611, "<h6></h6>", C::Right, 4},
    {670, "<article></article>", C::Right, 9},
    {671, "<aside></aside>", C::Right, 7},
    {672, "<canvas></canvas>", C::Right, 8},
    {673, "<datalist></datalist>", C::Right, 10},
    {674, "<figure></figure>", C::Right, 8},
    {675, "<footer></footer>", C::Right, 8},
    {676, "<header></header>", C::Right, 8},
    {677, "<hgroup></hgroup>", C::Right, 8},
    {678, "<mark></mark>", C::Right, 6},
    {679, "<nav></nav>", C::Right, 5},
    {680, "<section></section>", C::Right, 9},
    {681, "<video></video>", C::Right, 7},
    {820, "align=\"\"", C::Right, 7},
    {821, "alt=\"\"", C::Right, 5},
    {822, "border=\"\"", C::Right, 8},
    {823, "height=\"\"", C::Right, 8},
    {824, "img src=\"\"", C::Right, 9},
    {825, "width=\"\"", C::Right, 7},
    {614, "<br>", C::Stays, 0},
    {616, "<p></p>", C::Right, 3},
    {861, "<noscript></noscript>", C::Right, 10},
    {862, "<script></script>", C::Right, 8},
    {863, "src=\"\"", C::Right, 5},
    {864, "type=\"\"", C::Right, 6},
    {865, "&nbsp;", C::Stays, 0},
    {618, "<span></span>", C::Right, 6},
    {871, "align=\"\"", C::Right, 7},
    {872, "bgcolor=\"\"", C::Right, 9},
    {873, "border=\"\"", C::Right, 8},
    {874, "cellpadding=\"\"", C::Right, 13},
    {875, "cellspacing=\"\"", C::Right, 13},
    {876, "<table></table>", C::Right, 7},
    {877, "<td></td>", C::Right, 4},
    {878, "<th></th>", C::Right, 4},
    {879, "<tr></tr>", C::Right, 4},
    {880, "width=\"\"", C::Right, 7},
    {700, "background-color:", C::Right, 17},
    {701, "background-image:", C::Right, 17},
    {702, "color:", C::Right, 6},
    {703, "font-family:", C::Right, 12},
    {704, "font-size:", C::Right, 10},
    {705, "font-style:", C::Right, 11},
    {706, "font-weight:", C::Right, 12},
    {720, "border: 1px solid green;", C::Right, 24},
    {721, "float: left;", C::Right, 12},
    {724, "height:", C::Right, 7},
    {723, "width:", C::Right, 6},
    {707, "letter-spacing:", C::Right, 15},
    {708, "line-height:", C::Right, 12},
    {722, "list-style:", C::Right, 11},
    {709, "margin-bottom:", C::Right, 14},
    {710, "margin-left:", C::Right, 12},
    {711, "margin-right:", C::Right, 13},
    {712, "margin-top:", C::Right, 11},
    {713, "padding:", C::Right, 8},
    {714, "text-align:", C::Right, 11},
    {715, "text-decoration:", C::Right, 16},
    {716, "text-indent:", C::Right, 12},
    {717, "text-transform:", C::Right, 15},
    {718, "vertical-align:", C::Right, 15},
    {719, "word-spacing:", C::Right, 13},
};

template <size_t I>
void RunRow(App& app) {
  RunTextInsert(app, kInserts[I]);
}

template <size_t... I>
constexpr std::array<CommandRow, sizeof...(I)> MakeRows(std::index_sequence<I...>) {
  return {{{kInserts[I].number, &RunRow<I>, false}...}};
}

const auto kMenu = MakeRows(std::make_index_sequence<std::size(kInserts)>());

void Tab(App& app) { Send(app, Sci::SCI_TAB); }
void GoToTop(App& app) { Send(app, Sci::SCI_GOTOLINE, 0); }
void GoToBottom(App& app) { Send(app, Sci::SCI_GOTOLINE, 99000); }
void Undo(App& app) { Send(app, Sci::SCI_UNDO); }
void Redo(App& app) { Send(app, Sci::SCI_REDO); }
void Cut(App& app) { Send(app, Sci::SCI_CUT); }
void Copy(App& app) { Send(app, Sci::SCI_COPY); }
void Paste(App& app) { Send(app, Sci::SCI_PASTE); }
void Home(App& app) { Send(app, Sci::SCI_HOME); }
void LineEnd(App& app) { Send(app, Sci::SCI_LINEEND); }
void LineDelete(App& app) { Send(app, Sci::SCI_LINEDELETE); }
void SelectLine(App& app) {
  Send(app, Sci::SCI_HOME);
  Send(app, Sci::SCI_LINEENDDISPLAYEXTEND);
}

const CommandRow kKeys[] = {
    {4000, Tab, false},  {4061, GoToTop, false}, {4062, GoToBottom, false}, {4019, Undo, false},
    {4036, Redo, false}, {4031, Cut, false},     {4032, Copy, false},       {4033, Paste, false},
    {5001, Home, false}, {5002, LineEnd, false}, {5004, LineDelete, false}, {5005, SelectLine, false},
};

}  // namespace

std::span<const TextInsert> TextInserts() { return kInserts; }

void RunTextInsert(App& app, const TextInsert& row) {
  InsertTextAtCaret(app, row.text);
  switch (row.caret) {
    case C::Right:
      for (int i = 0; i < row.count; ++i) Send(app, Sci::SCI_CHARRIGHT);
      break;
    case C::LineEndLeft:
      Send(app, Sci::SCI_LINEEND);
      Send(app, Sci::SCI_CHARLEFT);
      break;
    case C::LineDownEnd:
      Send(app, Sci::SCI_LINEDOWN);
      Send(app, Sci::SCI_LINEEND);
      break;
    case C::LineEnd:
      Send(app, Sci::SCI_LINEEND);
      break;
    case C::Stays:
      break;
  }
}

CommandFragment TextInsertCommands() { return {kMenu, kKeys}; }
