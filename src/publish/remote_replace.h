// Putting an uploaded file in place of the live one. Some servers refuse to rename onto
// an existing name; the live file is then renamed aside, the new one renamed in, and only
// then is the old one deleted. When the new one cannot be renamed in, the old one is
// renamed back: the server never stays without the file.
#pragma once
#include <string>
#include <string_view>

// The steps a server connection offers; the plain client and the encrypted one each
// provide them.
class RemoteFiles {
 public:
  enum class Renamed { Done, Refused, Failed };  // Refused: a permanent refusal, perhaps "exists already"
  enum class Presence { Yes, No, Unknown };

  virtual ~RemoteFiles() = default;
  virtual Renamed Rename(const std::string& from, const std::string& to) = 0;
  virtual Presence Exists(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // While on, a cancel or a spent time budget no longer stops a step; it only shortens
  // the waits, so a swap that has begun also ends.
  virtual void MustFinish(bool on) = 0;
  // The run was cancelled or ran out of time.
  virtual bool Stopped() = 0;
  // Why the last step failed, in plain words.
  virtual std::string Cause() = 0;
};

// "pics/a.gif" -> "pics/.a.gif.old"
std::string AsideRemoteName(std::string_view remotePath);

// Renames `from` onto `to`, moving a live `to` aside when the server asks for that.
// "" when done, else the cause.
std::string ReplaceRemoteFile(RemoteFiles& files, const std::string& from, const std::string& to);
