#include "documents/printing.h"

#include "app/application.h"

bool PrintText(App&, const std::string&, const std::string&) { return false; }
