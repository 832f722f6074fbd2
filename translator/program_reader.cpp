#include "program_reader.h"

#include <algorithm>
#include <cstring>

#include "keywords.h"
#include "line_reader.h"

namespace translator {

namespace {

// Batches out at once: one being filled, two waiting, one being run. The reader is at
// most that far ahead of the translator, and its memory stays a few pieces.
constexpr int kBatches = 4;

// Room for `need` bytes, keeping the first `held`; growing at least by doubling, so a
// line of many pieces is copied a few times only.
void Reserve(Batch& b, size_t need, size_t held) {
  if (b.capacity >= need) return;
  size_t capacity = std::max(need, 2 * b.capacity);
  std::unique_ptr<char[]> larger(new char[capacity]);
  if (held) std::memcpy(larger.get(), b.bytes.get(), held);
  b.bytes = std::move(larger);
  b.capacity = capacity;
}

}  // namespace

void Batch::Clear() {
  steps.clear();
  slips.clear();
  first = sawCommand = last = readError = false;
  eol.clear();
}

ProgramReader::ProgramReader(std::FILE* in, size_t pieceBytes, MarkupScanner& scanner,
                             const std::atomic<bool>& warningsFull)
    : in_(in), piece_(std::max<size_t>(pieceBytes, 1)), scanner_(scanner), warningsFull_(warningsFull) {
  thread_ = std::thread([this] { Read(); });
}

ProgramReader::~ProgramReader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

std::unique_ptr<Batch> ProgramReader::Next() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !ready_.empty() || failure_; });
  if (ready_.empty()) std::rethrow_exception(failure_);
  std::unique_ptr<Batch> b = std::move(ready_.front());
  ready_.pop_front();
  return b;
}

void ProgramReader::Done(std::unique_ptr<Batch> batch) {
  batch->Clear();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(std::move(batch));
    --lent_;
  }
  changed_.notify_all();
}

void ProgramReader::Resume(bool go) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    resumed_ = true;
    stop_ = stop_ || !go;
  }
  changed_.notify_all();
}

std::unique_ptr<Batch> ProgramReader::Take() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || lent_ < kBatches; });
  if (stop_) return nullptr;
  ++lent_;
  if (free_.empty()) {
    auto b = std::make_unique<Batch>();
    b->steps.reserve(std::min<size_t>(piece_ / 64 + 16, 4096));  // about one a line
    return b;
  }
  std::unique_ptr<Batch> b = std::move(free_.back());
  free_.pop_back();
  return b;
}

void ProgramReader::Push(std::unique_ptr<Batch> batch) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ready_.push_back(std::move(batch));
  }
  changed_.notify_all();
}

bool ProgramReader::WaitForResume() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || resumed_; });
  resumed_ = false;
  return !stop_;
}

void ProgramReader::Read() {
  try {
    ReadPieces();
  } catch (...) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      failure_ = std::current_exception();
    }
    changed_.notify_all();
  }
}

// Reads the program a piece at a time and hands on whole lines only: the start of a
// line (or a CR whose LF may follow) waits for the next piece, at the start of the
// next batch.
void ProgramReader::ReadPieces() {
  std::unique_ptr<Batch> b = Take();
  if (!b) return;
  size_t held = 0, kept = 0;  // bytes in b; bytes in b before the last read
  bool started = false, atEnd = false, again = false;  // again: lines are held that were not looked at
  int number = 0;
  for (;;) {
    if (!again) {
      Reserve(*b, held + piece_, held);
      kept = held;
      size_t got = std::fread(b->bytes.get() + held, 1, piece_, in_);
      if (std::ferror(in_)) {
        b->Clear();
        b->readError = b->last = true;
        Push(std::move(b));
        return;
      }
      held += got;
      atEnd = got < piece_;
      if (!started) {
        // The page's line end is the program's first one.
        std::string_view pending(b->bytes.get(), held);
        if (pending.find('\n', kept) == std::string_view::npos && !atEnd) continue;
        b->first = started = true;
        b->eol = LineEndOf(pending);
      }
    }
    again = false;
    std::string_view pending(b->bytes.get(), held);
    size_t whole = atEnd ? held : WholeLines(pending, kept), used = whole;
    if (whole == 0 && !atEnd) continue;
    Classified outcome = Classify(*b, pending.substr(0, whole), number, used);
    if (outcome == Classified::End || (outcome == Classified::Whole && atEnd)) {
      b->last = true;
      Push(std::move(b));
      return;
    }
    // What follows the lines looked at starts the next batch.
    std::unique_ptr<Batch> next = Take();
    if (!next) return;
    size_t rest = held - used;
    Reserve(*next, rest + piece_, 0);
    std::memcpy(next->bytes.get(), b->bytes.get() + used, rest);
    held = rest;
    Push(std::move(b));
    b = std::move(next);
    if (outcome == Classified::Include) {
      // The included file goes through the scanner before the lines after the #Include.
      if (!WaitForResume()) return;
      again = true;
      kept = 0;
    }
  }
}

Classified ProgramReader::Classify(Batch& b, std::string_view text, int& number, size_t& used) {
  return ClassifyLines(b, text, number, used, scanner_, warningsFull_);
}

Classified ClassifyLines(Batch& b, std::string_view text, int& number, size_t& used, MarkupScanner& scanner,
                         const std::atomic<bool>& warningsFull, size_t most) {
  const char* run = nullptr;  // the text lines not yet made a step
  size_t runBytes = 0;
  int runNumber = 0;
  auto endRun = [&] {
    if (!run) return;
    Step& s = b.steps.emplace_back();
    s.number = runNumber;
    s.text = run;
    s.size = runBytes;
    run = nullptr;
  };
  CommandLine command;
  const Command* row = nullptr;
  LineReader reader(text);
  while (!reader.AtEnd()) {
    if (b.steps.size() >= most) {
      endRun();
      used = reader.Position();
      return Classified::Full;
    }
    SourceLine line = reader.Next();
    ++number;
    // Most lines of a page start with a tag: neither a command nor a word that looks like one.
    bool markup = !line.text.empty() && line.text[0] == '<';
    if (scanner.InRawText() || markup || !ParseLine(line.text, command, row)) {
      if (!scanner.InRawText() && !markup && !warningsFull.load(std::memory_order_relaxed)) {
        std::string slip = SlipWarning(line.text);
        if (!slip.empty()) {
          endRun();
          Step& s = b.steps.emplace_back();
          s.kind = Step::Kind::Slip;
          s.number = number;
          s.rest = b.slips.size();
          b.slips.push_back(std::move(slip));
        }
      }
      scanner.Scan(line.text);
      if (!run) {
        run = line.text.data();
        runNumber = number;
      }
      runBytes = static_cast<size_t>(line.text.data() - run) + line.text.size() + line.end.size();
      continue;
    }
    b.sawCommand = true;
    endRun();
    if (command.comment) continue;
    if (row->name == "#End") return Classified::End;
    Step& s = b.steps.emplace_back();
    s.kind = row->name == "#Include" ? Step::Kind::Include : Step::Kind::Command;
    s.number = number;
    s.text = line.text.data();
    s.size = line.text.size();
    s.rest = static_cast<size_t>(command.rest.data() - line.text.data());
    s.endSize = static_cast<unsigned char>(line.end.size());
    s.row = row;
    if (s.kind == Step::Kind::Include) {
      used = reader.Position();
      return Classified::Include;
    }
  }
  endRun();
  used = text.size();
  return Classified::Whole;
}

}  // namespace translator
