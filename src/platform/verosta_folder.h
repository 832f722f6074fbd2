// The user's Verosta folder: where settings, sessions, library files and new programs live.
// The program folder (executable, res/, help/, JavaScript/, Comp, Delete) may be read-only;
// everything the user owns and may change is kept in the Verosta folder, which start-up makes
// the current folder.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace home {

inline constexpr const char* kHomeVariable = "VEROSTA_HOME";
inline constexpr const char* kPortableMarker = "portable";
// The shipped default settings, kept apart from any Verosta.ini a user changed in place.
inline constexpr const char* kDefaultSettings = "res/Verosta.ini";
// One line per shipped data file (relative, "/"), written by the build.
inline constexpr const char* kShippedList = "res/shipped.txt";

struct FolderChoice {
  std::string homeVariable;     // $VEROSTA_HOME ("" when unset)
  std::string programFolder;
  bool portable = false;        // a file `portable` stands in the program folder
  std::string documentsFolder;  // the desktop's documents folder
  bool documentsExists = false;
  std::string userHome;         // the user's home folder
};

// $VEROSTA_HOME, else the program folder of a portable copy, else Verosta in the documents
// folder (in the home folder when there is no documents folder).
std::string ChooseVerostaFolder(const FolderChoice& c);

// One file to copy from the program folder into the Verosta folder (relative names).
struct CopyStep {
  std::string from, to;
  bool usersOwn = false;  // the user's file from an older copy, not shipped data
};

struct FolderPlan {
  std::vector<std::string> folders;  // to create in the Verosta folder
  std::vector<CopyStep> copies;      // in order; a target that exists is never overwritten
};

struct PlanInput {
  std::vector<std::string> programFiles;  // every file under the program folder, relative
  std::set<std::string> shipped;          // the shipped list; empty when the list is missing
  bool settingsChanged = false;           // the program folder's Verosta.ini differs from the defaults
  bool firstUse = false;                  // the Verosta folder has no Verosta.ini yet
  bool sameFolder = false;                // the Verosta folder is the program folder
};

// What to create and copy. On first use the user's own files of an older copy come first
// (they win over the seeds), then the seeds: the default Verosta.ini, New.web and the
// shipped Library/ and Themes/ files. Later starts only put back missing folders and New.web.
FolderPlan PlanVerostaFolder(const PlanInput& in);

// The one message that tells the user which files were copied (empty when none).
std::string MovedMessage(const std::vector<std::string>& moved, const std::string& from, const std::string& to);

// Sets up the Verosta folder for this start: chooses it, creates and seeds it, copies the
// user's files of an older copy, makes it the current folder. Returns the folder; `message`
// receives what the user should be told ("" when nothing).
std::string EnterVerostaFolder(const std::string& programFolder, std::string& message);

}  // namespace home
