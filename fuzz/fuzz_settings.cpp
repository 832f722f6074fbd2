// The configuration file reader. Whatever it reads must survive a write and a read back:
// the values come from single lines, so writing them cannot make new lines or keys,
// and every field reads back as it was.
#include "fuzz_check.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings s;
  ReadSettingsText(FuzzInput(data, size), s);
  // A font size below 5 is never the result of a read (it becomes 10); only the
  // record's own default of 0 can be, when the file has no such line.
  if (s.fontSize < 5) s.fontSize = 10;
  std::string written = WriteSettingsText(s);
  // Read back over the same record: a negative number under a key read with a space
  // ("Window width-5") is not read, by design, and so keeps its value.
  Settings again = s;
  ReadSettingsText(written, again);
  FUZZ_CHECK(again == s);
  return 0;
}
