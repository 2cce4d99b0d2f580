// Pure conversions between KPG25D frequency codes, MHz and the editor's
// display text.
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_FREQUENCY_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_FREQUENCY_H_

#include <cstdint>
#include <string>

namespace rfretune {

struct Kpg25dCodeBytes {
  int low = 0;
  int high = 0;
};

// The single-precision value nearest to 902 + (code - 36848) / 80 MHz.
float Kpg25dDecodeFrequency(int code);

// The code bytes of a frequency in MHz: 80 f + 36848 - 72160, rounded to
// single precision, split into bytes, each rounded to nearest (ties to even)
// and taken modulo 256. Exact for every 12.5 kHz step of 902-928 MHz read
// from its decimal text.
Kpg25dCodeBytes Kpg25dEncodeFrequency(float mhz);

// The number text of the frequency completed to four decimals: " 902.0000",
// " 927.5000". From 1000 MHz on the text has at most three decimals
// (" 1000", " 1000.500"), as the display has room for nine characters.
std::string Kpg25dFrequencyText(float mhz);

// The code of a frequency given exactly in units of 100 Hz (9020125 for
// 902.0125 MHz), for a whole multiple of 12.5 kHz.
int Kpg25dCodeFromUnits(std::int64_t units);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_FREQUENCY_H_
