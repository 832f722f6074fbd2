// The project and target <meta> lookup of Publish, over a small profile table.
#include "fuzz_check.h"
#include "publish/ftp_profiles.h"
#include "publish/publish.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FtpProfileTable table = [] {
    FtpProfileTable t;
    StoreProfile(t, "mysite", "ftp.example.org", "me", "secret", "www.example.org");
    StoreProfile(t, "Other Site", "10.0.0.1:2121", "u", "p", "example.net");
    StoreProfile(t, "x", "h", "", "", "");
    return t;
  }();
  FtpLookup found = LookUpFtpProfile(FuzzInput(data, size), table);
  FUZZ_CHECK(!found.found || !found.host.empty());
  FUZZ_CHECK(found.found || !found.messages.empty());
  PageAddress(found.domain, found.folder, "/site/page.html");
  return 0;
}
