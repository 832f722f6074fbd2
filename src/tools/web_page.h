// Create Web Page: hands the active program to the translator and makes its page.
#pragma once
#include <string>
#include <vector>

struct App;

// Saves the active document, runs the translator and puts the page beside it.
// Sets generatedPagePath; false (after telling the user) when no page was made.
bool CreateWebPage(App& app);

// The quick preview (Ctrl+W): makes the page and opens it in the default browser.
void ViewInBrowser(App& app);

// Opens a page or address in `program`, or in the default browser when it is "";
// a browser that fails at once is reported with what it said.
void OpenPageInBrowser(App& app, const std::string& program, const std::string& address);

// The page made from a program: the file name's extension becomes "html" (a name
// without one gets ".html"). A program that is itself an .html file gives ".hhtml",
// so the page never overwrites its own source.
std::string PagePathFor(const std::string& programPath);
// The path with its file name lower-cased (lowercaseUpload). Folders keep their letter
// case: on this platform it is part of their name.
std::string LowerCaseFileName(const std::string& path);
// The bytes of Cname.ini for a program, with the files outside its folders that the
// translator may read this time and the configuration folder, none of whose files it may read.
std::string HandoverText(const std::string& programPath, const std::vector<std::string>& allowed = {},
                         const std::string& configFolder = {});
// The last non-empty line of a program's standard error ("" when there is none).
std::string LastErrorLine(const std::string& errorText);

// The hand-over after the save: Cname.ini, the translator run, and Final.ini renamed
// over `pagePath`. The old page stays until a new one exists. False with `problem`
// set to one line ("" when the translator made nothing and said nothing). The run keeps
// the event loop turning, can be cancelled and ends at app.translatorTimeoutMs. When the
// program reads files outside its folders the user is asked once whether to allow them.
// `errorText` gets the translator's standard error (its warnings and errors).
bool TranslateProgram(App& app, const std::string& programPath, const std::string& pagePath, std::string& problem,
                      std::string* errorText = nullptr);

// The translator program in the current folder and the hand-over files beside it.
inline constexpr const char* kTranslatorProgram = "Comp";
inline constexpr const char* kHandoverFile = "Cname.ini";
inline constexpr const char* kTranslatedFile = "Final.ini";

// Followed by the browser's name, this text and what the browser said.
inline constexpr const char* kBrowserFailedMessage = " could not show the page.\r";
inline constexpr const char* kProgramNotSavedMessage = "File not found.\rPlease save your program file to disk.";
