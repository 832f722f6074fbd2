// Create Web Page: hands the active program to the translator and makes its page.
#pragma once
#include <string>

struct App;

// Saves the active document, runs the translator and puts the page beside it.
// Sets generatedPagePath; false (after telling the user) when no page was made.
bool CreateWebPage(App& app);
