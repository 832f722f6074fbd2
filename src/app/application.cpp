#include "app/application.h"

#include "core/text.h"

#include "documents/search.h"
#include "publish/ftp_profiles.h"

App::App(Platform& p)
    : platform(p), search(std::make_unique<SearchState>()), profiles(std::make_unique<FtpProfileTable>()) {}
App::~App() = default;

std::string ProgramFile(const App& app, const std::string& relative) {
  return app.programFolder.empty() ? relative : core::JoinPath(app.programFolder, relative);
}

std::string ConfigFile(const App& app, const std::string& relative) {
  return app.configFolder.empty() ? relative : core::JoinPath(app.configFolder, relative);
}
