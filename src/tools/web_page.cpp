#include "tools/web_page.h"

#include "app/application.h"

bool CreateWebPage(App&) { return false; }
