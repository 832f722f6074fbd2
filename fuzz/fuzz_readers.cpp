// The small file readers of the editor: sessions, colour themes, FTP profiles, forms,
// lists and e-mail links. The first byte chooses the reader, the rest is the file.
// Where a format is written by the editor too, what was read must survive a write and
// a read back unchanged.
#include <vector>

#include "documents/application.h"
#include "app/shell.h"
#include "documents/themes.h"
#include "fuzz_check.h"
#include "insert/forms.h"
#include "insert/link_fragments.h"
#include "insert/lists.h"
#include "projects/sessions.h"

namespace {

void Session(const std::string& bytes) {
  std::vector<std::string> paths = ReadSessionPaths(bytes);
  for (const std::string& p : paths) FUZZ_CHECK(!p.empty());
  if (paths.size() > 32) paths.resize(32);
  FUZZ_CHECK(ReadSessionPaths(WriteSessionFile("session", paths)) == paths);
}

void Theme(const std::string& bytes) {
  Settings s;
  ReadThemeText(bytes, s);
  Settings again;
  ReadThemeText(WriteThemeText(s), again);
  FUZZ_CHECK(WriteThemeText(again) == WriteThemeText(s));
}

void Profile(const std::string& bytes) {
  PublishFields f;
  ReadPublishFields(bytes, f);
}

bool SameForm(const insert::FormValues& a, const insert::FormValues& b) {
  return a.action == b.action && a.name == b.name && a.email == b.email && a.address == b.address && a.post == b.post &&
         a.country == b.country && a.comments == b.comments && a.submit == b.submit && a.clear == b.clear;
}

void Form(const std::string& bytes) {
  insert::FormValues v;
  insert::ReadFormFile(bytes, v);
  insert::FormValues again;
  insert::ReadFormFile(insert::WriteFormFile(v), again);
  FUZZ_CHECK(SameForm(v, again));
  insert::BuildForm(v);
}

void List(const std::string& bytes) {
  insert::ListFile f = insert::ReadListFile(bytes);
  std::string items;
  for (const std::string& line : f.itemLines) items += (items.empty() ? "" : "\r\n") + line;
  insert::ListValues v;
  v.title = f.title;
  v.items = items;
  v.disc = 1;
  insert::BuildList(v);
  insert::ListCommandPieces(items, true);
}

void Email(const std::string& bytes) {
  insert::EmailLinkValues v;
  insert::ReadEmailFile(bytes, v);
  insert::EmailLinkValues again;
  FUZZ_CHECK(insert::ReadEmailFile(insert::WriteEmailFile(v), again) == 4);
  FUZZ_CHECK(again.linkText == v.linkText && again.subject == v.subject && again.address == v.address &&
             again.tooltip == v.tooltip);
  insert::BuildEmailLink(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static void (*const readers[])(const std::string&) = {Session, Theme, Profile, Form, List, Email};
  readers[data[0] % 6](FuzzInput(data + 1, size - 1));
  return 0;
}
