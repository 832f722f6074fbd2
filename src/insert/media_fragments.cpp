#include "insert/media_fragments.h"

#include "core/text.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

std::string SourceLine(const std::string& path) { return "<source src=\"" + LocalFileUrl(path) + "\""; }

}  // namespace

std::string MediaExtension(const std::string& path) { return core::ExtensionOf(path); }

PieceFragment BuildSound(const SoundValues& v) {
  return {{v.autoplay ? "<audio autoplay>" : "<audio controls>", SourceLine(v.path),
           "type=\"audio/" + AttributeText(MediaExtension(v.path)) + "\">",
           "Your browser does not support the audio element.", "</audio>"},
          true};
}

PieceFragment BuildVideo(const VideoValues& v) {
  std::string open = "<video width=\"" + AttributeText(v.width) + "\" height=\"" + AttributeText(v.height) + "\"" +
                     (v.autoplay ? " controls autoplay>" : " controls>") + "\r\n";
  return {{open, SourceLine(v.path), "type=\"video/" + AttributeText(core::Trim(MediaExtension(v.path))) + "\">",
           "Your browser does not support the video tag.", "</video>"},
          false};
}

}  // namespace insert
