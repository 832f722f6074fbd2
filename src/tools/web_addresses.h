// Every web address the editor opens, in one place.
#pragma once

namespace web {

// The product has no public web site yet: while this is empty, "Visit our WebSite"
// shows the help viewer's home page instead.
inline constexpr const char* kProductWebSite = "";
// Tech Support opens a message to this address in the mail client (empty: the
// client asks for the recipient).
inline constexpr const char* kSupportEmail = "";
inline constexpr const char* kSupportSubject = "Verosta editor support";

inline constexpr const char* kGoogleSearchHome = "https://www.google.com";
// Search Selected appends "/#q=" and the percent-encoded text to the home page.
inline constexpr const char* kGoogleSearchQuery = "/#q=";

inline constexpr const char* kMarkupValidator = "https://validator.w3.org/#validate_by_upload";
inline constexpr const char* kCssValidator = "https://jigsaw.w3.org/css-validator/";

inline constexpr const char* kHtmlTutorial = "https://developer.mozilla.org/en-US/docs/Learn/HTML";
inline constexpr const char* kXhtmlTutorial = "https://developer.mozilla.org/en-US/docs/Glossary/XHTML";
inline constexpr const char* kCssTutorial = "https://developer.mozilla.org/en-US/docs/Learn/CSS";
inline constexpr const char* kJavaScriptTutorial = "https://developer.mozilla.org/en-US/docs/Learn/JavaScript";
inline constexpr const char* kPhpTutorial = "https://www.php.net/manual/en/tutorial.php";
inline constexpr const char* kSqlTutorial = "https://www.postgresql.org/docs/current/tutorial-sql.html";

}  // namespace web
