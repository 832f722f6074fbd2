// What a publish run is given and what it returns, with the helpers every transport
// shares: the run's messages, the temporary name a file goes up under, the folders the
// files need.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "publish/ftp_client.h"

inline constexpr const char* kConnectFailed = "Could not connect to FTP server. Please check all input fields.";
inline constexpr const char* kUploadFailed = "Could not upload file to FTP server.";
inline constexpr const char* kStoppedAnswering = "The FTP server stopped answering.";
inline constexpr const char* kPublishCancelled = "Publishing cancelled.";

struct UploadItem {
  std::string localPath;
  std::string remotePath;  // relative to the target folder, "/" between folders
};

struct PublishJob {
  std::string host, user, password, folder;
  std::vector<UploadItem> items;
  std::string trustedKey;  // an encrypted server's key the user chose to trust ("" = none)
};

struct PublishOutcome {
  enum Result { Published, Failed, Cancelled } result = Failed;
  // For the message box: the first line says what failed, a second (after a CR) why.
  std::string message;
  std::vector<std::size_t> uploaded;  // indexes of the items that reached their real names
  // The key of an encrypted server whose identity could not be verified: the user may
  // choose to trust it ("" when there is nothing to ask).
  std::string offeredKey;
};

// The outcome of a run ended by a failure: a cancel or a spent time budget outweighs
// what failed.
PublishOutcome StoppedOutcome(const ftp::RunControl& control, const std::string& message);

// "pics/a.gif" -> "pics/.a.gif.part"
std::string TemporaryRemoteName(std::string_view remotePath);
// The folders the items need, parents first, each once: "a/b/c.gif" gives "a", "a/b".
std::vector<std::string> RemoteFoldersFor(const std::vector<UploadItem>& items);
// "Could not upload file to FTP server." + CR + "553 Permission denied."
std::string WithCause(std::string_view first, std::string_view cause);
