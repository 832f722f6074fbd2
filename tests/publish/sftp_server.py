# A small SFTP server for tests and benchmarks, on paramiko (Debian python3-paramiko).
#   sftp_server.py ROOT HOSTKEYFILE
# Serves the folder ROOT as "/" (also the home folder) to the user anna with the password
# secret on 127.0.0.1 and a free port. It prints the port on its first line and the host
# key's fingerprint ("SHA256:" and unpadded base64) on the second. The host key is read
# from HOSTKEYFILE, or made and written there when the file does not exist yet.
# Renaming onto an existing file fails, as with OpenSSH's server, and an upload whose name
# holds "stuck" cannot be renamed into place at all. A written file whose name holds
# "short" keeps only its first half, as a server whose disk filled up would; one whose
# name holds "stall" stops answering after its first megabyte, one holding "hold" when it
# is closed.
import base64
import hashlib
import os
import socket
import sys
import threading
import time

import paramiko
from paramiko import SFTPAttributes, SFTPHandle, SFTPServer, SFTPServerInterface
from paramiko.sftp import SFTP_FAILURE, SFTP_OK

ROOT = os.path.realpath(sys.argv[1])
KEY_FILE = sys.argv[2]

if os.path.exists(KEY_FILE):
    HOST_KEY = paramiko.ECDSAKey.from_private_key_file(KEY_FILE)
else:
    HOST_KEY = paramiko.ECDSAKey.generate()
    HOST_KEY.write_private_key_file(KEY_FILE)


class Login(paramiko.ServerInterface):
    def check_auth_password(self, username, password):
        ok = username == 'anna' and password == 'secret'
        return paramiko.AUTH_SUCCESSFUL if ok else paramiko.AUTH_FAILED

    def get_allowed_auths(self, username):
        return 'password'

    def check_channel_request(self, kind, chanid):
        if kind == 'session':
            return paramiko.OPEN_SUCCEEDED
        return paramiko.OPEN_FAILED_ADMINISTRATIVELY_PROHIBITED


class Handle(SFTPHandle):
    def close(self):
        if self.writefile is not None and 'hold' in os.path.basename(self.filename):
            time.sleep(3600)
        super().close()
        if self.writefile is not None and 'short' in os.path.basename(self.filename):
            os.truncate(self.filename, os.path.getsize(self.filename) // 2)

    def write(self, offset, data):
        if 'stall' in os.path.basename(self.filename) and offset >= 1 << 20:
            time.sleep(3600)
        return super().write(offset, data)

    def stat(self):
        try:
            return SFTPAttributes.from_stat(os.fstat(self.readfile.fileno()))
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)


class Folder(SFTPServerInterface):
    def _local(self, path):
        clean = os.path.normpath('/' + path).lstrip('/')
        return os.path.join(ROOT, clean)

    def canonicalize(self, path):
        return os.path.normpath('/' + path).replace('//', '/')

    def list_folder(self, path):
        try:
            folder = self._local(path)
            out = []
            for name in os.listdir(folder):
                attr = SFTPAttributes.from_stat(os.stat(os.path.join(folder, name)))
                attr.filename = name
                out.append(attr)
            return out
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)

    def stat(self, path):
        try:
            return SFTPAttributes.from_stat(os.stat(self._local(path)))
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)

    lstat = stat

    def open(self, path, flags, attr):
        local = self._local(path)
        try:
            fd = os.open(local, flags | getattr(os, 'O_BINARY', 0), 0o644)
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        if flags & os.O_WRONLY:
            mode = 'ab' if flags & os.O_APPEND else 'wb'
        elif flags & os.O_RDWR:
            mode = 'a+b' if flags & os.O_APPEND else 'r+b'
        else:
            mode = 'rb'
        try:
            f = os.fdopen(fd, mode)
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        handle = Handle(flags)
        handle.filename = local
        handle.readfile = f
        handle.writefile = f if flags & (os.O_WRONLY | os.O_RDWR) else None
        return handle

    def remove(self, path):
        try:
            os.remove(self._local(path))
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        return SFTP_OK

    def rename(self, oldpath, newpath):
        target = self._local(newpath)
        if os.path.exists(target) or ('stuck' in os.path.basename(oldpath) and oldpath.endswith('.part')):
            return SFTP_FAILURE
        try:
            os.rename(self._local(oldpath), target)
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        return SFTP_OK

    def mkdir(self, path, attr):
        try:
            os.mkdir(self._local(path))
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        return SFTP_OK

    def rmdir(self, path):
        try:
            os.rmdir(self._local(path))
        except OSError as e:
            return SFTPServer.convert_errno(e.errno)
        return SFTP_OK

    def chattr(self, path, attr):
        return SFTP_OK


def serve(client):
    transport = paramiko.Transport(client)
    transport.add_server_key(HOST_KEY)
    transport.set_subsystem_handler('sftp', SFTPServer, Folder)
    try:
        transport.start_server(server=Login())
        while transport.is_active():
            transport.join(1)
    except Exception:
        pass
    finally:
        transport.close()


listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(('127.0.0.1', 0))
listener.listen(8)
print(listener.getsockname()[1], flush=True)
digest = hashlib.sha256(HOST_KEY.asbytes()).digest()
print('SHA256:' + base64.b64encode(digest).decode().rstrip('='), flush=True)
while True:
    sock, _ = listener.accept()
    threading.Thread(target=serve, args=(sock,), daemon=True).start()
