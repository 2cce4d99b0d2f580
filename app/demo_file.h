// A synthetic data file that a family builds from its layout for build/demo/.
#ifndef RFRETUNE_APP_DEMO_FILE_H_
#define RFRETUNE_APP_DEMO_FILE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace rfretune {

struct DemoFile {
  std::string name;  // file name within build/demo/, such as "radio.910"
  std::vector<std::uint8_t> bytes;
};

}  // namespace rfretune

#endif  // RFRETUNE_APP_DEMO_FILE_H_
