// `kestra import kicad` end to end on libraries written here (into a project, a second time,
// with bad files among good ones), and on the Debian KiCad libraries when they are installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "convert/kicad/KicadImport.h"

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
#define KICAD_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KICAD_TEST_SANITIZED 1
#endif
#endif

namespace {

struct ImportRun {
  int status = 0;
  std::string out, err;
};

ImportRun Import(const std::vector<std::string>& words) {
  std::ostringstream out, err;
  ImportRun run;
  run.status = RunKicadImport(words, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::size_t Entries(const fs::path& folder) {
  std::error_code error;
  std::size_t n = 0;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
       it.increment(error))
    ++n;
  return n;
}

const char* kSymbols = R"((kicad_symbol_lib (version 20211014)
  (symbol "NE555" (property "Reference" "U" (id 0)) (property "Footprint" "Pkg:DIP-8" (id 2))
    (symbol "NE555_1_1" (pin input line (at 0 0 0) (name "TR") (number "2"))))
  (symbol "Odd" (property "Footprint" "Gone:X" (id 2)))
  (symbol "NoSuch" (property "Footprint" "Pkg:SO-99" (id 2)))
))";

const char* kFootprint =
    "(footprint \"DIP-8\" (version 20211014) (pad \"1\" thru_hole circle "
    "(at 0 0) (size 1.6 1.6)) (pad \"2\" thru_hole circle (at 0 2.54) (size "
    "1.6 1.6)))";

}  // namespace

TEST(KicadImport, IntoAProjectReportingWhatCannotBeConvertedAndReplacingOnlyWhenTold) {
  TempDir dir;
  dir.write("src/sym/Timer.kicad_sym", kSymbols);
  dir.write("src/sym/Broken.kicad_sym", "(kicad_symbol_lib (version 20211014)\n(symbol \"A\"");
  dir.write("src/fp/Pkg.pretty/DIP-8.kicad_mod", kFootprint);
  dir.write("src/fp/Pkg.pretty/Binary.kicad_mod", std::string("\x7f"
                                                              "ELF\0\0",
                                                              6));
  dir.write("proj/qvd.lib", "own ./own\n");
  const std::string project = dir.str() + "/proj/p.tak";
  const std::vector<std::string> words = {
      "-proj", project, "-symbols", dir.str() + "/src/sym", "-footprints", dir.str() + "/src/fp",
      "-j",    "2"};
  ImportRun run = Import(words);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "imported 3 symbols in 2 libraries and 1 footprints in 1 footprint"))
      << run.out;
  const std::string broken = dir.str() + "/src/sym/Broken.kicad_sym:2: the file ends inside a list";
  EXPECT_TRUE(Has(run.err, broken)) << run.err;
  EXPECT_TRUE(Has(run.err, "Binary.kicad_mod:1: a NUL byte: not a text file")) << run.err;
  EXPECT_TRUE(Has(run.err,
                  "Timer.kicad_sym:4: symbol \"Odd\": footprint \"Gone:X\": library "
                  "\"Gone\" is not imported"))
      << run.err;
  EXPECT_TRUE(Has(run.err,
                  "Timer.kicad_sym:5: symbol \"NoSuch\": footprint \"Pkg:SO-99\": no "
                  "such footprint in library Pkg"))
      << run.err;
  const fs::path imported = dir.path() / "proj/kicad";
  EXPECT_TRUE(fs::is_regular_file(imported / "symbols/Timer/NE555/sym_1/symbol.sym"));
  EXPECT_TRUE(Has(ReadFile(imported / "symbols/Timer/NE555/package/package.pkg"),
                  "property JEDEC_TYPE \"DIP-8\""));
  EXPECT_EQ(ReadFile(imported / "footprints/Pkg/DIP-8.psm"),
            ReadFile(imported / "footprints/Pkg/DIP-8.dra"));
  EXPECT_EQ(ReadFile(dir.path() / "proj/qvd.lib"),
            "own ./own\nBroken ./kicad/symbols/Broken\nTimer ./kicad/symbols/Timer\n");
  EXPECT_TRUE(Has(ReadFile(project), "PSMPATH './kicad/footprints/Pkg'")) << ReadFile(project);
  EXPECT_EQ(Entries(dir.path() / "proj"), 3u);  // p.tak, qvd.lib and kicad: no scratch left

  // A second import is refused unless told to replace; replacing leaves one copy.
  run = Import(words);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.err, "give -replace to replace them")) << run.err;
  std::vector<std::string> again = words;
  again.push_back("-replace");
  // The earlier import is removed, a link planted in it with it, never what the link names.
  dir.write("outside/keep.txt", "mine");
  fs::create_directory_symlink(dir.path() / "outside", imported / "symbols/Timer/NE555/link");
  run = Import(again);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.path() / "outside/keep.txt"), "mine");
  EXPECT_FALSE(fs::exists(imported / "symbols/Timer/NE555/link"));
  EXPECT_EQ(ReadFile(dir.path() / "proj/qvd.lib"),
            "own ./own\nBroken ./kicad/symbols/Broken\nTimer ./kicad/symbols/Timer\n");
  EXPECT_EQ(ReadFile(project).find("PSMPATH"), ReadFile(project).rfind("PSMPATH"));
  EXPECT_EQ(Entries(dir.path() / "proj"), 3u);

  // A library name the project has of its own is not taken over.
  dir.write("proj/qvd.lib", "Timer ./mine\n");
  run = Import(again);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.err, "already has a library Timer of its own")) << run.err;
  EXPECT_EQ(ReadFile(dir.path() / "proj/qvd.lib"), "Timer ./mine\n");

  EXPECT_EQ(Import({"-proj"}).status, 2);
  EXPECT_EQ(Import({"-proj", project, "-j", "0"}).status, 2);
  EXPECT_EQ(Import({"-proj", project, "-symbols", dir.str() + "/none"}).status, 1);
}

// The Debian packages kicad-symbols and kicad-footprints (scripts/test installs them).
TEST(KicadImport, TheDebianLibrariesWhenInstalled) {
  const std::string symbols = "/usr/share/kicad/symbols";
  const std::string footprints = "/usr/share/kicad/footprints";
  if (!fs::is_directory(symbols) || !fs::is_directory(footprints))
    GTEST_SKIP() << "kicad-symbols and kicad-footprints are not installed";
  // Tens of thousands of small files cost minutes on a shared disk and seconds in memory:
  // the project goes to /dev/shm where the machine has it.
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string saved = tmpdir ? tmpdir : "";
  if (fs::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
  TempDir dir;
  if (tmpdir) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  const std::string project = dir.str() + "/p.tak";
#if defined(KICAD_TEST_SANITIZED)
  // Under the sanitizers every byte costs several times as much: a few libraries only.
  const ImportRun run = Import({"-proj", project, "-symbols", symbols + "/Timer.kicad_sym",
                                symbols + "/74xx.kicad_sym", "-footprints",
                                footprints + "/Package_DIP.pretty", "-j", "2"});
  const std::size_t symbolLibraries = 2, footprintFolders = 1;
#else
  const ImportRun run = Import({"-proj", project, "-j", "2"});
  const std::size_t symbolLibraries = 209, footprintFolders = 137;
  EXPECT_TRUE(Has(run.out,
                  "imported 17569 symbols in 209 libraries and 12504 footprints in 137 "
                  "footprint folders"))
      << run.out;
#endif
  ASSERT_EQ(run.status, 0) << run.err.substr(0, 2000);
  const fs::path kicad = dir.path() / "kicad";
  EXPECT_EQ(Entries(kicad / "symbols"), symbolLibraries);
  EXPECT_EQ(Entries(kicad / "footprints"), footprintFolders);
  // Known parts: the 555 timer in a DIP-8 of Package_DIP, the 74LS00 with four gates and a
  // power unit.
  const std::string timer = ReadFile(kicad / "symbols/Timer/NE555P/package/package.pkg");
  EXPECT_TRUE(Has(timer, "property JEDEC_TYPE \"DIP-8_W7.62mm\"")) << timer;
  EXPECT_TRUE(Has(timer, "property CLASS \"U\"")) << timer;
  for (const char* pin : {" 1 power", " 2 input", " 3 output", " 4 input", " 8 power"})
    EXPECT_TRUE(Has(timer, pin)) << pin << "\n" << timer;
  EXPECT_TRUE(fs::is_regular_file(kicad / "symbols/74xx/74LS00/sym_5/symbol.sym"));
  EXPECT_FALSE(fs::exists(kicad / "symbols/74xx/74LS00/sym_6"));
  const std::string dip = ReadFile(kicad / "footprints/Package_DIP/DIP-8_W7.62mm.psm");
  EXPECT_TRUE(Has(dip, "footprint DIP-8_W7.62mm\npads 8\npitch 100\npad 1 0 0 ")) << dip;
}
