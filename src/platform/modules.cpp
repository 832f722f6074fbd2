#include "platform/modules.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QString>
#include <map>
#include <memory>

namespace modules {
namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

}  // namespace

void SetFolder(const std::string& folder) { Folder() = folder; }

void* Resolve(const char* module, const char* symbol) {
  // Loaded modules stay loaded for the run: their functions may be called again at any time.
  static std::map<std::string, std::unique_ptr<QLibrary>> loaded;
  std::unique_ptr<QLibrary>& library = loaded[module];
  if (!library) {
    const QString folder = Folder().empty() ? QCoreApplication::applicationDirPath() : QString::fromStdString(Folder());
    library = std::make_unique<QLibrary>(folder + "/" + module + ".so");
  }
  return reinterpret_cast<void*>(library->resolve(symbol));
}

}  // namespace modules
