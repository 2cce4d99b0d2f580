// Writes the seed corpus of the fuzz targets: the families' synthetic demo
// files, whole and cut short, each with a few answer scripts.
//   fuzz_make_seeds FOLDER   (writes FOLDER/FAMILY/seed-N)
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "formats/dat/dat.h"
#include "formats/kpg16d/kpg16d.h"
#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg5d/kpg5d.h"
#include "fuzz/fuzz_harness.h"

namespace rfretune::fuzz {
namespace {

struct Family {
  std::string name;
  std::vector<DemoFile> demos;
  std::vector<std::string> scripts;
};

void WriteSeeds(const std::filesystem::path& folder, const Family& family) {
  const std::filesystem::path target = folder / family.name;
  std::filesystem::create_directories(target);
  int count = 0;
  for (const DemoFile& demo : family.demos) {
    for (std::size_t cut : {demo.bytes.size(), demo.bytes.size() / 2, std::size_t{120}}) {
      if (cut > demo.bytes.size()) continue;
      for (const std::string& script : family.scripts) {
        for (bool interactive : {false, true}) {
          FuzzInput input{interactive, script, Bytes(demo.bytes.begin(), demo.bytes.begin() + cut)};
          const Bytes data = EncodeFuzzInput(input);
          std::ofstream out(target / ("seed-" + std::to_string(count++)), std::ios::binary);
          out.write(reinterpret_cast<const char*>(data.data()),
                    static_cast<std::streamsize>(data.size()));
        }
      }
    }
  }
}

}  // namespace
}  // namespace rfretune::fuzz

int main(int argc, char** argv) {
  using namespace rfretune;
  using namespace rfretune::fuzz;
  if (argc != 2) {
    std::cerr << "usage: fuzz_make_seeds FOLDER\n";
    return 2;
  }
  const std::vector<Family> families = {
      {"kpg16d", Kpg16dDemoFiles(), {""}},
      // The script's first character picks the ending: 0 .B80, 1 .F80, 2 .B90, 3 .F90.
      {"kpg5d", Kpg5dDemoFiles(), {"0", "1", "2", "3"}},
      {"kpg25d",
       Kpg25dDemoFiles(),
       {"", "E\n1\n1\n920.1\n0\n0\n", "e\n2\n3\n902.0125\n928\n0\n0\n",
        "E\n40\n-1\n1.5\n1\n251\n0\n"}},
      {"dat",
       DatDemoFiles(),
       {"", "E\n1\n1\nR\n927.125\nT\n902\nQ\n0\n", "e\n2\n3\nT\n920.1\nq\n0\n",
        "E\n40\n1.5\n1\n241\n0\n"}},
  };
  for (const Family& family : families) WriteSeeds(argv[1], family);
  return 0;
}
