// Fragments of the Hypertext Link and Email Link dialogs, and the .email file format.
#pragma once
#include <optional>
#include <string>

namespace insert {

struct HypertextLinkValues {
  std::string link;      // "Link to:"
  std::string linkText;  // "Link text:"
  std::string tooltip;   // "Tooltip text:"
  bool inlineStyle = false;
};

// The anchor, or nothing (empty) when "Link to:" is empty. A link that carries a scheme
// (http:, mailto: ...) is written as typed; a local path becomes a file URL.
std::string BuildHypertextLink(const HypertextLinkValues& v);

struct EmailLinkValues {
  std::string linkText;  // "Link text:"
  std::string subject;   // "Email subject:"
  std::string address;   // "Email address:"
  std::string tooltip;   // "Tooltip text:"
  bool inlineStyle = false;
};

// The mailto anchor; subject and address are written as typed (no URL encoding).
std::string BuildEmailLink(const EmailLinkValues& v);

// The four boxes as an e-mail file: "[Email data]", an empty line, then the keyed lines,
// every line ended by CR LF.
std::string WriteEmailFile(const EmailLinkValues& v);
// Fills the boxes named by the keyed lines of `bytes`; other lines are skipped and a box
// without a line keeps its value. Returns how many keyed lines were found.
int ReadEmailFile(const std::string& bytes, EmailLinkValues& v);

}  // namespace insert
