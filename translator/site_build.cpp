#include "site_build.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

#include "build_state.h"
#include "core/file_stamp.h"
#include "core/files.h"
#include "core/own_files.h"
#include "core/text.h"
#include "references.h"
#include "site_checks.h"

namespace translator {

namespace fs = std::filesystem;

bool ExcludedFromSite(const std::string& relative, const std::vector<std::string>& patterns) {
  std::vector<std::string> parts;
  for (size_t start = 0; start <= relative.size();) {
    size_t slash = std::min(relative.find('/', start), relative.size());
    parts.push_back(relative.substr(start, slash - start));
    start = slash + 1;
  }
  for (const std::string& p : patterns) {
    if (p.empty()) continue;
    bool folderOnly = p.back() == '/';
    if (!folderOnly && p.find('/') != std::string::npos) {
      if (fnmatch(p.c_str(), relative.c_str(), FNM_PATHNAME) == 0) return true;
      continue;
    }
    std::string name = folderOnly ? p.substr(0, p.size() - 1) : p;
    for (size_t i = 0; i + (folderOnly ? 1 : 0) < parts.size(); ++i)
      if (fnmatch(name.c_str(), parts[i].c_str(), 0) == 0) return true;
  }
  return false;
}

std::vector<std::string> SitePrograms(const std::string& folder, const core::SiteFile& site,
                                      const std::string& configFolder) {
  std::vector<std::string> programs;
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string path = it->path().string();
    std::string relative = path.substr(std::min(path.size(), folder.size() + 1));
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      if (ExcludedFromSite(relative + "/x", site.exclude)) it.disable_recursion_pending();
      continue;
    }
    if (!core::EqualsNoCase(core::ExtensionOf(path), "web") || !it->is_regular_file(typeError)) continue;
    if (ExcludedFromSite(relative, site.exclude) || core::IsEditorsOwnFile(path, configFolder)) continue;
    programs.push_back(path);
  }
  std::sort(programs.begin(), programs.end());
  return programs;
}

namespace {

long long NowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// A stamp is trusted once the file has been left alone for longer than a file system's
// time stamps are coarse.
constexpr long long kStampGrainNs = 2'000'000'000;

// The files and folder lists of one build, each read once and shared by the worker threads.
class FileCache {
 public:
  struct File {
    std::once_flag once;
    bool ok = false;
    std::string bytes;
    core::FileStamp stamp;
    uint64_t digest = 0;
  };
  struct Listing {
    std::once_flag once;
    bool ok = false;
    std::vector<std::string> names;
    uint64_t digest = 0;
  };

  // A file's stamp, looked at once per build (before any read of it).
  core::FileStamp Stamp(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto [it, added] = stamps_.try_emplace(path);
    if (added) it->second = core::StampOf(path);
    return it->second;
  }
  const File& Read(const std::string& path) {
    File& f = Slot(files_, path);
    std::call_once(f.once, [&] {
      f.stamp = core::StampOf(path);
      f.ok = f.stamp.exists && core::ReadFileBytes(path, f.bytes);
      if (!f.ok) f.bytes.clear();
      f.digest = core::ContentHash(f.bytes);
    });
    return f;
  }
  const Listing& List(const std::string& folder) {
    Listing& l = Slot(listings_, folder);
    std::call_once(l.once, [&] {
      std::error_code ec;
      fs::directory_iterator it(folder, ec), end;
      l.ok = !ec;
      for (; l.ok && it != end; it.increment(ec)) {
        if (ec) l.ok = false;
        else if (std::error_code typeError; it->is_regular_file(typeError))
          l.names.push_back(it->path().filename().string());
      }
      std::sort(l.names.begin(), l.names.end());
      std::string joined = l.ok ? "+" : "-";
      for (const std::string& n : l.names) joined += n + '\n';
      l.digest = core::ContentHash(joined);
    });
    return l;
  }

 private:
  template <typename T>
  T& Slot(std::unordered_map<std::string, std::unique_ptr<T>>& map, const std::string& key) {
    std::lock_guard lock(mutex_);
    std::unique_ptr<T>& slot = map[key];
    if (!slot) slot = std::make_unique<T>();
    return *slot;
  }
  std::mutex mutex_;
  std::unordered_map<std::string, std::unique_ptr<File>> files_;
  std::unordered_map<std::string, std::unique_ptr<Listing>> listings_;
  std::unordered_map<std::string, core::FileStamp> stamps_;
};

// Whether an input is as the last build saw it: the stamp first, the contents only when the
// stamp changed (or was not trusted). A file with the same contents gets its new stamp.
bool Unchanged(InputRecord& in, FileCache& cache, long long startNs, bool& restamped) {
  if (in.listed) return cache.List(in.path).digest == in.digest;
  core::FileStamp now = cache.Stamp(in.path);
  if (!now.exists || !in.exists) return now.exists == in.exists;
  if (in.trusted && now.size == in.size && now.modifiedNs == in.modifiedNs && now.inode == in.inode) return true;
  if (now.size != in.size) return false;
  const FileCache::File& f = cache.Read(in.path);
  if (!f.ok || f.digest != in.digest) return false;
  bool trusted = f.stamp.modifiedNs < startNs - kStampGrainNs;
  if (f.stamp.modifiedNs != in.modifiedNs || f.stamp.inode != in.inode || trusted != in.trusted) {
    in.modifiedNs = f.stamp.modifiedNs;
    in.inode = f.stamp.inode;
    in.trusted = trusted;
    restamped = true;
  }
  return true;
}

struct Job {
  std::string program;
  Result result;
  PageRecord record;
};

// Translates one program as Create Web Page does, noting every file and folder it reads.
void Translate(Job& job, FileCache& cache, const Options& base, long long startNs) {
  std::vector<std::string> read, listed;
  auto note = [](std::vector<std::string>& seen, const std::string& path) {
    if (std::find(seen.begin(), seen.end(), path) == seen.end()) seen.push_back(path);
  };
  Options options = base;
  options.readsDisk = true;
  options.read = [&](const std::string& path, std::string& bytes) {
    note(read, path);
    const FileCache::File& f = cache.Read(path);
    bytes = f.bytes;
    return f.ok;
  };
  options.list = [&](const std::string& folder, std::vector<std::string>& names) {
    note(listed, folder);
    const FileCache::Listing& l = cache.List(folder);
    names = l.names;
    return l.ok;
  };
  job.result = TranslateFile(job.program, options);
  if (read.empty()) read.push_back(job.program);  // refused for its size before it was read
  for (const std::string& path : read) {
    const FileCache::File& f = cache.Read(path);
    job.record.inputs.push_back({.path = path,
                                 .exists = f.ok,
                                 .size = f.stamp.size,
                                 .modifiedNs = f.stamp.modifiedNs,
                                 .inode = f.stamp.inode,
                                 .digest = f.digest,
                                 .trusted = f.stamp.modifiedNs < startNs - kStampGrainNs});
  }
  for (const std::string& folder : listed)
    job.record.inputs.push_back({.path = folder, .listed = true, .digest = cache.List(folder).digest});
  job.record.diagnostics = job.result.diagnostics;
  job.record.references = std::move(job.result.references);
  if (job.result.ok) job.record.ids = PageIds(job.result.page);
  if (!job.result.ok && job.result.diagnostics.empty())
    job.record.diagnostics.push_back({job.program, 1, Diagnostic::Severity::Error, job.result.error});
}

void RunPool(size_t count, int jobs, const std::function<void(size_t)>& work) {
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i; (i = next++) < count;) work(i);
  };
  if (jobs <= 0) jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (size_t t = 1; t < std::min<size_t>(static_cast<size_t>(jobs), count); ++t) threads.emplace_back(worker);
  worker();
  for (std::thread& t : threads) t.join();
}

// True when the file holds exactly `bytes`.
bool Holds(const std::string& path, const std::string& bytes) {
  core::FileStamp stamp = core::StampOf(path);
  std::string old;
  return stamp.exists && stamp.size == static_cast<long long>(bytes.size()) && core::ReadFileBytes(path, old) &&
         old == bytes;
}

// A page is written under a temporary name and renamed over the old one; it is not synced:
// a page lost to a crash is made again from its program. `written` is false when the page
// already held these bytes: it is left as it is, time stamp and all.
bool WriteUnsynced(const std::string& path, const std::string& bytes, bool& written, std::string& error) {
  written = !Holds(path, bytes);
  if (!written) return true;
  static std::atomic<unsigned> counter{0};
  std::string target = core::ResolveWriteTarget(path);
  std::string temp =
      core::JoinPath(core::FolderOf(target), "." + core::FileNameOf(target) + ".vt" + std::to_string(::getpid()) + "-" +
                                                 std::to_string(counter++));
  struct stat old {};
  bool existed = ::stat(target.c_str(), &old) == 0;
  mode_t mode = existed ? (old.st_mode & 07777) : 0644;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  bool ok = fd >= 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  if (ok && existed && ::fchmod(fd, mode) != 0) ok = false;  // the old page's, not the umask's
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    error = std::strerror(errno);
    if (fd >= 0) ::unlink(temp.c_str());
  }
  return ok;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(path.empty() ? "." : path, ec).lexically_normal();
  std::string s = ec ? path : p.string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// The programs that another program includes (or opens): they are parts, not pages.
std::set<std::string> IncludedPrograms(const BuildState& state) {
  std::set<std::string> included;
  for (const auto& [program, record] : state.pages)
    for (const InputRecord& in : record.inputs)
      if (!in.listed && in.path != program && state.pages.count(in.path)) included.insert(in.path);
  return included;
}

// Writes the pages of the programs translated this time; a part makes no page and its
// lines are reported by the pages that include it. A page that failed stays out of the
// state, so it is tried again next time.
void WritePages(std::vector<Job>& jobs, const std::set<std::string>& included, int threads, BuildState& state,
                SiteBuildResult& result) {
  std::vector<std::string> errors(jobs.size());
  std::vector<char> written(jobs.size(), 0);
  RunPool(jobs.size(), threads, [&](size_t i) {
    Job& job = jobs[i];
    if (!job.result.ok || included.count(job.program)) return;
    job.record.page = core::PagePathOf(job.program);
    bool w = false;
    if (!WriteUnsynced(job.record.page, job.result.page, w, errors[i])) job.result.ok = false;
    written[i] = w;
  });
  for (size_t i = 0; i < jobs.size(); ++i) {
    Job& job = jobs[i];
    if (included.count(job.program)) {
      job.record.diagnostics.clear();
      state.pages[job.program] = job.record;
      continue;
    }
    if (!errors[i].empty())
      job.record.diagnostics.push_back({job.program, 1, Diagnostic::Severity::Error,
                                        "the page could not be written to " + job.record.page + ": " + errors[i]});
    if (job.result.ok) {
      if (written[i]) result.written.push_back(job.record.page);
      state.pages[job.program] = job.record;
      ++result.built;
    } else {
      state.pages.erase(job.program);
      ++result.failed;
    }
  }
  std::sort(result.written.begin(), result.written.end());
}

// The programs whose pages are to be made: those without a page, and those with an input
// that changed. The others' records go over into `state` as they are.
std::vector<Job> ProgramsToMake(const std::vector<std::string>& programs, BuildState& old, FileCache& cache,
                                long long startNs, BuildState& state, bool& restamped) {
  std::vector<Job> jobs;
  for (const std::string& program : programs) {
    auto it = old.pages.find(program);
    bool current = it != old.pages.end() && (it->second.page.empty() || core::FileExists(it->second.page));
    for (size_t i = 0; current && i < it->second.inputs.size(); ++i)
      current = Unchanged(it->second.inputs[i], cache, startNs, restamped);
    if (current) state.pages[program] = std::move(it->second);
    else jobs.push_back({program, {}, {}});
  }
  return jobs;
}

// Every program's messages in program order: those of this build, else those kept.
std::vector<Diagnostic> SiteDiagnostics(const std::vector<std::string>& programs, const BuildState& state,
                                        const std::vector<Job>& jobs) {
  std::vector<Diagnostic> all;
  for (const std::string& program : programs) {
    const std::vector<Diagnostic>* some = nullptr;
    if (auto it = state.pages.find(program); it != state.pages.end()) some = &it->second.diagnostics;
    else if (auto job = std::find_if(jobs.begin(), jobs.end(), [&](const Job& j) { return j.program == program; });
             job != jobs.end())
      some = &job->record.diagnostics;
    if (some) all.insert(all.end(), some->begin(), some->end());
  }
  return all;
}

// The references of every page of the site, changed or not, checked against the disk.
// They are taken out of `state`, which has been kept.
std::vector<Diagnostic> CheckSite(const std::string& folder, BuildState& state) {
  std::vector<SitePage> pages;
  for (auto& [program, record] : state.pages)
    if (!record.page.empty()) pages.push_back({record.page, std::move(record.references), std::move(record.ids)});
  return CheckSiteReferences(folder, pages, ListFolderOnDisk, [](const std::string& path, std::string& bytes) {
    return core::FileExists(path) && core::ReadFileBytes(path, bytes);
  });
}

}  // namespace

SiteBuildResult BuildSite(const SiteBuildOptions& o) {
  SiteBuildResult result;
  const long long startNs = NowNs();
  const std::string folder = Absolute(o.folder);
  core::SiteFile site;
  if (!core::FolderExists(folder)) {
    result.error = "The site folder \"" + folder + "\" does not exist";
    return result;
  }
  if (!core::ReadSiteFile(folder, site, &result.error)) return result;
  Options base = o.translate;
  base.lang = site.lang;
  base.checkReferences = false;  // every page is checked at the end, against the whole site
  base.warnPictureWithoutAlt = true;
  // A site's programs may share the files of the whole site, not only those of their own folders.
  base.allowed.push_back(folder);
  base.libraryFolder = Absolute(base.libraryFolder);
  base.scriptFolder = Absolute(base.scriptFolder);
  const std::vector<std::string> programs = SitePrograms(folder, site, base.configFolder);
  result.programs = programs.size();

  const std::string statePath = o.stateFolder.empty() ? "" : BuildStatePath(o.stateFolder, folder);
  const std::string setup = o.version + "|" + base.libraryFolder + "|" + base.scriptFolder + "|" + base.configFolder;
  BuildState old, state;
  std::string text;
  if (!statePath.empty() && core::ReadFileBytes(statePath, text)) old = ParseBuildState(text);
  if (old.setup != setup) old.pages.clear();
  state.setup = setup;
  bool changed = old.setup != setup || std::any_of(old.pages.begin(), old.pages.end(), [&](const auto& page) {
                   return !std::binary_search(programs.begin(), programs.end(), page.first);
                 });

  FileCache cache;
  std::vector<Job> jobs = ProgramsToMake(programs, old, cache, startNs, state, changed);
  changed = changed || !jobs.empty();

  // Translated first, then written: whether a program is a page or a part depends on all of them.
  std::mutex progressMutex;
  size_t done = 0;
  auto translateAll = [&](size_t from) {
    RunPool(jobs.size() - from, o.jobs, [&](size_t i) {
      Translate(jobs[from + i], cache, base, startNs);
      std::lock_guard lock(progressMutex);
      if (o.progress) o.progress(++done, jobs.size(), jobs[from + i].program);
    });
    for (size_t i = from; i < jobs.size(); ++i) state.pages[jobs[i].program] = jobs[i].record;
  };
  translateAll(0);
  std::set<std::string> included = IncludedPrograms(state);
  // A part that no program includes any longer becomes a page of its own.
  size_t firstAgain = jobs.size();
  for (const auto& page : state.pages) {
    const std::string& program = page.first;
    if (page.second.page.empty() && !included.count(program) &&
        std::none_of(jobs.begin(), jobs.end(), [&](const Job& j) { return j.program == program; }))
      jobs.push_back({program, {}, {}});
  }
  translateAll(firstAgain);

  WritePages(jobs, included, o.jobs, state, result);
  result.upToDate = programs.size() - jobs.size();
  result.diagnostics = SiteDiagnostics(programs, state, jobs);

  if (changed && !statePath.empty()) {
    std::error_code ec;
    fs::create_directories(core::FolderOf(statePath), ec);
    bool written = false;  // the state is a cache: one lost to a crash means a full build, so it is not synced
    if (!WriteUnsynced(statePath, BuildStateText(state), written, text))
      result.error = "The build state could not be kept in " + statePath + ": " + text;
  }
  std::vector<Diagnostic> checks = CheckSite(folder, state);
  result.diagnostics.insert(result.diagnostics.end(), checks.begin(), checks.end());
  return result;
}

}  // namespace translator
