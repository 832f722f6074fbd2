// Real encrypted servers for tests and benchmarks: a self-signed certificate for the FTPS
// server of pyftpd.h, and an SFTP server (sftp_server.py on paramiko) serving `root` to
// the user anna with the password secret.
#pragma once
#include <QDir>
#include <QProcess>
#include <csignal>
#include <string>

// Makes key.pem and cert.pem (self-signed, for 127.0.0.1) in `folder`; false on failure.
inline bool MakeCertificate(const std::string& folder) {
  QProcess openssl;
  QDir dir(QString::fromStdString(folder));
  openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                            "-keyout", dir.filePath("key.pem"), "-out", dir.filePath("cert.pem"), "-days", "2", "-subj",
                            "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
  return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

class SftpServer {
 public:
  // The host key is kept in `hostKeyFile` (made when missing), so a restarted server
  // shows the same key and a server given another file shows another.
  SftpServer(const std::string& root, const std::string& hostKeyFile) {
    process_.start("/usr/bin/python3", {QString(VEROSTA_TEST_DATA) + "/publish/sftp_server.py",
                                        QString::fromStdString(root), QString::fromStdString(hostKeyFile)});
    if (!process_.waitForStarted(10000)) return;
    for (int line = 0; line < 2; ++line) {
      while (!process_.canReadLine() && process_.waitForReadyRead(15000)) {}
      std::string text = process_.readLine().trimmed().toStdString();
      if (line == 0) port = std::atoi(text.c_str());
      else fingerprint = text;
    }
    if (port == 0 || fingerprint.empty()) {
      port = 0;
      error = process_.readAllStandardError().toStdString();
    }
  }
  ~SftpServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  SftpServer(const SftpServer&) = delete;
  SftpServer& operator=(const SftpServer&) = delete;
  std::string Host() const { return "sftp://127.0.0.1:" + std::to_string(port); }
  void Pause() { ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP); }

  int port = 0;             // 0 when the server did not start
  std::string fingerprint;  // the host key as "SHA256:BASE64", worked out by the server
  std::string error;

 private:
  QProcess process_;
};
