// Buttons shared by the button and page families.
#pragma once
#include <string>

#include "commands.h"

namespace translator {

struct ButtonParts {
  std::string caption;     // escaped
  std::string attributes;  // id and style
};
// The caption (ButtonText, else `fallbackCaption`), id (ButtonName) and style
// (SetFormStyle) of the next button; ButtonText and ButtonName serve one button.
ButtonParts NextButton(Page& page, const char* fallbackCaption);
// Emits a link that looks like a button, in a paragraph of its own.
void EmitLinkButton(Page& page, const std::string& href, const char* fallbackCaption, const char* cls);

}  // namespace translator
