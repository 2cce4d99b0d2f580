#include "formats/dat/dat_fixture.h"

#include "formats/dat/dat_walk.h"

namespace rfretune {
namespace {

// Varies from byte to byte and never repeats within a record, so that a
// byte moved or written by mistake shows.
std::uint8_t Filler(std::int64_t offset) {
  return static_cast<std::uint8_t>((offset * 37 + 11) & 0xFF);
}

}  // namespace

DatImage::DatImage(const DatVariantDescription& variant, std::int64_t size) : variant_(variant) {
  Resize(size);
  SetByte(kDatSignatureOffset, variant.signature[0]);
  SetByte(kDatSignatureOffset + 1, variant.signature[1]);
  for (int s = 1; s <= kDatSystemCount; ++s) {
    SetEntry(s, kDatAbsentSystemByte, kDatAbsentSystemByte);
  }
}

DatImage& DatImage::AddSystem(int system_number, std::int64_t base,
                              const std::vector<DatRecordSpec>& records, bool trunked) {
  const std::int64_t value = base - kDatSystemBaseBias;
  SetEntry(system_number, static_cast<std::uint8_t>(value & 0xFF),
           static_cast<std::uint8_t>((value >> 8) & 0xFF));
  SetByte(DatGroupCountOffset(variant_, system_number, base),
          static_cast<std::uint8_t>(records.size()));
  SetByte(DatTrunkMarkerOffset(variant_, system_number, base),
          trunked ? 0 : kDatConventionalMarker);
  for (std::size_t j = 0; j < records.size(); ++j) {
    const DatRecordSpec& record = records[j];
    const std::int64_t origin = DatRecordOrigin(base, static_cast<int>(j));
    SetByte(DatGroupNumberOffset(origin), static_cast<std::uint8_t>(record.group));
    for (DatRole role : kDatRoles) {
      const DatFrequencyCode& code = role == DatRole::kReceive ? record.receive : record.transmit;
      const std::int64_t start = DatFrequencyOffset(origin, role);
      for (std::size_t k = 0; k < code.size(); ++k) {
        SetByte(start + static_cast<std::int64_t>(k), code[k]);
      }
      if (variant_.has_attributes) {
        SetByte(DatAttributeOffset(origin, role),
                role == DatRole::kReceive ? record.receive_attribute : record.transmit_attribute);
      }
    }
  }
  return *this;
}

DatImage& DatImage::SetEntry(int system_number, std::uint8_t low, std::uint8_t high) {
  const std::int64_t offset = DatSystemEntryOffset(system_number);
  SetByte(offset, low);
  return SetByte(offset + 1, high);
}

DatImage& DatImage::SetByte(std::int64_t offset, std::uint8_t value) {
  if (Contains(offset)) bytes_[static_cast<std::size_t>(offset)] = value;
  return *this;
}

std::int64_t DatImage::RecordOrigin(int system_number, int record_index) const {
  std::int64_t found = -1;
  int index = 0;
  ForEachDatRecordOfSystem(*this, variant_, ReadDatSystemEntry(*this, system_number),
                           [&](std::int64_t origin) {
                             if (index++ == record_index) found = origin;
                           });
  return found;
}

DatImage& DatImage::SetFrequency(int system_number, int record_index, DatRole role,
                                 const DatFrequencyCode& code) {
  const std::int64_t origin = RecordOrigin(system_number, record_index);
  if (origin < 0) return *this;
  const std::int64_t start = DatFrequencyOffset(origin, role);
  for (std::size_t k = 0; k < code.size(); ++k) {
    SetByte(start + static_cast<std::int64_t>(k), code[k]);
  }
  return *this;
}

DatImage& DatImage::Resize(std::int64_t size) {
  const std::size_t old_size = bytes_.size();
  bytes_.resize(static_cast<std::size_t>(size));
  for (std::size_t k = old_size; k < bytes_.size(); ++k) {
    bytes_[k] = Filler(static_cast<std::int64_t>(k));
  }
  return *this;
}

std::uint8_t DatImage::ReadByte(std::int64_t offset) const {
  return Contains(offset) ? bytes_[static_cast<std::size_t>(offset)] : 0;
}

bool DatImage::Contains(std::int64_t offset, std::int64_t count) const {
  const auto size = static_cast<std::int64_t>(bytes_.size());
  return offset >= 0 && count >= 0 && offset <= size && count <= size - offset;
}

DatFrequencyCode DatCode(const DatVariantDescription& variant, std::string_view mhz_text) {
  return DatEncodeFrequency(variant, mhz_text.substr(0, 3), mhz_text.substr(4, 4));
}

}  // namespace rfretune
