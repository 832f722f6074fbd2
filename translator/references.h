// What a page points at: the tags of its markup read far enough to find the files of
// the site they name (pictures, style sheets, scripts, linked pages) and the ids that
// #fragment links land on.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "translator.h"

namespace translator {

// False for addresses outside the site: "scheme:…" (http:, mailto:, data:, javascript:),
// "//host/…" and an empty address.
bool IsLocalReference(std::string_view target);

// Reads HTML that comes line by line and hands on each start tag with the attributes
// that name files or ids. A tag may run over several lines; comments and the content
// of script, style, textarea and title elements hold no tags.
class TagScanner {
 public:
  // Every element, or only those that can name a file (img, a, link, script...).
  explicit TagScanner(bool everyElement = true) : everyElement_(everyElement) {}

  struct Attribute {
    std::string name;  // lower case
    std::string value;
    int line = 0;  // where the value starts
  };
  struct Tag {
    std::string element;  // lower case
    std::vector<Attribute> attributes;
    const std::string* Value(std::string_view name) const;
  };

  // Inside a tag that has not ended yet.
  bool InTag() const { return state_ >= State::Name; }
  // Told from outside that a comment or a script that was open has ended.
  void OutsideRawText() {
    if (state_ < State::Name) state_ = State::Text;
  }

  // Feeds one line (or a whole text: a line end inside is a blank like any other).
  template <typename Sink>
  void Scan(std::string_view text, int line, Sink&& sink) {
    for (size_t i = 0; i < text.size();)
      if (Step(text, i, line)) sink(static_cast<const Tag&>(tag_));
    AtLineEnd(line);
  }

 private:
  // Those from Name on are inside a start tag.
  enum class State {
    Text,
    Comment,
    Skip,
    Raw,
    Name,
    Rest,
    Between,
    AttributeName,
    AfterName,
    BeforeValue,
    Quoted,
    Bare
  };
  // Reads on from `i`; true when a start tag has just ended.
  bool Step(std::string_view s, size_t& i, int line);
  bool EndTag();
  // Past the element's name: its attributes are read, or the tag is passed over.
  bool NameEnded(bool tagEnded);
  void KeepAttribute(int line);
  void AtLineEnd(int line);

  bool everyElement_;
  State state_ = State::Text;
  Tag tag_;
  std::string name_, value_, rawEnd_;
  char quote_ = 0;
  int valueLine_ = 0;
};

// Adds the local references `tag` makes to `out`, as made on `line` of `path`.
void AddReferencesOfTag(const TagScanner::Tag& tag, const std::string& path, std::vector<Reference>& out);

// The ids the elements of a page hold (and the names of its <a name> anchors).
std::vector<std::string> PageIds(std::string_view html);

}  // namespace translator
