// Loads the encrypted-transfer module on first use (see secure_transfer.h).
#include <QLibrary>
#include <filesystem>
#include <mutex>

#include "publish/secure_transfer.h"

#ifndef VEROSTA_BUILD_PROGRAM_DIR
#define VEROSTA_BUILD_PROGRAM_DIR ""
#endif

namespace {

using Factory = decltype(&VerostaSecureTransport);

// Stands in for the module when it cannot be loaded: the run says why at connecting.
class MissingModule : public PublishTransport {
 public:
  explicit MissingModule(std::string problem) : problem_(std::move(problem)) {}
  bool Connect(std::string& cause, std::string&) override { return cause = problem_, false; }
  bool OpenFolder(const std::string&, std::string&) override { return false; }
  bool MakeFolder(const std::string&, std::string&) override { return false; }
  bool List(const std::string&, std::vector<RemoteEntry>&, std::string&) override { return false; }
  Sent PutTemporary(const std::string&, const std::string&) override { return {}; }
  bool Place(const std::string&, const std::string&, std::string&) override { return false; }
  bool Delete(const std::string&, std::string&) override { return false; }
  void RemoveLeftover(const std::string&) override {}
  void Close(bool) override {}

 private:
  std::string problem_;
};

// The module beside the running program, else in the build's program folder. Loaded once
// and never unloaded.
Factory LoadModule(std::string& problem) {
  static std::mutex mutex;
  static Factory factory = nullptr;
  static std::string failure;
  std::lock_guard<std::mutex> lock(mutex);
  if (factory || !failure.empty()) return problem = failure, factory;
  std::error_code ec;
  std::string own = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
  for (const std::string& folder : {own, std::string(VEROSTA_BUILD_PROGRAM_DIR)}) {
    if (folder.empty()) continue;
    QLibrary module(QString::fromStdString(folder + "/" + kSecureModule));
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (module.load()) factory = reinterpret_cast<Factory>(module.resolve("VerostaSecureTransport"));
    if (factory) return factory;
    if (failure.empty()) failure = module.errorString().toStdString();
  }
  failure = std::string("the part for encrypted transfers (") + kSecureModule + ") could not be loaded: " + failure;
  return problem = failure, nullptr;
}

}  // namespace

std::unique_ptr<PublishTransport> SecureTransport(const PublishJob& job, ftp::RunControl& control) {
  std::string problem;
  Factory factory = LoadModule(problem);
  if (!factory) return std::make_unique<MissingModule>(problem);
  return std::unique_ptr<PublishTransport>(factory(job, control));
}
