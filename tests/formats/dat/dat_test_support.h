// Helpers shared by the .DAT handler tests.
#ifndef RFRETUNE_TESTS_FORMATS_DAT_DAT_TEST_SUPPORT_H_
#define RFRETUNE_TESTS_FORMATS_DAT_DAT_TEST_SUPPORT_H_

#include <string>

#include "formats/dat/dat.h"
#include "formats/dat/dat_fixture.h"
#include "tests/support/test_support.h"

namespace rfretune::testing {

// The console transcript a dialogue should leave, written once for both
// console modes: each question is written as {prompt}. Interactively a
// question shows its prompt, "? " and a line end; otherwise nothing.
inline std::string Transcript(const std::string& text, bool interactive) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') {
      result += text[i];
      continue;
    }
    const std::size_t close = text.find('}', i);
    if (interactive) result += text.substr(i + 1, close - i - 1) + "? \n";
    i = close;
  }
  return result;
}

inline HandlerRun RunDat(const DatImage& image, const std::string& script, bool interactive) {
  return RunHandler(DatHandler, image.Bytes(), ".DAT", script, interactive);
}

inline DatRecordSpec Record(const DatVariantDescription& variant, int group,
                            std::string_view receive, std::string_view transmit,
                            std::uint8_t receive_attribute = kDatAttributeAfter,
                            std::uint8_t transmit_attribute = kDatAttributeAfter) {
  return {group, DatCode(variant, receive), DatCode(variant, transmit), receive_attribute,
          transmit_attribute};
}

}  // namespace rfretune::testing

#endif  // RFRETUNE_TESTS_FORMATS_DAT_DAT_TEST_SUPPORT_H_
