// The System Colors dialog: the twelve editor colours, syntax colouring and theme files.
#pragma once

struct App;

// Runs the dialog (command 303). Changes act on the settings at once; Ok writes them,
// Cancel reloads the configuration file and re-applies the editor colours.
void SystemColorsCommand(App& app);
// Background, line-number margin colours (and the caret with `withCaret`) on the active editor.
void ReapplyEditorColours(App& app, bool withCaret);
