#include "io/frequency_reply.h"

#include <optional>

#include "io/number_text.h"

namespace rfretune {

FrequencyReply JudgeFrequencyReply(std::string_view reply) {
  const auto mhz = static_cast<float>(NumericValue(reply));
  if (mhz == 0) return {FrequencyVerdict::kBack};
  if (mhz < 902 || mhz > 928) return {FrequencyVerdict::kOutOfRange};
  const std::optional<std::int64_t> exact = ExactScaledDecimal(reply, 4);
  if (!exact || *exact % kRasterHundredHertz != 0) return {FrequencyVerdict::kOffRaster};
  // The nearest raster steps outside the band lie a whole step away, far
  // beyond what rounding to single precision moves a value; this keeps a
  // value outside the band from ever being stored all the same.
  if (*exact < kBandLowHundredHertz || *exact > kBandHighHundredHertz) {
    return {FrequencyVerdict::kOutOfRange};
  }
  return {FrequencyVerdict::kAccepted, *exact};
}

}  // namespace rfretune
