// The Publish command: finds the document's project in the profile table and puts its
// generated page on the project's server.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct App;
struct FtpProfileTable;

inline constexpr const char* kNotInDatabase =
    "Could not find program name in the database.\rPlease check meta project name.";
inline constexpr const char* kNoProjectName = "Could not find a project name in the source code.";

// What the project and target meta tags of a text lead to.
struct FtpLookup {
  bool found = false;
  std::string project;  // the matched profile's program name
  std::string host, domain, user, password, folder;
  std::vector<std::string> messages;  // warnings to show, in order
};

// The lookup over a document's text (pure).
FtpLookup LookUpFtpProfile(std::string_view text, const FtpProfileTable& table);
// The lookup over a program and the page made from it: tags that an included file put
// into the page are found there when the program itself names no project (pure).
FtpLookup LookUpFtpProfile(std::string_view program, std::string_view page, const FtpProfileTable& table);

// The published page's web address: "mysite" + "news" + "site1.html" -> "mysite/news/site1.html".
std::string PageAddress(std::string_view domain, std::string_view folder, std::string_view pagePath);

// Saves, looks up the profile, uploads the generated page and shows its address.
void PublishActiveDocument(App& app);

// The status bar text of the last successful publish ("" when none yet).
std::string PublishedStatusText(App& app);
