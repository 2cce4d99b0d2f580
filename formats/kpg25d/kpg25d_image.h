// Synthetic KPG25D files built from the layout: the tests' fixtures and the
// demo files.
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_IMAGE_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rfretune {

struct Kpg25dRecordSpec {
  int group_number = 0;
  int code = 0;
  int flags = 0;
};

class Kpg25dImage {
 public:
  // `size` bytes with every system slot empty and every other byte a filler
  // pattern, so that a stray write shows in a whole-file comparison.
  explicit Kpg25dImage(std::size_t size);

  // A system whose records start at `records_offset`: its pointer, its group
  // count (the number of records) and its records. Bytes that would lie past
  // the end are left out, which makes a file cut short.
  Kpg25dImage& AddSystem(int slot, std::int64_t records_offset,
                         const std::vector<Kpg25dRecordSpec>& records);
  Kpg25dImage& SetPointerBytes(int slot, int low, int high);
  Kpg25dImage& SetGroupCount(int slot, int count);
  // Group number, code and flags of the record at `offset`.
  Kpg25dImage& SetRecord(std::int64_t offset, const Kpg25dRecordSpec& record);
  // Code and flags of the record at `offset`, as a batch or editor writes them.
  Kpg25dImage& SetCode(std::int64_t offset, int code, int flags);
  Kpg25dImage& SetByte(std::int64_t offset, int value);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_IMAGE_H_
