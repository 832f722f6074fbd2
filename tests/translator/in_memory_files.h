// Translator options that serve files from memory, by full path, for the translator tests.
#pragma once
#include <map>
#include <string>

#include "translator.h"

inline translator::Options FilesOptions(std::map<std::string, std::string> files) {
  translator::Options o;
  o.libraryFolder = "/prog/Library";
  o.read = [files = std::move(files)](const std::string& path, std::string& bytes) {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  };
  return o;
}
