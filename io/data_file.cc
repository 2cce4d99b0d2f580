#include "io/data_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace rfretune {
namespace {

// Pages are large enough that every layout the program knows fits in two,
// so a run reads its file with one or two calls; the cap keeps memory
// bounded when a mistaken huge file is named.
constexpr std::int64_t kPageSize = 64 * 1024;
constexpr std::size_t kMaxPages = 16;

std::string Reason(int error) { return std::strerror(error); }

std::string ParentFolder(const std::string& name) {
  const std::size_t slash = name.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return name.substr(0, slash);
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Keeps Ctrl-C and termination signals out while bytes are being written, so
// that a flush is never cut in half; they take effect when it is done.
class SignalHold {
 public:
  SignalHold() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal_number);
    sigprocmask(SIG_BLOCK, &held, &previous_);
  }
  ~SignalHold() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_;
};

}  // namespace

DataFile::~DataFile() { Close(); }

std::optional<FileError> DataFile::Open(const std::string& name) {
  Close();
  // The system reads a name only up to a NUL byte, so such a name would open
  // some other file than the one named, whose ending chose the handler.
  if (name.find('\0') != std::string::npos) {
    return FileError{FileErrorKind::kCannotOpen, Reason(EINVAL)};
  }
  // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below.
  int fd = open(name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT && IsFolder(ParentFolder(name))) {
      return FileError{FileErrorKind::kNotFound, Reason(error)};
    }
    if (error == EACCES || error == EPERM || error == EROFS || error == ETXTBSY) {
      // Readable but not writable: refused untouched rather than processed
      // with every write lost.
      const int read_only = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
      if (read_only >= 0) {
        close(read_only);
        return FileError{FileErrorKind::kCannotWrite, Reason(error)};
      }
      return FileError{FileErrorKind::kCannotOpen, Reason(errno)};
    }
    return FileError{FileErrorKind::kCannotOpen, Reason(error)};
  }
  struct stat info;
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    close(fd);
    return FileError{FileErrorKind::kCannotOpen, Reason(error)};
  }
  if (!S_ISREG(info.st_mode)) {
    close(fd);
    return FileError{FileErrorKind::kCannotOpen,
                     S_ISDIR(info.st_mode) ? Reason(EISDIR) : "Not a regular file"};
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  size_ = info.st_size;
  return std::nullopt;
}

bool DataFile::Contains(std::int64_t offset, std::int64_t count) const {
  return fd_ >= 0 && offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
}

DataFile::Page* DataFile::PageFor(std::int64_t offset) {
  const std::int64_t index = offset / kPageSize;
  auto found = pages_.find(index);
  if (found != pages_.end()) return &found->second;
  if (pages_.size() >= kMaxPages) {
    // Written back now; a failure is reported by the next Flush.
    if (auto error = WritePages(); error && !deferred_error_) deferred_error_ = error;
    pages_.clear();
  }
  Page& page = pages_[index];
  const std::int64_t start = index * kPageSize;
  const std::int64_t length = std::min(kPageSize, size_ - start);
  page.bytes.assign(static_cast<std::size_t>(length), 0);
  std::int64_t done = 0;
  while (done < length) {
    const ssize_t got =
        pread(fd_, page.bytes.data() + done, static_cast<std::size_t>(length - done), start + done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file shrank meanwhile: the rest reads as 0
    done += got;
  }
  return &page;
}

std::uint8_t DataFile::ReadByte(std::int64_t offset) {
  if (!Contains(offset)) return 0;
  return PageFor(offset)->bytes[static_cast<std::size_t>(offset % kPageSize)];
}

void DataFile::WriteByte(std::int64_t offset, int value) {
  if (!Contains(offset)) return;
  Page* page = PageFor(offset);
  const std::int64_t at = offset % kPageSize;
  const auto byte = static_cast<std::uint8_t>(value & 0xFF);
  if (page->bytes[static_cast<std::size_t>(at)] == byte) return;
  page->bytes[static_cast<std::size_t>(at)] = byte;
  if (page->dirty_begin == page->dirty_end) {
    page->dirty_begin = at;
    page->dirty_end = at + 1;
  } else {
    page->dirty_begin = std::min(page->dirty_begin, at);
    page->dirty_end = std::max(page->dirty_end, at + 1);
  }
  unsynced_ = true;
}

std::optional<FileError> DataFile::WritePages() {
  std::optional<FileError> failure;
  for (auto& [index, page] : pages_) {
    std::int64_t at = page.dirty_begin;
    while (at < page.dirty_end) {
      const ssize_t put =
          pwrite(fd_, page.bytes.data() + at, static_cast<std::size_t>(page.dirty_end - at),
                 index * kPageSize + at);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        if (!failure)
          failure = FileError{FileErrorKind::kCannotWrite, Reason(put < 0 ? errno : EIO)};
        break;
      }
      at += put;
    }
    page.dirty_begin = page.dirty_end = 0;
  }
  return failure;
}

std::optional<FileError> DataFile::Flush() {
  if (fd_ < 0) return std::nullopt;
  std::optional<FileError> failure = std::exchange(deferred_error_, std::nullopt);
  if (!unsynced_) return failure;
  SignalHold hold;
  if (auto error = WritePages(); error && !failure) failure = error;
  if (fsync(fd_) != 0 && !failure) failure = FileError{FileErrorKind::kCannotWrite, Reason(errno)};
  unsynced_ = false;
  return failure;
}

std::optional<FileError> DataFile::Close() {
  if (fd_ < 0) return std::nullopt;
  std::optional<FileError> failure = Flush();
  if (close(fd_) != 0 && !failure) failure = FileError{FileErrorKind::kCannotWrite, Reason(errno)};
  fd_ = -1;
  size_ = 0;
  pages_.clear();
  return failure;
}

}  // namespace rfretune
