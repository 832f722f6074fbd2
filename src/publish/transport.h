// One connection to a publish server, as a run uses it. Each protocol is one
// implementation: plain FTP through our own client (ftp_transport.cpp), FTPS and SFTP
// through libcurl (secure_transfer.cpp). Paths are relative to the target folder once
// OpenFolder has succeeded. Every step blocks, honours the run's cancel flag and is
// bounded by its time budget.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "publish/publish_job.h"
#include "publish/site_listing.h"

class PublishTransport {
 public:
  struct Sent {
    bool ok = false;            // the server holds the whole file
    std::string cause;          // why not, when known
    bool arrivedShort = false;  // the server holds fewer bytes than were sent
    bool leftover = false;      // something may stand under the temporary name
  };

  virtual ~PublishTransport() = default;
  // Connects and logs in. On failure `offeredKey` may get the key of an encrypted server
  // whose identity could not be verified, for the user to trust.
  virtual bool Connect(std::string& cause, std::string& offeredKey) = 0;
  // Goes to the target folder, which must exist.
  virtual bool OpenFolder(const std::string& folder, std::string& cause) = 0;
  // Makes a folder; a refusal ("exists already") is not a failure, no answer is.
  virtual bool MakeFolder(const std::string& folder, std::string& cause) = 0;
  // The folder's entries ("" for the target folder itself): MLSD where the server offers
  // it, else LIST; SFTP's directory listing.
  virtual bool List(const std::string& folder, std::vector<RemoteEntry>& entries, std::string& cause) = 0;
  // Puts the local file under `temporary` and checks the size the server holds.
  virtual Sent PutTemporary(const std::string& localPath, const std::string& temporary) = 0;
  // Renames the temporary file onto the live one through the safe replace.
  virtual bool Place(const std::string& temporary, const std::string& real, std::string& cause) = 0;
  virtual bool Delete(const std::string& path, std::string& cause) = 0;
  // After a failed put: removes what stands under the temporary name, unless the run was stopped.
  virtual void RemoveLeftover(const std::string& temporary) = 0;
  // How often a file that arrived short is sent.
  virtual int Attempts() const { return 1; }
  // Ends the session: politely after a success, with short waits after a failure or cancel.
  virtual void Close(bool failed) = 0;
};

std::unique_ptr<PublishTransport> PlainFtpTransport(const PublishJob& job, ftp::RunControl& control);
// "ftps://" and "sftp://" hosts.
std::unique_ptr<PublishTransport> SecureTransport(const PublishJob& job, ftp::RunControl& control);
// The one the job's host asks for.
std::unique_ptr<PublishTransport> OpenTransport(const PublishJob& job, ftp::RunControl& control);

// Puts one item up under its temporary name and then into place, sending a file that
// arrived short once more where the transport allows; false with the cause when it did
// not get there (what arrived is then removed where possible).
bool PutInPlace(PublishTransport& transport, const ftp::RunControl& control, const UploadItem& item,
                std::string& cause);
