// The feedback sound: Qt Multimedia and the sound server's libraries load with the first
// sound, not at start-up.
#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT void VerostaPlaySound(const char* absolutePath) {
  static QSoundEffect* effect = nullptr;
  if (!effect) effect = new QSoundEffect(QCoreApplication::instance());
  effect->setSource(QUrl::fromLocalFile(QString::fromUtf8(absolutePath)));
  effect->setVolume(0.5);
  effect->play();
}
