// The one-line inserts of the Format, Html and Style menus.
#include <Qsci/qsciscintillabase.h>

#include <array>
#include <utility>

#include "documents/application.h"
#include "app/commands.h"
#include "app/text_inserts.h"
#include "documents/editor.h"

namespace {

using Sci = QsciScintillaBase;
using C = TextInsert::Caret;

// Doctypes with a system identifier put it on a second line after a bare CR.
constexpr TextInsert kInserts[] = {
    {Cmd::BouncingText, "BouncingText", "BouncingText \"\"", C::LineEndLeft, 0},
    {Cmd::ExpandingText, "ExpandingText", "ExpandingText \"\"", C::LineEndLeft, 0},
    {Cmd::FlyinText, "FlyinText", "FlyinText \"\"", C::LineEndLeft, 0},
    {Cmd::GradientText, "GradientText", "GradientText \"\"", C::LineEndLeft, 0},
    {Cmd::HighlightText, "HighlightText", "HighlightText \"\"", C::LineEndLeft, 0},
    {Cmd::HorizontalRule, "HorizontalRule", "HorizontalRule ()", C::LineEndLeft, 0},
    {Cmd::LineBreak, "LineBreak ", "LineBreak ()", C::LineEndLeft, 0},
    {Cmd::MirrorText, "MirrorText", "MirrorText \"\"", C::LineEndLeft, 0},
    {Cmd::MixText, "MixText", "MixText \"\"", C::LineEndLeft, 0},
    {Cmd::OpenText, "OpenText", "OpenText ()", C::LineEndLeft, 0},
    {Cmd::PositionText, "PositionText", "PositionText \"\"", C::LineEndLeft, 0},
    {Cmd::RainbowText, "RainbowText", "RainbowText \"\"", C::LineEndLeft, 0},
    {Cmd::ReverseText, "ReverseText", "ReverseText \"\"", C::LineEndLeft, 0},
    {Cmd::ScrollingText, "ScrollingText", "ScrollingText \"\"", C::LineEndLeft, 0},
    {Cmd::SetTextStyle, "SetTextStyle", "SetTextStyle ()", C::LineEndLeft, 0},
    {Cmd::ShadowBoxStyle, "ShadowBoxStyle", "ShadowBoxStyle \"\"", C::LineEndLeft, 0},
    {Cmd::ShadowBoxText, "ShadowBoxText", "ShadowBoxText \"\"", C::LineEndLeft, 0},
    {Cmd::ShadowText, "ShadowText", "ShadowText \"\"", C::LineEndLeft, 0},
    {Cmd::ShakingText, "ShakingText", "ShakingText \"\"", C::LineEndLeft, 0},
    {Cmd::WriteText, "WriteText", "WriteText \"\"", C::LineEndLeft, 0},
    {Cmd::HtmlAnchor, "Anchor", "<a name=\"\"></a>", C::Right, 9},
    {Cmd::HtmlAudio, "Audio", "<audio></audio>", C::Right, 7},
    {Cmd::HtmlAudioAutoplay, "Autoplay", "autoplay", C::Stays, 0},
    {Cmd::HtmlAudioControls, "Controls", "controls", C::Stays, 0},
    {Cmd::HtmlAudioLoop, "Loop", "loop", C::Stays, 0},
    {Cmd::HtmlButton, "Button", "<button type=\"\"></button>", C::Right, 14},
    {Cmd::HtmlComment, "Comment", "<!--  -->", C::Right, 5},
    {Cmd::HtmlDoctype5, "HTML 5", "<!DOCTYPE HTML>", C::LineEnd, 0},
    {Cmd::HtmlDoctype401Transitional, "HTML 4.01 Transitional",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">", C::LineEnd, 0},
    {Cmd::HtmlDoctype401Strict, "HTML 4.01 Strict", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Strict//EN\">",
     C::LineEnd, 0},
    {Cmd::HtmlDoctype401Frameset, "HTML 4.01 Frameset",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\"\r  \"http://www.w3.org/TR/html4/frameset.dtd\">",
     C::LineDownEnd, 0},
    {Cmd::HtmlDoctypeXhtmlTransitional, "XHTML 1.0 Transitional",
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
     C::LineDownEnd, 0},
    {Cmd::HtmlDoctypeXhtmlStrict, "XHTML 1.0 Strict",
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">",
     C::LineDownEnd, 0},
    {Cmd::HtmlDoctypeXhtmlFrameset, "XHTML 1.0 Frameset",
     "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Frameset//EN\"\r  "
     "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-frameset.dtd\">",
     C::LineDownEnd, 0},
    {Cmd::HtmlBase, "Base", "<base href=\"\"/>", C::Right, 12},
    {Cmd::HtmlBody, "Body", "<body></body>", C::Right, 6},
    {Cmd::HtmlHead, "Head", "<head></head>", C::Right, 6},
    {Cmd::HtmlMeta, "Meta", "<meta name=\"\" content=\"\"/>", C::Right, 12},
    {Cmd::HtmlRoot, "Root", "<html></html>", C::Right, 6},
    {Cmd::HtmlTitle, "Title", "<title></title>", C::Right, 7},
    {Cmd::HtmlDiv, "Div", "<div style=\"\"></div>", C::Right, 12},
    {Cmd::HtmlEmbed, "Embed", "<embed src=\"\">", C::Right, 12},
    {Cmd::HtmlFormAction, "Action", "action=\"\"", C::Right, 8},
    {Cmd::HtmlForm, "Form", "<form></form>", C::Right, 6},
    {Cmd::HtmlInput, "Input", "<input>", C::Stays, 0},
    {Cmd::HtmlFormMethod, "Method", "method=\"\"", C::Right, 8},
    {Cmd::HtmlFormName, "Name", "name=\"\"", C::Right, 6},
    {Cmd::HtmlFormTarget, "Target", "target=\"\"", C::Right, 8},
    {Cmd::HtmlTextarea, "Textarea", "<textarea></textarea>", C::Right, 10},
    {Cmd::HtmlH1, "H1", "<h1></h1>", C::Right, 4},
    {Cmd::HtmlH2, "H2", "<h2></h2>", C::Right, 4},
    {Cmd::HtmlH3, "H3", "<h3></h3>", C::Right, 4},
    {Cmd::HtmlH4, "H4", "<h4></h4>", C::Right, 4},
    {Cmd::HtmlH5, "H5", "<h5></h5>", C::Right, 4},
    {Cmd::HtmlH6, "H6", "<h6></h6>", C::Right, 4},
    {Cmd::HtmlArticle, "Article", "<article></article>", C::Right, 9},
    {Cmd::HtmlAside, "Aside", "<aside></aside>", C::Right, 7},
    {Cmd::HtmlCanvas, "Canvas", "<canvas></canvas>", C::Right, 8},
    {Cmd::HtmlDatalist, "Datalist", "<datalist></datalist>", C::Right, 10},
    {Cmd::HtmlFigure, "Figure", "<figure></figure>", C::Right, 8},
    {Cmd::HtmlFooter, "Footer", "<footer></footer>", C::Right, 8},
    {Cmd::HtmlHeader, "Header", "<header></header>", C::Right, 8},
    {Cmd::HtmlHgroup, "Hgroup", "<hgroup></hgroup>", C::Right, 8},
    {Cmd::HtmlMark, "Mark", "<mark></mark>", C::Right, 6},
    {Cmd::HtmlNav, "Nav", "<nav></nav>", C::Right, 5},
    {Cmd::HtmlSection, "Section", "<section></section>", C::Right, 9},
    {Cmd::HtmlVideo, "Video", "<video></video>", C::Right, 7},
    {Cmd::HtmlImageAlign, "Align", "align=\"\"", C::Right, 7},
    {Cmd::HtmlImageAlt, "Alt", "alt=\"\"", C::Right, 5},
    {Cmd::HtmlImageBorder, "Border", "border=\"\"", C::Right, 8},
    {Cmd::HtmlImageHeight, "Height", "height=\"\"", C::Right, 8},
    {Cmd::HtmlImg, "Img", "img src=\"\"", C::Right, 9},
    {Cmd::HtmlImageWidth, "Width", "width=\"\"", C::Right, 7},
    {Cmd::HtmlLineBreak, "Line Break", "<br>", C::Stays, 0},
    {Cmd::HtmlParagraph, "Paragraph", "<p></p>", C::Right, 3},
    {Cmd::HtmlNoscript, "Noscript", "<noscript></noscript>", C::Right, 10},
    {Cmd::HtmlScript, "Script", "<script></script>", C::Right, 8},
    {Cmd::HtmlScriptSrc, "Src", "src=\"\"", C::Right, 5},
    {Cmd::HtmlScriptType, "Type", "type=\"\"", C::Right, 6},
    {Cmd::HtmlSpace, "Space", "&nbsp;", C::Stays, 0},
    {Cmd::HtmlSpan, "Span", "<span></span>", C::Right, 6},
    {Cmd::HtmlTableAlign, "Align", "align=\"\"", C::Right, 7},
    {Cmd::HtmlTableBgcolor, "Bgcolor", "bgcolor=\"\"", C::Right, 9},
    {Cmd::HtmlTableBorder, "Border", "border=\"\"", C::Right, 8},
    {Cmd::HtmlTableCellpadding, "Cellpadding", "cellpadding=\"\"", C::Right, 13},
    {Cmd::HtmlTableCellspacing, "Cellspacing", "cellspacing=\"\"", C::Right, 13},
    {Cmd::HtmlTable, "Table", "<table></table>", C::Right, 7},
    {Cmd::HtmlTd, "Td", "<td></td>", C::Right, 4},
    {Cmd::HtmlTh, "Th", "<th></th>", C::Right, 4},
    {Cmd::HtmlTr, "Tr", "<tr></tr>", C::Right, 4},
    {Cmd::HtmlTableWidth, "Width", "width=\"\"", C::Right, 7},
    {Cmd::StyleBackgroundColor, "Background Color", "background-color:", C::Right, 17},
    {Cmd::StyleBackgroundImage, "Background Image", "background-image:", C::Right, 17},
    {Cmd::StyleColor, "Color", "color:", C::Right, 6},
    {Cmd::StyleFontFamily, "Font Family", "font-family:", C::Right, 12},
    {Cmd::StyleFontSize, "Font Size", "font-size:", C::Right, 10},
    {Cmd::StyleFontStyle, "Font Style", "font-style:", C::Right, 11},
    {Cmd::StyleFontWeight, "Font Weight", "font-weight:", C::Right, 12},
    {Cmd::StyleImageBorder, "Border", "border: 1px solid green;", C::Right, 24},
    {Cmd::StyleImageFloat, "Float", "float: left;", C::Right, 12},
    {Cmd::StyleImageHeight, "Height", "height:", C::Right, 7},
    {Cmd::StyleImageWidth, "Width", "width:", C::Right, 6},
    {Cmd::StyleLetterSpacing, "Letter Spacing", "letter-spacing:", C::Right, 15},
    {Cmd::StyleLineHeight, "Line Height", "line-height:", C::Right, 12},
    {Cmd::StyleListStyle, "List Style", "list-style:", C::Right, 11},
    {Cmd::StyleMarginBottom, "Margin Bottom", "margin-bottom:", C::Right, 14},
    {Cmd::StyleMarginLeft, "Margin Left", "margin-left:", C::Right, 12},
    {Cmd::StyleMarginRight, "Margin Right", "margin-right:", C::Right, 13},
    {Cmd::StyleMarginTop, "Margin Top", "margin-top:", C::Right, 11},
    {Cmd::StylePadding, "Padding", "padding:", C::Right, 8},
    {Cmd::StyleTextAlign, "Text Align", "text-align:", C::Right, 11},
    {Cmd::StyleTextDecoration, "Text Decoration", "text-decoration:", C::Right, 16},
    {Cmd::StyleTextIndent, "Text Indent", "text-indent:", C::Right, 12},
    {Cmd::StyleTextTransform, "Text Transform", "text-transform:", C::Right, 15},
    {Cmd::StyleVerticalAlign, "Vertical Align", "vertical-align:", C::Right, 15},
    {Cmd::StyleWordSpacing, "Word Spacing", "word-spacing:", C::Right, 13},
};

template <size_t I>
void RunRow(App& app) {
  RunTextInsert(app, kInserts[I]);
}

template <size_t... I>
constexpr std::array<CommandRow, sizeof...(I)> MakeRows(std::index_sequence<I...>) {
  return {{CommandRow(kInserts[I].id, kInserts[I].menuText, &RunRow<I>)...}};
}

const auto kRows = MakeRows(std::make_index_sequence<std::size(kInserts)>());

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
    case C::LineEnd: Send(app, Sci::SCI_LINEEND); break;
    case C::Stays: break;
  }
}

std::span<const CommandRow> TextInsertCommands() { return kRows; }
