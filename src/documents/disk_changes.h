// Open files that another program changes or deletes while they are open in a tab.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/file_stamp.h"

struct App;

// Remembers `slot`'s file as `stamp` holding `bytes` (just read or written here) and keeps
// the files of the open documents watched.
void RememberDiskState(App& app, int slot, const core::FileStamp& stamp, std::string_view bytes);
// Watches the files of the open documents and their folders (a folder sees a file replaced
// by a rename, which the file's own watch does not); after a change, and whenever the main
// window is activated, the documents are checked against their files.
void WatchOpenDocuments(App& app);
// Compares every open document with its file: an unmodified document reloads, a modified
// one asks (when `mayAsk`; otherwise it is asked at the next check), and a document whose
// file was deleted keeps its text and is marked modified.
void CheckDocumentsOnDisk(App& app, bool mayAsk);
// Before a save over `slot`'s own file: when another program changed it since it was read,
// an unmodified document reloads first and a modified one asks. False = write nothing.
bool ConfirmSaveOverDiskChange(App& app, int slot);

// The part of a text that a reload replaces: [start, start + removed) of the old text
// becomes [start, start + inserted) of the new one; the common start and end stay.
struct TextSplice {
  size_t start = 0, removed = 0, inserted = 0;
};
TextSplice SpliceBetween(std::string_view before, std::string_view after);

// The questions and notes, shared with the tests.
inline constexpr const char* kChangedOnDiskQuestion =
    "This file was changed on disk by another program.\rReload it from disk, or keep your text?";
inline constexpr const char* kReloadChoice = "Reload";
inline constexpr const char* kKeepTextChoice = "Keep my text";
inline constexpr const char* kSaveOverQuestion =
    "This file was changed on disk by another program since it was read.\rSave your text over it?";
inline constexpr const char* kSaveOverChoice = "Save over it";
inline constexpr const char* kCancelChoice = "Cancel";
inline constexpr const char* kReloadedNote = " was changed on disk by another program and has been reloaded.";
inline constexpr const char* kDeletedNote = " was deleted on disk; its text stays open, unsaved.";
