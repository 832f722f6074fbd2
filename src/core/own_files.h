// The editor's own files: settings, FTP profiles and trusted keys, publish manifests and
// the hand-over files of its helper programs. Wherever one stands (the configuration
// folder, a portable or older copy, a copy the user made into a site), it is never part
// of a page, a preview or an upload. Plain C++, so that the translator can ask too.
#pragma once
#include <string>
#include <string_view>

namespace core {

// A name the editor gives a file of its own, letter case ignored (a copy from another
// system may change it): Verosta.ini, FtpProjs.ini, FtpTrust.ini, Recent.ini, Cname.ini,
// Final.ini, delete.ini, Block.ini, FtpProjs-*.manifest, any "*.damaged" copy, and the
// temporaries a safe write of one of them leaves behind.
bool IsEditorsOwnName(std::string_view fileName);

// Text in the layout of a saved FTP profile: it holds a "Password " line.
bool LooksLikeFtpProfile(std::string_view bytes);

// True when `path` is one of the editor's own files: by its name or, through symbolic
// links, by its target's; by standing inside `configFolder` (when one is given); or as an
// .ini file that holds a password line (a saved FTP profile under a name of the user's).
bool IsEditorsOwnFile(const std::string& path, const std::string& configFolder = std::string());

}  // namespace core
