// Plain FTP through our own client: CWD into the target folder, MKD, STOR under the
// temporary name with a SIZE check, RNFR/RNTO, DELE, QUIT.
#include "core/text.h"
#include "publish/transport.h"

namespace {

class FtpTransport : public PublishTransport {
 public:
  FtpTransport(const PublishJob& job, ftp::RunControl& control) : job_(job), control_(control) {}
  ~FtpTransport() override {
    if (connection_ > 0) ftp::CloseSession(connection_, true);
  }

  bool Connect(std::string& cause, std::string&) override {
    int c = ftpConnect(job_.host.c_str(), job_.user.c_str(), job_.password.c_str());
    if (c == 0 || c == -1) return cause = ftp::LastCause(), false;
    connection_ = c;
    return true;
  }
  bool OpenFolder(const std::string& folder, std::string& cause) override {
    control_.SetStep("Changing to folder " + folder + "...");
    if (ftpChangeDir(connection_, folder.c_str()) != 0) return true;
    return cause = ftp::LastCause(), false;
  }
  bool MakeFolder(const std::string& folder, std::string& cause) override {
    control_.SetStep("Making folder " + folder + "...");
    if (ftp::MakeRemoteFolder(connection_, folder)) return true;
    return cause = ftp::LastCause(), false;
  }
  bool List(const std::string& folder, std::vector<RemoteEntry>& entries, std::string& cause) override {
    std::string text;
    if (!ftp::ListRemote(connection_, folder, mlsd_, text)) return cause = ftp::LastCause(), false;
    entries = mlsd_ ? ParseMlsd(text) : ParseList(text);
    return true;
  }
  Sent PutTemporary(const std::string& localPath, const std::string& temporary) override {
    Sent sent;
    sent.ok = ftp::PutFile(connection_, temporary, localPath, status_) == 1;
    if (sent.ok) return sent.leftover = true, sent;
    sent.cause = Cause();
    sent.arrivedShort = core::StartsWith(status_, ftp::kShortFileStatus);
    sent.leftover = sent.arrivedShort;
    return sent;
  }
  bool Place(const std::string& temporary, const std::string& real, std::string& cause) override {
    return ftp::RenameRemote(connection_, temporary, real) || (cause = Cause(), false);
  }
  bool Delete(const std::string& path, std::string& cause) override {
    if (ftp::DeleteRemote(connection_, path)) return true;
    return cause = ftp::LastCause(), false;
  }
  void RemoveLeftover(const std::string& temporary) override {
    if (!control_.Stopped()) ftp::DeleteRemote(connection_, temporary);
  }
  void Close(bool failed) override {
    if (connection_ <= 0) return;
    if (failed) ftp::CloseSession(connection_, control_.cancelled || control_.cancel);
    else ftpQuit(connection_);
    connection_ = 0;
  }

 private:
  // The client's cause of the last failure, else the last reply or status of a put.
  std::string Cause() const {
    std::string cause = ftp::LastCause();
    return cause.empty() ? status_ : cause;
  }

  const PublishJob& job_;
  ftp::RunControl& control_;
  int connection_ = 0;
  std::string status_;
  bool mlsd_ = true;
};

}  // namespace

std::unique_ptr<PublishTransport> PlainFtpTransport(const PublishJob& job, ftp::RunControl& control) {
  return std::make_unique<FtpTransport>(job, control);
}
