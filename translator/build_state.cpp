#include "build_state.h"

#include <cinttypes>
#include <cstdio>

#include "core/file_stamp.h"
#include "core/text.h"

namespace translator {

namespace {

constexpr std::string_view kHeader = "Verosta site build 1";

bool OneLine(std::string_view s) { return s.find_first_of("\r\n") == std::string_view::npos; }

// A record whose paths or messages span lines could not be read back: it is left out, and
// its page is made again next time.
bool Storable(const std::string& program, const PageRecord& r) {
  if (!OneLine(program) || !OneLine(r.page)) return false;
  for (const InputRecord& in : r.inputs)
    if (!OneLine(in.path)) return false;
  for (const Diagnostic& d : r.diagnostics)
    if (!OneLine(d.path) || !OneLine(d.message) || d.path.find('\t') != std::string::npos) return false;
  for (const Reference& ref : r.references)
    if (!OneLine(ref.path) || !OneLine(ref.target) || ref.path.find('\t') != std::string::npos) return false;
  for (const std::string& id : r.ids)
    if (!OneLine(id)) return false;
  return true;
}

std::string Hex(uint64_t v) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016" PRIx64, v);
  return buf;
}

// The words of a line before its last field, which runs to the end (a path may hold spaces).
bool Fields(std::string_view line, size_t count, std::vector<std::string>& words, std::string& last) {
  words.clear();
  while (words.size() < count) {
    size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank == 0) return false;
    words.emplace_back(line.substr(0, blank));
    line.remove_prefix(blank + 1);
  }
  last.assign(line);
  return true;
}

}  // namespace

std::string BuildStateText(const BuildState& state) {
  std::string text = std::string(kHeader) + "\n";
  if (OneLine(state.setup)) text += "Setup " + state.setup + "\n";
  for (const auto& [program, r] : state.pages) {
    if (!Storable(program, r)) continue;
    text += "Program " + program + "\n";
    if (!r.page.empty()) text += "Page " + r.page + "\n";
    for (const InputRecord& in : r.inputs) {
      if (in.listed) text += "Listed " + Hex(in.digest) + " " + in.path + "\n";
      else
        text += "Input " + std::to_string(in.exists ? in.size : -1) + " " + std::to_string(in.modifiedNs) + " " +
                std::to_string(in.inode) + " " + Hex(in.digest) + (in.trusted ? " T " : " U ") + in.path + "\n";
    }
    for (const Diagnostic& d : r.diagnostics)
      text += std::string("Message ") + (d.severity == Diagnostic::Severity::Error ? "E " : "W ") +
              std::to_string(d.line) + " " + d.path + "\t" + d.message + "\n";
    for (const Reference& ref : r.references)
      text += "Ref " + std::to_string(static_cast<int>(ref.kind)) + " " + std::to_string(ref.line) + " " + ref.path +
              "\t" + ref.target + "\n";
    for (const std::string& id : r.ids) text += "Id " + id + "\n";
  }
  return text + "End\n";
}

BuildState ParseBuildState(std::string_view text) {
  BuildState state;
  std::vector<std::string> lines = core::SplitLines(text);
  // A state cut short (it is not synced to the disk) could miss an input of a page: it is not used.
  if (lines.size() < 2 || lines[0] != kHeader || lines.back() != "End") return state;
  PageRecord* current = nullptr;
  std::vector<std::string> w;
  std::string value;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (core::MatchKey(line, "Setup ", value)) {
      state.setup = line.substr(6);
    } else if (core::StartsWith(line, "Program ")) {
      current = &state.pages[line.substr(8)];
    } else if (!current) {
      continue;
    } else if (core::StartsWith(line, "Page ")) {
      current->page = line.substr(5);
    } else if (core::StartsWith(line, "Listed ") && Fields(line.substr(7), 1, w, value)) {
      current->inputs.push_back({.path = value, .listed = true, .digest = std::strtoull(w[0].c_str(), nullptr, 16)});
    } else if (core::StartsWith(line, "Input ") && Fields(line.substr(6), 5, w, value)) {
      InputRecord in{.path = value, .size = std::atoll(w[0].c_str())};
      in.exists = in.size >= 0;
      if (!in.exists) in.size = 0;
      in.modifiedNs = std::atoll(w[1].c_str());
      in.inode = std::strtoull(w[2].c_str(), nullptr, 10);
      in.digest = std::strtoull(w[3].c_str(), nullptr, 16);
      in.trusted = w[4] == "T";
      current->inputs.push_back(in);
    } else if (core::StartsWith(line, "Id ")) {
      current->ids.push_back(line.substr(3));
    } else if (core::StartsWith(line, "Ref ") && Fields(line.substr(4), 2, w, value)) {
      size_t tab = value.find('\t');
      int kind = std::atoi(w[0].c_str());
      if (tab == std::string::npos || kind < 0 || kind > static_cast<int>(Reference::Kind::Link)) continue;
      current->references.push_back(
          {value.substr(0, tab), std::atoi(w[1].c_str()), value.substr(tab + 1), static_cast<Reference::Kind>(kind)});
    } else if (core::StartsWith(line, "Message ") && Fields(line.substr(8), 2, w, value)) {
      size_t tab = value.find('\t');
      if (tab == std::string::npos) continue;
      current->diagnostics.push_back({value.substr(0, tab), std::atoi(w[1].c_str()),
                                      w[0] == "E" ? Diagnostic::Severity::Error : Diagnostic::Severity::Warning,
                                      value.substr(tab + 1)});
    }
  }
  return state;
}

std::string BuildStatePath(const std::string& stateFolder, const std::string& siteFolder) {
  return core::JoinPath(core::JoinPath(stateFolder, "Sites"), Hex(core::ContentHash(siteFolder)) + ".build");
}

}  // namespace translator
