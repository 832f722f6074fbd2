#include "insert/media_dialogs.h"

#include "documents/application.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"
#include "insert/media_fragments.h"

namespace insert {

void RunPlaySoundDialog(App& app) {
  InsertDialog d(app, {.entry = kPlaySoundDialog,
                       .controls = {Label(100, "Locate sound:"), TextBox(kSoundPathBox),
                                    PushButton(kSoundBrowseButton, "Browse..."),
                                    CheckBox(kSoundAutoplayBox, " Autoplay sound", app.settings.autoSound == 1)}});
  ConnectBrowse(app, d, kSoundBrowseButton, kSoundPathBox,
                {.dialog = {.title = "Open Sound File",
                            .filters = {{"MP3 Files (*.mp3)", "*.mp3"},
                                        {"Ogg Files (*.ogg)", "*.ogg"},
                                        {"Wav Files (*.wav)", "*.wav"},
                                        {"All Files (*.*)", "*.*"}}}});
  if (!RunInsertDialog(app, d)) return;
  PieceFragment f = BuildSound({d.Text(kSoundPathBox), d.Checked(kSoundAutoplayBox) == 1});
  InsertPieces(app, f.pieces);
  if (f.breakAfterLast) LineBreakStep(app);
  app.settings.autoSound = d.Checked(kSoundAutoplayBox);
  FinishOk(app, kPlaySoundDialog);
}

void RunPlayVideoDialog(App& app) {
  InsertDialog d(app, {.entry = kPlayVideoDialog,
                       .controls = {Label(100, "Locate video:"), TextBox(kVideoPathBox),
                                    PushButton(kVideoBrowseButton, "Browse..."), Label(103, "Video width:"),
                                    DropDown(kVideoWidthBox, SizeChoices(), "240px"), Label(105, "Video height:"),
                                    DropDown(kVideoHeightBox, SizeChoices(), "240px"),
                                    CheckBox(kVideoAutoplayBox, " Autoplay video", app.settings.autoVideo == 1)}});
  ConnectBrowse(app, d, kVideoBrowseButton, kVideoPathBox,
                {.dialog = {.title = "Open Video File",
                            .filters = {{"MP4 Files (*.mp4)", "*.mp4"}, {"All Files (*.*)", "*.*"}}}});
  if (!RunInsertDialog(app, d)) return;
  PieceFragment f = BuildVideo(
      {d.Text(kVideoPathBox), d.Text(kVideoWidthBox), d.Text(kVideoHeightBox), d.Checked(kVideoAutoplayBox) == 1});
  InsertPieces(app, f.pieces);
  if (f.breakAfterLast) LineBreakStep(app);
  app.settings.autoVideo = d.Checked(kVideoAutoplayBox);
  FinishOk(app, kPlayVideoDialog);
}

}  // namespace insert
