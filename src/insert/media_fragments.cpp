#include "insert/media_fragments.h"

#include "core/text.h"

namespace insert {

namespace {

std::string SourceLine(const std::string& path) { return "<source src=\"" + core::FileUrl(path) + "\""; }

}  // namespace

std::string MediaExtension(const std::string& path) { return core::ExtensionOf(path); }

PieceFragment BuildSound(const SoundValues& v) {
  return {{v.autoplay ? "<audio autoplay>" : "<audio controls>", SourceLine(v.path),
           "type=\"audio/" + MediaExtension(v.path) + "\">", "Your browser does not support the audio element.",
           "</audio>"},
          true};
}

PieceFragment BuildVideo(const VideoValues& v) {
  std::string open = "<video width=\"" + v.width + "\" height=\"" + v.height + "\"" +
                     (v.autoplay ? " controls autoplay>" : " controls>") + "\r\n";
  return {{open, SourceLine(v.path), "type=\"video/" + core::Trim(MediaExtension(v.path)) + "\">",
           "Your browser does not support the video tag.", "</video>"},
          false};
}

std::vector<std::string> VideoSizeChoices() {
  std::vector<std::string> sizes;
  for (int px = 100; px <= 240; px += 10) sizes.push_back(std::to_string(px) + "px");
  return sizes;
}

}  // namespace insert
