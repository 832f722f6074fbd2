#include "core/keywords.h"

namespace core {

namespace {
constexpr const char* kTexts[] = {
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
}  // namespace

std::span<const char* const> KeywordTexts() { return kTexts; }

}  // namespace core
