#include "extraction/sys/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "extraction/base/run_error.h"
#include "extraction/sys/operation_seam.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel::fs {
namespace {

std::atomic<OperationHook> g_operation_hook{nullptr};

// The error number that the seam wants this call to fail with, or 0.
int InjectedError(Operation operation, const Path& path) {
  const OperationHook hook = g_operation_hook.load(std::memory_order_acquire);
  return hook == nullptr ? 0 : hook(operation, path);
}

// Runs a system call that reports failure as -1 with errno, unless the seam
// fails it first; retries when a signal interrupted it.
template <typename Call>
auto Sys(Operation operation, const Path& path, Call&& call)
    -> decltype(call()) {
  if (int injected = InjectedError(operation, path)) {
    errno = injected;
    return -1;
  }
  decltype(call()) result;
  do {
    result = call();
  } while (result == -1 && errno == EINTR);
  return result;
}

// The output file being written, as DiscardUnfinishedOutput needs it. It
// is in atomics and a fixed buffer, since a signal handler reads it: `fd`
// is -1 while the rest is changed, and set last.
struct UnfinishedOutput {
  std::atomic<int> fd{-1};
  std::atomic<int> folder_fd{AT_FDCWD};
  std::atomic<bool> created{false};
  std::atomic<off_t> whole_length{0};
  // The name to remove a created file by, from `folder_fd`; empty when it
  // does not fit.
  char name[PATH_MAX] = {};
};
static_assert(std::atomic<int>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free &&
              std::atomic<off_t>::is_always_lock_free);

UnfinishedOutput g_unfinished;

void PublishOutput(int fd, int folder_fd, const char* name, bool created,
                   off_t whole_length) {
  g_unfinished.fd.store(-1);
  const std::size_t size = std::strlen(name);
  if (size < sizeof g_unfinished.name) {
    std::memcpy(g_unfinished.name, name, size + 1);
  } else {
    g_unfinished.name[0] = '\0';
  }
  g_unfinished.folder_fd.store(folder_fd);
  g_unfinished.created.store(created);
  g_unfinished.whole_length.store(whole_length);
  g_unfinished.fd.store(fd);
}

// The file of `fd` is done with: it is no longer the one being written.
void WithdrawOutput(int fd) {
  int published = fd;
  g_unfinished.fd.compare_exchange_strong(published, -1);
}

std::string Shown(const Path& path) {
  return TextToUtf8(DisplayName(PathText(path)));
}

bool StatFollowing(const Path& path, struct stat& st) {
  return Sys(Operation::kStat, path,
             [&] { return ::stat(path.c_str(), &st); }) == 0;
}

// Closes `fd`, failing when the system reports an error. close() is not
// retried: the descriptor is gone whatever it returns.
void CloseOrFail(int fd, const Path& path) {
  if (int injected = InjectedError(Operation::kClose, path)) {
    ::close(fd);
    Fail("cannot close", path, injected);
  }
  if (::close(fd) != 0 && errno != EINTR) Fail("cannot close", path, errno);
}

// A source's file descriptor, closed on every path. Close() reports a failed
// close; the destructor, reached only on a failure path, does not.
class Fd {
 public:
  Fd(const Path& path, int fd) : path_(&path), fd_(fd) {}
  Fd(Fd&& other) noexcept
      : path_(other.path_), fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Close() { CloseOrFail(std::exchange(fd_, -1), *path_); }

 private:
  const Path* path_;
  int fd_;
};

// Opens a source for reading and fills `st` for it: `name` inside the
// folder `folder_fd` (AT_FDCWD: `name` is the path), `path` naming it.
// O_NONBLOCK keeps a FIFO put in a source's place after the listing from
// blocking the run; only regular files are read. A folder named by a whole
// path (a listed file's) fails as a folder; inside a folder, where the
// listing saw a file, anything else in its place is an invalid source.
Fd OpenSource(int folder_fd, const char* name, const Path& path,
              struct stat& st) {
  const int fd = Sys(Operation::kOpen, path, [&] {
    return ::openat(folder_fd, name,
                    O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  });
  if (fd < 0) Fail("cannot open", path, errno);
  Fd source(path, fd);
  if (Sys(Operation::kStat, path, [&] { return ::fstat(fd, &st); }) != 0) {
    Fail("cannot stat", path, errno);
  }
  if (!S_ISREG(st.st_mode)) {
    const bool named_folder = folder_fd == AT_FDCWD && S_ISDIR(st.st_mode);
    Fail("cannot read", path, named_folder ? EISDIR : EINVAL);
  }
  return source;
}

// Reads into data[filled...] until `capacity` bytes are there or the file
// ends. A read that comes back short right at `expected_end` has met the
// end, so the read that would return nothing is spared.
std::size_t ReadInto(int fd, const Path& path, char* data, std::size_t capacity,
                     std::size_t filled,
                     std::size_t expected_end = std::string::npos) {
  while (filled < capacity) {
    const std::size_t wanted = capacity - filled;
    const ssize_t n = Sys(Operation::kRead, path,
                          [&] { return ::read(fd, data + filled, wanted); });
    if (n < 0) Fail("cannot read", path, errno);
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
    if (filled == expected_end && static_cast<std::size_t>(n) < wanted) break;
  }
  return filled;
}

}  // namespace

void Fail(std::string_view what, const Path& path, int error_number) {
  throw FileSystemError(std::string(what) + " " + Shown(path) + ": " +
                            std::strerror(error_number),
                        error_number);
}

bool FolderExists(const Path& path) {
  struct stat st;
  return !path.empty() && StatFollowing(path, st) && S_ISDIR(st.st_mode);
}

bool FileExists(const Path& path) {
  struct stat st;
  return !path.empty() && StatFollowing(path, st) && !S_ISDIR(st.st_mode);
}

bool IsFolderOrLink(const Path& path) {
  struct stat st;
  if (Sys(Operation::kStat, path, [&] { return ::lstat(path.c_str(), &st); }) !=
      0) {
    Fail("cannot stat", path, errno);
  }
  return S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode);
}

bool EntryExists(const Path& path) {
  struct stat st;
  if (Sys(Operation::kStat, path, [&] { return ::lstat(path.c_str(), &st); }) ==
      0) {
    return true;
  }
  if (errno == ENOENT || errno == ENOTDIR) return false;
  Fail("cannot stat", path, errno);
}

std::string ReadStart(const Path& path, std::size_t count) {
  struct stat st;
  Fd fd = OpenSource(AT_FDCWD, path.c_str(), path, st);
  std::string bytes(count, '\0');
  bytes.resize(ReadInto(fd.get(), path, bytes.data(), count, 0));
  fd.Close();
  return bytes;
}

SourceFile SourceFile::Open(const Path& path) {
  struct stat st;
  Fd fd = OpenSource(AT_FDCWD, path.c_str(), path, st);
  return SourceFile(path, fd.Release(), static_cast<std::size_t>(st.st_size));
}

SourceFile::SourceFile(SourceFile&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_) {}

SourceFile::~SourceFile() {
  if (fd_ >= 0) ::close(fd_);
}

void SourceFile::ReadAll(SourceBuffer& buffer) {
  // One spare byte lets the read that sees the end come back at once.
  buffer.Resize(size_ + 1, 0);
  std::size_t filled =
      ReadInto(fd_, path_, buffer.data(), buffer.size(), 0, size_);
  while (filled == buffer.size()) {
    buffer.Resize(buffer.size() * 2, filled);
    filled = ReadInto(fd_, path_, buffer.data(), buffer.size(), filled);
  }
  buffer.Resize(filled, filled);
}

std::size_t SourceFile::Read(char* data, std::size_t capacity) {
  return ReadInto(fd_, path_, data, capacity, 0);
}

void SourceFile::Close() { CloseOrFail(std::exchange(fd_, -1), path_); }

namespace {

// Creates the file `name` inside the folder `folder_fd` (AT_FDCWD: `name`
// is the path), `path` naming it; -1 when the name is taken.
int CreateNewFile(int folder_fd, const char* name, const Path& path) {
  const int fd = Sys(Operation::kOpen, path, [&] {
    return ::openat(
        folder_fd, name,
        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
  });
  if (fd < 0 && errno != EEXIST) Fail("cannot create", path, errno);
  return fd;
}

// Makes the folder `name` inside `folder_fd`, as CreateFolder does.
bool MakeFolder(int folder_fd, const char* name, const Path& path) {
  if (Sys(Operation::kCreateFolder, path,
          [&] { return ::mkdirat(folder_fd, name, 0777); }) == 0) {
    return true;
  }
  if (errno == EEXIST) return false;
  Fail("cannot create folder", path, errno);
}

// Whether `name` inside `folder_fd` is a folder itself, as IsFolder tells.
bool IsFolderAt(int folder_fd, const char* name, const Path& path) {
  struct stat st;
  if (Sys(Operation::kStat, path, [&] {
        return ::fstatat(folder_fd, name, &st, AT_SYMLINK_NOFOLLOW);
      }) != 0) {
    if (errno == ENOENT) return false;
    Fail("cannot stat", path, errno);
  }
  return S_ISDIR(st.st_mode);
}

}  // namespace

bool IsFolder(const Path& path) {
  return IsFolderAt(AT_FDCWD, path.c_str(), path);
}

bool CreateFolder(const Path& path) {
  return MakeFolder(AT_FDCWD, path.c_str(), path);
}

std::optional<OutputFile> OutputFile::CreateNew(const Path& path) {
  const int fd = CreateNewFile(AT_FDCWD, path.c_str(), path);
  if (fd < 0) return std::nullopt;
  PublishOutput(fd, AT_FDCWD, path.c_str(), /*created=*/true, 0);
  return OutputFile(path, fd, /*created=*/true, /*length=*/0);
}

OutputFile OutputFile::OpenForAppend(const Path& path) {
  // O_NOFOLLOW: never write through a link put in the output's place;
  // O_NONBLOCK: a FIFO put there fails instead of blocking.
  const int fd = Sys(Operation::kOpen, path, [&] {
    return ::open(path.c_str(),
                  O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC |
                      O_NOCTTY | O_NONBLOCK,
                  0666);
  });
  if (fd < 0) Fail("cannot open", path, errno);
  OutputFile file(path, fd, /*created=*/false, /*length=*/0);
  struct stat st;
  if (Sys(Operation::kStat, path, [&] { return ::fstat(fd, &st); }) != 0) {
    Fail("cannot stat", path, errno);
  }
  if (!S_ISREG(st.st_mode)) Fail("cannot open", path, EINVAL);
  file.length_ = st.st_size;
  PublishOutput(fd, AT_FDCWD, path.c_str(), /*created=*/false, st.st_size);
  return file;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      folder_fd_(other.folder_fd_),
      name_(std::move(other.name_)),
      created_(std::exchange(other.created_, false)),
      length_(other.length_),
      piece_start_(other.piece_start_) {}

OutputFile::~OutputFile() {
  if (fd_ >= 0) {
    WithdrawOutput(fd_);
    ::close(fd_);
  }
  if (created_) {
    if (folder_fd_ >= 0) {
      ::unlinkat(folder_fd_, name_.c_str(), 0);
    } else {
      ::unlink(path_.c_str());
    }
  }
}

void OutputFile::Append(std::string_view bytes) {
  StartPiece();
  AppendPart(bytes);
}

void OutputFile::StartPiece() { piece_start_ = length_; }

void OutputFile::AppendPart(std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = Sys(Operation::kWrite, path_, [&] {
      return ::write(fd_, bytes.data() + written, bytes.size() - written);
    });
    if (n <= 0) {
      const int error_number = n < 0 ? errno : ENOSPC;
      // Leave only whole pieces behind: cut the file back to where this
      // piece began. Should that fail too, the write's error is still the
      // one to report.
      if (length_ + static_cast<off_t>(written) > piece_start_) {
        [[maybe_unused]] const int cut = ::ftruncate(fd_, piece_start_);
      }
      Fail("cannot write", path_, error_number);
    }
    written += static_cast<std::size_t>(n);
  }
  length_ += static_cast<off_t>(written);
}

void OutputFile::Close() {
  WithdrawOutput(fd_);
  CloseOrFail(std::exchange(fd_, -1), path_);
  created_ = false;
}

void DiscardUnfinishedOutput() noexcept {
  const int fd = g_unfinished.fd.exchange(-1);
  if (fd < 0) return;
  if (!g_unfinished.created.load()) {
    [[maybe_unused]] const int cut =
        ::ftruncate(fd, g_unfinished.whole_length.load());
  } else if (g_unfinished.name[0] != '\0') {
    ::unlinkat(g_unfinished.folder_fd.load(), g_unfinished.name, 0);
  } else {
    // A name too long to keep: at least no part of the piece stays.
    [[maybe_unused]] const int cut = ::ftruncate(fd, 0);
  }
}

std::vector<std::string> ListNames(const Path& folder) {
  if (int injected = InjectedError(Operation::kList, folder)) {
    Fail("cannot list folder", folder, injected);
  }
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) Fail("cannot list folder", folder, errno);
  struct DirCloser {
    DIR* dir;
    ~DirCloser() { ::closedir(dir); }
  } closer{dir};
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) Fail("cannot list folder", folder, errno);
      return names;
    }
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
}

void CheckCreatable(const Path& path, bool folder) {
  const Path parent = path.has_parent_path() ? path.parent_path() : ".";
  // AT_EACCESS: the rights this process creates with, not its real user's.
  if (Sys(folder ? Operation::kCreateFolder : Operation::kOpen, path, [&] {
        return ::faccessat(AT_FDCWD, parent.c_str(), W_OK | X_OK, AT_EACCESS);
      }) != 0) {
    Fail(folder ? "cannot create folder" : "cannot create", path, errno);
  }
}

Folder Folder::Open(const Path& path, bool to_list) {
  const char* what = to_list ? "cannot list folder" : "cannot open folder";
  const int fd = Sys(to_list ? Operation::kList : Operation::kOpen, path, [&] {
    return ::open(path.c_str(),
                  (to_list ? O_RDONLY : O_PATH) | O_DIRECTORY | O_CLOEXEC);
  });
  if (fd < 0) Fail(what, path, errno);
  return Folder(path, fd);
}

Folder Folder::OpenSub(std::string_view name, bool to_list) const {
  const std::string sub(name);
  const Path path = path_ / sub;
  const char* what = to_list ? "cannot list folder" : "cannot open folder";
  // O_PATH: the files in a folder can be reached where it may not be
  // listed.
  const int fd = Sys(to_list ? Operation::kList : Operation::kOpen, path, [&] {
    return ::openat(
        fd_, sub.c_str(),
        (to_list ? O_RDONLY : O_PATH) | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  });
  if (fd < 0) Fail(what, path, errno);
  return Folder(path, fd);
}

Folder::Folder(Folder&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

// A folder's close has nothing to lose, so it has nothing to report.
Folder::~Folder() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<std::string> Folder::List(
    const std::function<bool(std::string_view)>& wanted,
    std::vector<std::string>* folders) {
  // On the heap: a tree is listed one level inside the other.
  constexpr std::size_t kBufferSize = 32 * 1024;
  const auto buffer = std::make_unique<char[]>(kBufferSize);
  std::vector<std::string> names;
  for (;;) {
    const ssize_t length = ::getdents64(fd_, buffer.get(), kBufferSize);
    if (length < 0) {
      if (errno == EINTR) continue;
      Fail("cannot list folder", path_, errno);
    }
    if (length == 0) break;
    for (ssize_t at = 0; at < length;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer.get() + at);
      at += entry->d_reclen;
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      // Whether the entry is a folder itself (a link to one is not).
      if (folders != nullptr &&
          (entry->d_type == DT_DIR ||
           (entry->d_type == DT_UNKNOWN && IsFolder(name)))) {
        folders->emplace_back(name);
        continue;
      }
      if (!wanted(name)) continue;
      bool regular = entry->d_type == DT_REG;
      if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
        struct stat st;
        const int r = Sys(Operation::kStat, path_ / name, [&] {
          return ::fstatat(fd_, entry->d_name, &st, 0);
        });
        if (r != 0 && errno != ENOENT && errno != ELOOP && errno != ENOTDIR) {
          Fail("cannot stat", path_ / name, errno);
        }
        regular = r == 0 && S_ISREG(st.st_mode);
      }
      if (regular) names.emplace_back(name);
    }
  }
  return names;
}

std::string Folder::ReadStart(std::string_view name, std::size_t count) const {
  const std::string file(name);
  const Path path = path_ / file;
  struct stat st;
  Fd fd = vantrel::fs::OpenSource(fd_, file.c_str(), path, st);
  std::string bytes(count, '\0');
  bytes.resize(ReadInto(fd.get(), path, bytes.data(), count, 0));
  fd.Close();
  return bytes;
}

SourceFile Folder::OpenSource(std::string_view name) const {
  const std::string file(name);
  Path path = path_ / file;
  struct stat st;
  Fd fd = vantrel::fs::OpenSource(fd_, file.c_str(), path, st);
  const int released = fd.Release();
  return SourceFile(std::move(path), released,
                    static_cast<std::size_t>(st.st_size));
}

bool Folder::CreateFolder(std::string_view name) const {
  const std::string sub(name);
  return MakeFolder(fd_, sub.c_str(), path_ / sub);
}

bool Folder::IsFolder(std::string_view name) const {
  const std::string entry(name);
  return IsFolderAt(fd_, entry.c_str(), path_ / entry);
}

std::optional<OutputFile> Folder::CreateFile(std::string_view name) const {
  std::string file(name);
  Path path = path_ / file;
  const int fd = CreateNewFile(fd_, file.c_str(), path);
  if (fd < 0) return std::nullopt;
  PublishOutput(fd, fd_, file.c_str(), /*created=*/true, 0);
  OutputFile created(std::move(path), fd, /*created=*/true, /*length=*/0);
  created.folder_fd_ = fd_;
  created.name_ = std::move(file);
  return created;
}

const Folder& FolderPath::At(std::string_view relative) {
  // The folders that the path shares with the last one stay open.
  std::size_t depth = 0, from = 0;
  while (from < relative.size()) {
    const std::size_t slash =
        std::min(relative.find('/', from), relative.size());
    if (depth == open_.size() ||
        open_[depth].first != relative.substr(from, slash - from)) {
      break;
    }
    ++depth;
    from = slash + 1;
  }
  open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(depth), open_.end());
  while (from < relative.size()) {
    const std::size_t slash =
        std::min(relative.find('/', from), relative.size());
    const std::string_view name = relative.substr(from, slash - from);
    const Folder& parent = open_.empty() ? root_ : open_.back().second;
    // Only a folder may stand in the way, never a link or a file.
    if (make_ && !parent.CreateFolder(name) && !parent.IsFolder(name)) {
      Fail("cannot create folder", parent.path() / std::string(name), EEXIST);
    }
    open_.emplace_back(std::string(name), parent.OpenSub(name));
    from = slash + 1;
  }
  return open_.empty() ? root_ : open_.back().second;
}

void SetOperationHook(OperationHook hook) {
  g_operation_hook.store(hook, std::memory_order_release);
}

}  // namespace vantrel::fs
