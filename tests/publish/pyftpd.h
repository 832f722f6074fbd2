// A real FTP server for tests and benchmarks: Debian's pyftpdlib on 127.0.0.1 and a
// free port, serving `root` to the user anna with the password secret. Given a
// certificate and its key (PEM files) it is an explicit FTPS server that requires TLS on
// the control and the data connections.
#pragma once
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <csignal>
#include <string>

class PyFtpServer {
 public:
  // `masquerade`: the address the server announces in its PASV replies ("" = its own).
  explicit PyFtpServer(const std::string& root, const std::string& masquerade = "", const std::string& certificate = "",
                       const std::string& key = "") {
    script_.setFileTemplate(QDir::tempPath() + "/pyftpd_XXXXXX.py");
    if (!script_.open()) return;
    script_.write("import os, sys, time, logging\n"
                  "from pyftpdlib.authorizers import DummyAuthorizer\n"
                  "from pyftpdlib.handlers import FTPHandler\n"
                  "from pyftpdlib.servers import FTPServer\n"
                  "logging.basicConfig(level=logging.CRITICAL)\n"
                  "authorizer = DummyAuthorizer()\n"
                  "authorizer.add_user('anna', 'secret', sys.argv[1], perm='elradfmwMT')\n"
                  "tls = len(sys.argv) > 4 and sys.argv[3] != ''\n"
                  "class Rules:\n"
                  // As some servers do, a rename onto an existing name holding "fixed" is refused.
                  // An upload holding "stuck" cannot be renamed into place at all.
                  "    def ftp_RNTO(self, path):\n"
                  "        src = os.path.basename(self._rnfr or '')\n"
                  "        if ('fixed' in os.path.basename(path) and os.path.exists(path)) or \\\n"
                  "                ('stuck' in src and src.endswith('.part')):\n"
                  "            self._rnfr = None\n"
                  "            return self.respond('553 Rename refused.')\n"
                  "        return super().ftp_RNTO(path)\n"
                  // The reply after a stored file whose name holds "hold" never comes.
                  "    def ftp_STOR(self, file, mode='w'):\n"
                  "        self.holding = 'hold' in os.path.basename(file)\n"
                  "        return super().ftp_STOR(file, mode)\n"
                  "    def respond(self, resp, *args, **kwargs):\n"
                  "        if not (getattr(self, 'holding', False) and resp.startswith('226')):\n"
                  "            super().respond(resp, *args, **kwargs)\n"
                  "if tls:\n"
                  "    import base64, hashlib\n"
                  "    from OpenSSL import SSL, crypto\n"
                  "    from OpenSSL._util import lib\n"
                  "    from pyftpdlib.handlers import TLS_FTPHandler, TLS_DTPHandler\n"
                  "    class Data(TLS_DTPHandler):\n"
                  // pyftpdlib takes a data connection that speaks before the transfer command for a
                  // closed one; clients that start TLS as soon as they connect (curl) do speak.
                  "        def readable(self):\n"
                  "            return True if self._ssl_accepting else super().readable()\n"
                  // A file whose name holds "stall" stops the whole server after its first megabyte.
                  "        def handle_read_event(self):\n"
                  "            f = self.file_obj\n"
                  "            if f is not None and 'stall' in os.path.basename(f.name) and f.tell() >= 1 << 20:\n"
                  "                time.sleep(3600)\n"
                  "            super().handle_read_event()\n"
                  // As many servers do, a data connection must resume the control connection's session.
                  "        def handle_ssl_established(self):\n"
                  "            if not lib.SSL_session_reused(self.socket._ssl):\n"
                  "                self.cmd_channel.respond('522 SSL session reuse required.')\n"
                  "                self.close()\n"
                  "    class Handler(Rules, TLS_FTPHandler):\n"
                  "        dtp_handler = Data\n"
                  "        certfile = sys.argv[3]\n"
                  "        keyfile = sys.argv[4]\n"
                  "        tls_control_required = True\n"
                  "        tls_data_required = True\n"
                  // A stored file whose name holds "short" keeps only its first half, as on a full disk.
                  "        def on_file_received(self, file):\n"
                  "            if 'short' in os.path.basename(file):\n"
                  "                os.truncate(file, os.path.getsize(file) // 2)\n"
                  // TLS 1.3 sends session tickets after the handshake; a client that never reads
                  // them on an upload's data connection resets it on close, and pyftpdlib, reading
                  // slowly, may lose the file's tail (the client's size check then refuses the file).
                  // TLS 1.2 keeps the tests and benchmarks free of that race.
                  "        @classmethod\n"
                  "        def get_ssl_context(cls):\n"
                  "            if cls.ssl_context is None:\n"
                  "                TLS_FTPHandler.get_ssl_context.__func__(cls)\n"
                  "                cls.ssl_context.set_max_proto_version(SSL.TLS1_2_VERSION)\n"
                  "            return cls.ssl_context\n"
                  "    cert = crypto.load_certificate(crypto.FILETYPE_PEM, open(sys.argv[3], 'rb').read())\n"
                  "    der = crypto.dump_publickey(crypto.FILETYPE_ASN1, cert.get_pubkey())\n"
                  "    pin = 'sha256//' + base64.b64encode(hashlib.sha256(der).digest()).decode()\n"
                  "else:\n"
                  "    class Handler(Rules, FTPHandler):\n"
                  "        pass\n"
                  "Handler.authorizer = authorizer\n"
                  "Handler.auth_failed_timeout = 0\n"
                  "if len(sys.argv) > 2 and sys.argv[2]:\n"
                  "    Handler.masquerade_address = sys.argv[2]\n"
                  "server = FTPServer(('127.0.0.1', 0), Handler)\n"
                  "print(server.address[1], flush=True)\n"
                  "if tls:\n"
                  "    print(pin, flush=True)\n"
                  "server.serve_forever()\n");
    script_.flush();
    // Debian's interpreter: another python3 earlier on PATH may lack pyftpdlib.
    process_.start("/usr/bin/python3",
                   {script_.fileName(), QString::fromStdString(root), QString::fromStdString(masquerade),
                    QString::fromStdString(certificate), QString::fromStdString(key)});
    if (!process_.waitForStarted(10000)) return;
    while (!process_.canReadLine() && process_.waitForReadyRead(15000)) {}
    port = process_.readLine().trimmed().toInt();
    if (port == 0) error = process_.readAllStandardError().toStdString();
    if (port != 0 && !certificate.empty()) {
      while (!process_.canReadLine() && process_.waitForReadyRead(15000)) {}
      pin = process_.readLine().trimmed().toStdString();
    }
  }
  ~PyFtpServer() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port); }

  // Stops and continues the server process: a server that accepts connections and then
  // answers nothing.
  void Pause() { ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP); }
  void Resume() { ::kill(static_cast<pid_t>(process_.processId()), SIGCONT); }

  int port = 0;  // 0 when the server did not start
  std::string error;
  std::string pin;  // FTPS: the certificate's public key as "sha256//BASE64", worked out by the server

 private:
  QTemporaryFile script_;
  QProcess process_;
};
