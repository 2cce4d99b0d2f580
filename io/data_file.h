// The radio data file, rewritten in place byte by byte.
//
// The file is read in large pages on first touch and changed bytes are kept
// in memory until Flush, which writes each changed page span back with one
// call and makes it durable. A data file never changes its length: reads
// outside the file give 0, writes outside it are dropped, and a missing file
// is never created.
#ifndef RFRETUNE_IO_DATA_FILE_H_
#define RFRETUNE_IO_DATA_FILE_H_

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rfretune {

enum class FileErrorKind {
  kNotFound,     // no file of that name in an existing folder
  kCannotOpen,   // a folder, no permission, a missing folder in the path...
  kCannotWrite,  // exists and reads, but cannot be written
};

struct FileError {
  FileErrorKind kind;
  std::string reason;  // the system's text, such as "Permission denied"
};

class DataFile {
 public:
  DataFile() = default;
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;
  // Closes the file; bytes not yet flushed are flushed first.
  ~DataFile();

  // Opens an existing regular file for reading and writing. A file that
  // can only be read is refused, so that nothing is ever counted as changed
  // that cannot reach the file.
  std::optional<FileError> Open(const std::string& name);
  bool IsOpen() const { return fd_ >= 0; }

  std::int64_t Size() const { return size_; }
  // True when every byte of [offset, offset + count) lies inside the file.
  bool Contains(std::int64_t offset, std::int64_t count = 1) const;

  // The byte at the offset; 0 outside the file or when it is not open.
  std::uint8_t ReadByte(std::int64_t offset);
  // Writes the low 8 bits of the value (so -1 writes 255 and 300 writes 44).
  // Dropped outside the file or when it is not open.
  void WriteByte(std::int64_t offset, int value);

  // Writes every changed byte and makes it durable before returning.
  std::optional<FileError> Flush();
  // Flushes and closes. Does nothing when the file is not open.
  std::optional<FileError> Close();

 private:
  struct Page {
    std::vector<std::uint8_t> bytes;
    std::int64_t dirty_begin = 0;  // changed span within the page, empty
    std::int64_t dirty_end = 0;    // when begin == end
  };
  Page* PageFor(std::int64_t offset);
  // Writes the changed span of every page, without making it durable.
  std::optional<FileError> WritePages();

  int fd_ = -1;
  std::int64_t size_ = 0;
  std::map<std::int64_t, Page> pages_;  // by page index
  bool unsynced_ = false;               // bytes changed since the last Flush
  std::optional<FileError> deferred_error_;
};

}  // namespace rfretune

#endif  // RFRETUNE_IO_DATA_FILE_H_
