// Editor set-up and styling.
#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/shell.h"
#include "documents/editor.h"

void ApplyEditorStyle(App&) {}
void ConfigureNewEditor(App&, int) {}
