// Synthetic .DAT images built from the layout, shared by the tests and the
// demo files. Every byte the layout does not name holds a filler pattern, so
// that a comparison of whole files shows any stray write.
#ifndef RFRETUNE_FORMATS_DAT_DAT_FIXTURE_H_
#define RFRETUNE_FORMATS_DAT_DAT_FIXTURE_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "formats/dat/dat_layout.h"

namespace rfretune {

struct DatRecordSpec {
  int group = 1;
  DatFrequencyCode receive{};
  DatFrequencyCode transmit{};
  // KPG49D only; KPG35D records keep the filler there.
  std::uint8_t receive_attribute = kDatAttributeAfter;
  std::uint8_t transmit_attribute = kDatAttributeAfter;
};

class DatImage {
 public:
  // `size` bytes: filler, the variant's signature, and all 32 systems absent.
  DatImage(const DatVariantDescription& variant, std::int64_t size);

  // Makes the system present with its base at `base` (its entry holds
  // base - 51), conventional or trunked, holding these records.
  DatImage& AddSystem(int system_number, std::int64_t base,
                      const std::vector<DatRecordSpec>& records, bool trunked = false);
  DatImage& SetEntry(int system_number, std::uint8_t low, std::uint8_t high);
  DatImage& SetByte(std::int64_t offset, std::uint8_t value);
  // The code of a record found by the walk (record_index counts the records
  // the walk visits in that system).
  DatImage& SetFrequency(int system_number, int record_index, DatRole role,
                         const DatFrequencyCode& code);
  std::int64_t RecordOrigin(int system_number, int record_index) const;
  DatImage& Resize(std::int64_t size);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  // A byte source for the walk.
  std::uint8_t ReadByte(std::int64_t offset) const;
  bool Contains(std::int64_t offset, std::int64_t count = 1) const;

 private:
  const DatVariantDescription& variant_;
  std::vector<std::uint8_t> bytes_;
};

// The stored code of a frequency written as three megahertz digits, a point
// and four decimals ("935.1250"), in the variant's digit string form.
DatFrequencyCode DatCode(const DatVariantDescription& variant, std::string_view mhz_text);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_FIXTURE_H_
