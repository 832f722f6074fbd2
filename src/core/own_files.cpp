#include "core/own_files.h"

#include <filesystem>
#include <fstream>

#include "core/text.h"

namespace core {

namespace {

constexpr std::string_view kOwnNames[] = {"verosta.ini", "ftpprojs.ini", "ftptrust.ini", "recent.ini",
                                          "cname.ini",   "final.ini",    "delete.ini",   "block.ini"};

// A saved profile is a few lines; a password line further in than this is not the editor's layout.
constexpr std::streamsize kProfileBytes = 64 * 1024;

std::string Canonical(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return ec ? std::string() : p.string();
}

bool Inside(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.empty()) return false;
  std::string prefix = folder.back() == '/' ? folder : folder + "/";
  return path == folder || StartsWith(path, prefix);
}

bool HoldsPassword(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes(static_cast<size_t>(kProfileBytes), '\0');
  in.read(bytes.data(), kProfileBytes);
  bytes.resize(static_cast<size_t>(in.gcount()));
  return LooksLikeFtpProfile(bytes);
}

}  // namespace

bool IsEditorsOwnName(std::string_view fileName) {
  std::string name = ToLower(fileName);
  // A safe write's temporary: "." + name + "." + six letters or digits.
  if (name.size() > 8 && name[0] == '.' && name[name.size() - 7] == '.') {
    bool temporary = true;
    for (size_t i = name.size() - 6; i < name.size(); ++i) temporary = temporary && IsAsciiAlnum(name[i]);
    if (temporary && IsEditorsOwnName(std::string_view(name).substr(1, name.size() - 8))) return true;
  }
  if (EndsWith(name, ".damaged")) return true;
  if (StartsWith(name, "ftpprojs-") && EndsWith(name, ".manifest")) return true;
  for (std::string_view own : kOwnNames)
    if (name == own) return true;
  return false;
}

bool LooksLikeFtpProfile(std::string_view bytes) {
  for (const std::string& line : SplitLines(bytes))
    if (line.size() >= 9 && EqualsNoCase(std::string_view(line).substr(0, 9), "password ")) return true;
  return false;
}

bool IsEditorsOwnFile(const std::string& path, const std::string& configFolder) {
  if (path.empty()) return false;
  const std::string canonical = Canonical(path);
  if (IsEditorsOwnName(FileNameOf(path)) || IsEditorsOwnName(FileNameOf(canonical))) return true;
  if (!configFolder.empty() && Inside(canonical, Canonical(configFolder))) return true;
  const bool ini = EqualsNoCase(ExtensionOf(path), "ini") || EqualsNoCase(ExtensionOf(canonical), "ini");
  return ini && HoldsPassword(canonical.empty() ? path : canonical);
}

}  // namespace core
