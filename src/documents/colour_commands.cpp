// This subsystem's rows of the command registry.
#include "core/command_rows.h"
#include "documents/system_colors_dialog.h"

namespace {

const CommandRow kRows[] = {
    {Cmd::SystemColors,
     "System Colors...\tAlt+X",
     SystemColorsCommand,
     Then::Focus,
     {Accel::SystemColors, "Alt+X"},
     {ButtonId::SystemColors, "220.svg", "System Colors (Alt+X)"}},
};

}  // namespace

std::span<const CommandRow> ColourCommands() { return kRows; }
