// Writes the largest file of each family that its layout allows, every
// frequency in a source range, for timing the batch conversions:
//   rfretune_make_bench FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "formats/dat/dat_fixture.h"
#include "formats/kpg16d/kpg16d_image.h"
#include "formats/kpg25d/kpg25d_image.h"
#include "formats/kpg25d/kpg25d_layout.h"
#include "formats/kpg5d/kpg5d_image.h"
#include "formats/kpg5d/kpg5d_layout.h"

namespace {

using rfretune::DatCode;
using rfretune::DatImage;
using rfretune::DatRecordSpec;

constexpr int kSystems = 32;
constexpr int kRecords = 255;

void Write(const std::filesystem::path& name, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// 32 systems of 255 records each. Pointers reach only about 39 KB into the
// file, so the systems' records overlap, on one 19-byte grid.
std::vector<std::uint8_t> LargestKpg25d() {
  constexpr std::int64_t kFirst = 105;
  constexpr std::int64_t kSpacing = 63 * rfretune::kKpg25dRecordSize;
  constexpr std::int64_t kLast = kFirst + (kSystems - 1) * kSpacing;
  static_assert(kLast + rfretune::kKpg25dPointerBase <= 0xFFFF);
  rfretune::Kpg25dImage image(static_cast<std::size_t>(kLast + kRecords * rfretune::kKpg25dRecordSize));
  std::vector<rfretune::Kpg25dRecordSpec> records;
  for (int k = 0; k < kRecords; ++k) {
    // 935.0125 to 939.9875 MHz for the TK-941, below 870 MHz for the TK-940.
    records.push_back({k % 250 + 1, (k % 2 == 0 ? 39489 : 33000) + k, k % 8});
  }
  for (int slot = 0; slot < kSystems; ++slot) image.AddSystem(slot, kFirst + slot * kSpacing, records);
  return image.Bytes();
}

// 32 systems of 255 records each; bases reach about 64 KB into the file.
std::vector<std::uint8_t> LargestDat(const rfretune::DatVariantDescription& variant) {
  constexpr std::int64_t kFirst = 178;
  constexpr std::int64_t kSpacing = 64 * 32;
  constexpr std::int64_t kLast = kFirst + (kSystems - 1) * kSpacing;
  DatImage image(variant, kLast + kRecords * 32 + 42);
  std::vector<DatRecordSpec> records;
  for (int k = 0; k < kRecords; ++k) {
    DatRecordSpec record;
    record.group = k % 240 + 1;
    record.receive = DatCode(variant, k % 2 == 0 ? "935.1250" : "937.5000");
    record.transmit = DatCode(variant, k % 2 == 0 ? "896.1250" : "899.5000");
    record.receive_attribute = 51;
    records.push_back(record);
  }
  for (int system = 1; system <= kSystems; ++system) {
    image.AddSystem(system, kFirst + (system - 1) * kSpacing, records);
  }
  return image.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: rfretune_make_bench FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  Write(folder / "largest.900", rfretune::Kpg16dImage(6900, 0x12, 0x2020).Bytes());
  const auto kpg25d = LargestKpg25d();
  Write(folder / "largest.910", kpg25d);
  Write(folder / "largest.810", kpg25d);
  Write(folder / "largest-kpg49d.dat", LargestDat(rfretune::kKpg49dDescription));
  Write(folder / "largest-kpg35d.dat", LargestDat(rfretune::kKpg35dDescription));
  using rfretune::Kpg5dLayoutOf;
  using rfretune::Kpg5dModel;
  Write(folder / "largest.B80", rfretune::Kpg5dImage(Kpg5dLayoutOf(Kpg5dModel::kTk930), 32000, 0x2020).Bytes());
  Write(folder / "largest.F80",
        rfretune::Kpg5dImage(Kpg5dLayoutOf(Kpg5dModel::kTk930Hd), 32000, 0x2020).Bytes());
  return 0;
}
