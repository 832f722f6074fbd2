// Fragments of the Play Sound and Play Video dialogs, and the piece-by-piece form that
// several insert dialogs share.
#pragma once
#include <string>
#include <vector>

namespace insert {

// A fragment inserted in pieces: each piece goes in at the caret, with a line break step
// between two pieces (and after the last one when `breakAfterLast`).
struct PieceFragment {
  std::vector<std::string> pieces;
  bool breakAfterLast = false;
};

struct SoundValues {
  std::string path;  // "Locate sound:"
  bool autoplay = false;
};

struct VideoValues {
  std::string path;  // "Locate video:"
  std::string width = "240px";
  std::string height = "240px";
  bool autoplay = false;
};

// The media type: the extension of the path's file name as it stands ("" when none).
std::string MediaExtension(const std::string& path);

PieceFragment BuildSound(const SoundValues& v);
// The first piece carries a CR LF of its own, which the later pieces push along so that
// it ends the "</video>" line.
PieceFragment BuildVideo(const VideoValues& v);

}  // namespace insert
