// Writes fresh synthetic demo data files of every family into one folder.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/demo_file.h"
#include "formats/dat/dat.h"
#include "formats/kpg16d/kpg16d.h"
#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg5d/kpg5d.h"

int main(int argc, char** argv) {
  using namespace rfretune;
  if (argc != 2) {
    std::cerr << "usage: rfretune_make_demo FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (auto family : {Kpg16dDemoFiles, Kpg25dDemoFiles, DatDemoFiles, Kpg5dDemoFiles}) {
    for (const DemoFile& demo : family()) {
      std::ofstream out(folder / demo.name, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(demo.bytes.data()),
                static_cast<std::streamsize>(demo.bytes.size()));
      if (!out) {
        std::cerr << "cannot write " << (folder / demo.name).string() << "\n";
        return 1;
      }
    }
  }
  return 0;
}
