#include "insert/link_fragments.h"

#include "core/text.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

const std::string kStyleLine = "style=\"" + std::string(kTextStyle) + "\"\n";

// The tail shared by both anchors: optional style line, tooltip, link text, end tag.
std::string AnchorTail(bool inlineStyle, const std::string& tooltip, const std::string& linkText) {
  std::string s;
  if (inlineStyle) s += kStyleLine;
  s += "alt=\"" + AttributeText(tooltip) + "\">" + linkText + "\n</a>";
  return s;
}

struct EmailKey {
  const char* key;
  std::string EmailLinkValues::*field;
};

const EmailKey kEmailKeys[] = {
    {"Text ", &EmailLinkValues::linkText},
    {"Subject ", &EmailLinkValues::subject},
    {"Address ", &EmailLinkValues::address},
    {"Description ", &EmailLinkValues::tooltip},
};

}  // namespace

std::string BuildHypertextLink(const HypertextLinkValues& v) {
  if (v.link.empty()) return {};
  // A typed link may end in "?query" or "#fragment": those stay URL syntax, only the
  // path before them is a file name to encode.
  if (core::HasUrlScheme(v.link))
    return "<a href=\"" + LocalFileUrl(v.link) + "\"\n" + AnchorTail(v.inlineStyle, v.tooltip, v.linkText);
  size_t cut = v.link.find_first_of("?#");
  std::string path = v.link.substr(0, cut);
  std::string tail = cut == std::string::npos ? std::string() : v.link.substr(cut);
  tail = core::ReplaceAll(core::ReplaceAll(tail, "\"", "%22"), " ", "%20");
  std::string href = path.empty() ? tail : LocalFileUrl(path) + tail;
  return "<a href=\"" + href + "\"\n" + AnchorTail(v.inlineStyle, v.tooltip, v.linkText);
}

std::string BuildEmailLink(const EmailLinkValues& v) {
  return "<a href=\"mailto:" + AttributeText(v.address) + "?subject=" + AttributeText(v.subject) + "\"\n" +
         AnchorTail(v.inlineStyle, v.tooltip, v.linkText);
}

std::string WriteEmailFile(const EmailLinkValues& v) {
  std::string s = "[Email data]\r\n\r\n";
  for (const EmailKey& k : kEmailKeys) s += std::string(k.key) + core::LineValue(v.*k.field) + "\r\n";
  return s;
}

int ReadEmailFile(const std::string& bytes, EmailLinkValues& v) {
  int found = 0;
  for (const std::string& line : core::SplitLines(bytes)) {
    std::string value;
    for (const EmailKey& k : kEmailKeys) {
      if (core::MatchKey(line, k.key, value)) {
        v.*k.field = value;
        ++found;
        break;
      }
    }
  }
  return found;
}

}  // namespace insert
