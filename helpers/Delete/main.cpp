// Delete: reads delete.ini in the current folder ("File name " + path) and moves that file
// to the desktop trash. Exit code 0 when the file is in the trash, 1 otherwise.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

int Fail(const QString& why) {
  std::fprintf(stderr, "Delete: %s\n", why.toLocal8Bit().constData());
  return 1;
}

// The value of the last "File name " line; lines end at CR LF, CR or LF, and Ctrl+Z ends the file.
QByteArray FileNameFrom(const QByteArray& ini) {
  QByteArray text = ini.left(ini.indexOf('\x1a') < 0 ? ini.size() : ini.indexOf('\x1a'));
  text.replace("\r\n", "\n").replace('\r', '\n');
  QByteArray value;
  for (const QByteArray& line : text.split('\n'))
    if (line.startsWith("File name ")) value = line.mid(10);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QFile ini("delete.ini");
  if (!ini.open(QIODevice::ReadOnly)) return Fail("delete.ini cannot be read");
  const QString path = QString::fromUtf8(FileNameFrom(ini.readAll()));
  if (path.isEmpty()) return Fail("delete.ini names no file");
  if (!QFileInfo(path).isFile()) return Fail(path + " is not a file");

  // Without the data folder Qt puts the trash in the current folder; make sure it exists.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty() || !QDir().mkpath(data)) return Fail("no data folder for the trash");
  QString inTrash;
  if (!QFile::moveToTrash(path, &inTrash)) return Fail(path + " could not be moved to the trash");
  if (QDir::isRelativePath(inTrash)) {
    // Not a real trash: put the file back where it was.
    QFile::rename(inTrash, path);
    return Fail(path + " could not be moved to the trash");
  }
  return 0;
}
