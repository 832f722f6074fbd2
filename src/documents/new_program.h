// The pure rules behind the New Program and File Associations dialogs.
#pragma once
#include <string>

struct Settings;

// The name as the program will be saved: ".web" is appended unless the name holds it somewhere.
std::string ProgramNameWithExtension(const std::string& name);
// True when `name` exists in `folder`, or is the file name of `currentPath` (letter case counts).
bool ProgramNameTaken(const std::string& name, const std::string& folder, const std::string& currentPath);
// The template of the chosen document type ("res/Html5.web" ...); the blank page when none is chosen.
std::string TemplateFor(const Settings& s);
// The eight document-type flags in the order of the dialog's boxes (ids 100 to 170).
int* NewProgramFlag(Settings& s, int index);
// The ten File Associations flags in the order of the dialog's boxes (ids 130 to 220).
int* AssociationFlag(Settings& s, int index);
