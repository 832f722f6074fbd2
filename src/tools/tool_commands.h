// Commands of this subsystem that the toolbar runs too.
#pragma once

struct App;

void OpenCreateWebPageDialog(App& app);
// The markup validator's upload page; the menu command asks for a configured browser first.
void OpenMarkupValidator(App& app);
void OpenCommandPrompt(App& app);
void OpenHelpContents(App& app);
void VisitWebSite(App& app);
