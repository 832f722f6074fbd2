// The Comment, Header, Text File, External Style Sheet and Special Characters dialogs.
#pragma once

struct App;

namespace insert {

enum CommentIds { kCommentBox = 101, kRemCommentBox = 102, kApostropheCommentBox = 103 };
enum HeaderIds { kHeaderBox = 101, kHeaderStyleBox = 102 };
enum PathDialogIds { kPathBox = 101, kPathBrowseButton = 102 };  // Text File, External Style Sheet
enum SpecialCharactersIds { kCharacterTableBox = 101 };

void RunCommentDialog(App& app);
void RunHeaderDialog(App& app);
void RunTextFileDialog(App& app);
void RunStyleSheetDialog(App& app);
void RunSpecialCharactersDialog(App& app);

}  // namespace insert
