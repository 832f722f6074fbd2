#include "documents/application.h"

#include "core/text.h"

std::string ProgramFile(const App& app, const std::string& relative) {
  return app.programFolder.empty() ? relative : core::JoinPath(app.programFolder, relative);
}

std::string ConfigFile(const App& app, const std::string& relative) {
  return app.configFolder.empty() ? relative : core::JoinPath(app.configFolder, relative);
}
