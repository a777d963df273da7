// A generated project with one library "big" of clean parts (a symbol and a package each), for
// the benchmarks that run whole flows over many parts.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// Makes the project in folder (anything there before is removed) with `parts` parts and
// globalLines added to its GLOBAL section; returns its project file.
inline std::string MakeCleanLibraryProject(const std::filesystem::path& folder, int parts,
                                           const std::string& globalLines = "") {
  std::filesystem::remove_all(folder);
  for (int i = 0; i < parts; ++i) {
    const std::filesystem::path cell = folder / "libs/big" / ("part" + std::to_string(i));
    std::filesystem::create_directories(cell / "sym_1");
    std::filesystem::create_directories(cell / "package");
    std::ofstream(cell / "sym_1/symbol.sym")
        << "symbol p\norigin 0 0\nextent -10 -10 10 10\npin A -10 0\npin Y 10 0\n";
    std::ofstream(cell / "package/package.pkg")
        << "package p\nsymbol p\nproperty CLASS IC\nproperty PART_NAME p\nphysical p_DIP8\n"
           "  property JEDEC_TYPE DIP8\n  pin A 1 input\n  pin Y 2 output\nend\n";
  }
  std::ofstream(folder / "qvd.lib") << "big libs/big\n";
  std::ofstream(folder / "bench.tak") << "START_GLOBAL\nlibrary 'big'\n"
                                      << globalLines << "END_GLOBAL\n";
  return (folder / "bench.tak").string();
}
