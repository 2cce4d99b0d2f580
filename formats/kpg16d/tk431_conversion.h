// The TK-431 frequency move: codes in three source ranges are shifted down
// into 902-928 MHz by amounts chosen by the range and the slot's flags.
#ifndef RFRETUNE_FORMATS_KPG16D_TK431_CONVERSION_H_
#define RFRETUNE_FORMATS_KPG16D_TK431_CONVERSION_H_

#include <cstdint>
#include <optional>

namespace rfretune {

// The three bytes of one slot: its code's low and high byte and its flags.
struct Kpg16dSlotBytes {
  std::uint8_t low = 0;
  std::uint8_t high = 0;
  std::uint8_t flags = 0;

  friend bool operator==(const Kpg16dSlotBytes&, const Kpg16dSlotBytes&) = default;
};

// The new bytes of a slot whose code lies in a source range, or nothing
// when the slot stays as it is.
std::optional<Kpg16dSlotBytes> ConvertTk431Slot(Kpg16dSlotBytes slot);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG16D_TK431_CONVERSION_H_
