// The Play Sound and Play Video dialogs.
#pragma once

struct App;

namespace insert {

enum SoundIds { kSoundPathBox = 101, kSoundBrowseButton = 102, kSoundAutoplayBox = 103 };
enum VideoIds {
  kVideoPathBox = 101,
  kVideoBrowseButton = 102,
  kVideoWidthBox = 104,
  kVideoHeightBox = 106,
  kVideoAutoplayBox = 107
};

void RunPlaySoundDialog(App& app);
void RunPlayVideoDialog(App& app);

}  // namespace insert
