#include "keywords.h"

#include <algorithm>

#include "core/text.h"

namespace translator {
namespace {

// Kept byte for byte as the editor's styling has them (SearchButton appears twice).
constexpr const char* kKeywordTexts[] = {
    "doctype html head title meta style body rem ",
    "MirrorText MixText OpenText PositionText RainbowText ReverseText ScrollingText SetTextStyle ShadowText "
    "ShakingText WriteText ",
    "BouncingText DisplayStyle DisplayText TextHover EndDisplay ExpandingText FlyinText GradientText "
    "HighlightColor HighlightText ",
    "EndView ExpandImage FlyinImage ImageMag ImageSize MaxSize SetImageStyle ScrollBackground ShowImage "
    "ViewGallery EmailButton ",
    "LinkHoverImage LinkHoverStyle LinkStyle LinkText OnButtonGoto OnLinkGoto OnRadioButtonGoto RefreshLink "
    "VisitedLinkStyle ",
    "AlignMenu EndMenu EndSelect ItemName MenuColor MenuName MenuWidth SelectionColor SelectItem StartMenu "
    "SelectionWidth HorizontalRule ShadowBoxText ",
    "ButtonText ExpandImageSize ExpandTextSize FileType LeftRightCurtain LineBreak MessageButton PrintButton "
    "PrintPage UnderlineLink TipWidth LinkTip ListImage ShadowBoxStyle ",
    "RefreshButton SearchButton SetPosition ShowFileExtension UpDownCurtain ViewFiles ButtonName #End #Include "
    "SearchButton WindowWidth WindowHeight OpenWindow SetFormStyle WindowStyle VideoWidth VideoHeight PlayVideo",
};

constexpr const char* kMarkupWords[] = {"doctype", "html", "head", "title", "meta", "style", "body"};

std::vector<std::string> BuildKeywords() {
  std::vector<std::string> words;
  for (const char* text : kKeywordTexts) {
    std::string_view rest(text);
    while (!rest.empty()) {
      size_t blank = rest.find(' ');
      std::string word(rest.substr(0, blank));
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
      if (word.empty()) continue;
      if (word == "rem") word = "Rem";
      bool known = std::any_of(words.begin(), words.end(),
                               [&](const std::string& w) { return core::EqualsNoCase(w, word); });
      if (!known) words.push_back(word);
    }
  }
  return words;
}

}  // namespace

std::string KeywordListText() {
  std::string all;
  for (const char* text : kKeywordTexts) all += text;
  return core::ToLower(all);
}

const std::vector<std::string>& Keywords() {
  static const std::vector<std::string> words = BuildKeywords();
  return words;
}

std::string KeywordSpelling(std::string_view word) {
  for (const std::string& k : Keywords())
    if (core::EqualsNoCase(k, word)) return k;
  return {};
}

bool IsMarkupWord(std::string_view word) {
  for (const char* m : kMarkupWords)
    if (core::EqualsNoCase(m, word)) return true;
  return false;
}

}  // namespace translator
