// A real FTP server for tests and benchmarks: Debian's pyftpdlib on 127.0.0.1 and a
// free port, serving `root` to the user anna with the password secret.
#pragma once
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <string>

class PyFtpServer {
 public:
  // `masquerade`: the address the server announces in its PASV replies ("" = its own).
  explicit PyFtpServer(const std::string& root, const std::string& masquerade = "") {
    script_.setFileTemplate(QDir::tempPath() + "/pyftpd_XXXXXX.py");
    if (!script_.open()) return;
    script_.write(
        "import sys, logging\n"
        "from pyftpdlib.authorizers import DummyAuthorizer\n"
        "from pyftpdlib.handlers import FTPHandler\n"
        "from pyftpdlib.servers import FTPServer\n"
        "logging.basicConfig(level=logging.CRITICAL)\n"
        "authorizer = DummyAuthorizer()\n"
        "authorizer.add_user('anna', 'secret', sys.argv[1], perm='elradfmwMT')\n"
        "class Handler(FTPHandler):\n"
        "    pass\n"
        "Handler.authorizer = authorizer\n"
        "Handler.auth_failed_timeout = 0\n"
        "if len(sys.argv) > 2 and sys.argv[2]:\n"
        "    Handler.masquerade_address = sys.argv[2]\n"
        "server = FTPServer(('127.0.0.1', 0), Handler)\n"
        "print(server.address[1], flush=True)\n"
        "server.serve_forever()\n");
    script_.flush();
    // Debian's interpreter: another python3 earlier on PATH may lack pyftpdlib.
    process_.start("/usr/bin/python3", {script_.fileName(), QString::fromStdString(root),
                                        QString::fromStdString(masquerade)});
    if (!process_.waitForStarted(10000)) return;
    while (!process_.canReadLine() && process_.waitForReadyRead(15000)) {
    }
    port = process_.readLine().trimmed().toInt();
    if (port == 0) error = process_.readAllStandardError().toStdString();
  }
  ~PyFtpServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port); }

  int port = 0;  // 0 when the server did not start
  std::string error;

 private:
  QTemporaryFile script_;
  QProcess process_;
};
