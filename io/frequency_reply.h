// How both Spotedit editors judge a typed frequency: the 902-928 MHz band
// and the 12.5 kHz raster that every radio type shares.
#ifndef RFRETUNE_IO_FREQUENCY_REPLY_H_
#define RFRETUNE_IO_FREQUENCY_REPLY_H_

#include <cstdint>
#include <string_view>

namespace rfretune {

inline constexpr std::string_view kFrequencyOutOfRange = "Invalid Freq. out of range. ";
// The misspelling is the editors' own, kept as users have always seen it.
inline constexpr std::string_view kFrequencyOffRaster = "Invailid Freq. Not a 12.5kc step. ";

// Hundreds of hertz: the finest step any of the files stores, four
// decimals of a megahertz.
inline constexpr std::int64_t kHundredHertzPerMhz = 10000;
inline constexpr std::int64_t kRasterHundredHertz = 125;  // 12.5 kHz
inline constexpr std::int64_t kBandLowHundredHertz = 902 * kHundredHertzPerMhz;
inline constexpr std::int64_t kBandHighHundredHertz = 928 * kHundredHertzPerMhz;

enum class FrequencyVerdict {
  kBack,        // numeric value 0: empty, 0, or no number at all
  kOutOfRange,  // below 902 or above 928 MHz
  kOffRaster,   // not a plain decimal, or between two 12.5 kHz steps
  kAccepted,
};

struct FrequencyReply {
  FrequencyVerdict verdict;
  std::int64_t hundred_hertz = 0;  // the exact value typed, when accepted
};

// The numeric value of the reply decides 0 and the band; then the exact
// decimal value typed must be a whole number of raster steps, so that what
// is stored is always what was typed: 902.00625 is refused rather than
// rounded, 9.02e2 and "920.1 " are taken as the values they spell.
FrequencyReply JudgeFrequencyReply(std::string_view reply);

}  // namespace rfretune

#endif  // RFRETUNE_IO_FREQUENCY_REPLY_H_
