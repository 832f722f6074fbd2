// The user's Verosta folder: where programs, sites, library files and themes live.
// The program folder (executable, res/, help/, JavaScript/, Comp, Delete) may be read-only;
// the user's work is kept in the Verosta folder, which start-up makes the current folder, and
// the editor's settings and secrets in the configuration folder (platform/config_folder.h).
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
  std::string homeVariable;  // $VEROSTA_HOME ("" when unset)
  std::string programFolder;
  bool portable = false;        // a file `portable` stands in the program folder
  std::string documentsFolder;  // the desktop's documents folder
  bool documentsExists = false;
  std::string userHome;  // the user's home folder
};

// $VEROSTA_HOME, else the program folder of a portable copy, else Verosta in the documents
// folder (in the home folder when there is no documents folder).
std::string ChooseVerostaFolder(const FolderChoice& c);

// One file to copy from the program folder into the Verosta folder, or to move into the
// configuration folder (relative names).
struct CopyStep {
  std::string from, to;
  bool usersOwn = false;  // the user's file from an older copy, not shipped data
  bool toConfig = false;  // goes to the configuration folder
  bool move = false;      // moved, not copied: settings and passwords stay in one place only
};

struct FolderPlan {
  std::vector<std::string> folders;        // to create in the Verosta folder
  std::vector<std::string> configFolders;  // to create in the configuration folder
  std::vector<CopyStep> copies;            // in order; a target that exists is never overwritten
};

struct PlanInput {
  std::vector<std::string> programFiles;  // every file under the program folder, relative
  std::set<std::string> shipped;          // the shipped list; empty when the list is missing
  bool settingsChanged = false;           // the program folder's Verosta.ini differs from the defaults
  bool firstUse = false;                  // neither folder has a Verosta.ini yet
  bool sameFolder = false;                // the Verosta folder is the program folder
};

// What to create, copy and move. On first use the user's own files of an older copy come
// first (they win over the seeds): its configuration files move to the configuration folder,
// its programs and library files are copied. Then the seeds: the default Verosta.ini (into
// the configuration folder), New.web and the shipped Library/ and Themes/ files. Later
// starts only put back missing folders and New.web.
FolderPlan PlanVerostaFolder(const PlanInput& in);

// Sets up the folders for this start: chooses the Verosta folder and the configuration
// folder (`configFolder`, made 0700), creates and seeds them, moves the configuration files
// of the older layouts over once, copies the user's files of an older copy, and makes the
// Verosta folder the current folder. Returns the Verosta folder; `message` receives the one
// message the user should be shown ("" when nothing).
std::string EnterVerostaFolder(const std::string& programFolder, std::string& message, std::string& configFolder);

}  // namespace home
