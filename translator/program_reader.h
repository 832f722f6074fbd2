// A program read from its file on a thread of its own. While the translator runs the
// commands of one piece of the program, the next piece is read, cut into lines, and
// each line found to be text or a command; the translator gets the lines as steps.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "commands.h"
#include "markup_scanner.h"
#include "translator.h"

namespace translator {

// What the translator does next, in the order of the program's lines. Kept small: a
// batch holds a step for every command and every run of text lines.
struct Step {
  enum class Kind : unsigned char {
    Text,     // lines that go into the page as they stand, each with its end
    Command,  // a command line
    Include,  // an #Include line: the reader waits until the translator has run it
    Slip,     // a text line whose first word looks like a command typed wrongly
  };
  const char* text = nullptr;  // Text: the lines, with their ends; Command, Include: the line
  size_t size = 0;             // of the text
  size_t rest = 0;             // Command, Include: where the text after the keyword starts;
                               // Slip: the warning's place in Batch::slips
  int number = 0;              // the line's number; for Text, its first line's
  Kind kind = Kind::Text;
  unsigned char endSize = 0;   // Command, Include: the line end's size
  const Command* row = nullptr;

  std::string_view Text() const { return {text, size}; }
  SourceLine Line() const { return {Text(), {text + size, endSize}}; }
  CommandLine Words() const { return {row->name, Text().substr(rest), false}; }
};

// The steps of some whole lines of the program, and the bytes they point into.
struct Batch {
  std::unique_ptr<char[]> bytes;
  size_t capacity = 0;
  std::vector<Step> steps;
  std::vector<std::string> slips;
  bool first = false;  // the first batch; `eol` is the program's first line end
  std::string eol;
  bool sawCommand = false;  // a line of these was a command (comments too)
  bool last = false;        // nothing follows: the program ended, at its end or at #End
  bool readError = false;   // the program cannot be read further; the steps are empty

  void Clear();
};

// How far ClassifyLines went: through the whole text, up to and with an #Include line,
// up to an #End line (not taken), or up to the steps asked for.
enum class Classified { Whole, Include, End, Full };

// Turns the lines of `text` into steps of `batch`, feeding the text lines to `scanner`,
// as far as Classified says; at most `most` steps are made. `used` is where the lines
// taken end, and `number` counts them. Once `warningsFull` is set, slips are not looked for.
Classified ClassifyLines(Batch& batch, std::string_view text, int& number, size_t& used, MarkupScanner& scanner,
                         const std::atomic<bool>& warningsFull, size_t most = SIZE_MAX);

class ProgramReader {
 public:
  // `scanner` follows the markup of the text lines: the reader feeds it, except while
  // the translator runs an #Include step (the reader waits then). Once `warningsFull`
  // is set no more warnings are shown, and slips are no longer looked for.
  ProgramReader(std::FILE* in, size_t pieceBytes, MarkupScanner& scanner, const std::atomic<bool>& warningsFull);
  // Stops the reading and waits for its thread.
  ~ProgramReader();
  ProgramReader(const ProgramReader&) = delete;
  ProgramReader& operator=(const ProgramReader&) = delete;

  // The next batch, once it is ready. After a batch marked last there is none.
  std::unique_ptr<Batch> Next();
  // Gives back a batch whose steps are done, for its memory to serve again.
  void Done(std::unique_ptr<Batch> batch);
  // Ends the wait after an #Include step: the reading goes on, or stops when not `go`.
  void Resume(bool go);

 private:
  void Read();
  void ReadPieces();
  Classified Classify(Batch& batch, std::string_view text, int& number, size_t& used);
  std::unique_ptr<Batch> Take();
  void Push(std::unique_ptr<Batch> batch);
  bool WaitForResume();

  std::FILE* in_;
  const size_t piece_;
  MarkupScanner& scanner_;
  const std::atomic<bool>& warningsFull_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> ready_;
  std::vector<std::unique_ptr<Batch>> free_;
  int lent_ = 0;  // batches out of the free list: being filled, ready or being run
  bool stop_ = false, resumed_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace translator
