// The s-expression reader, the symbol and footprint readers and the converters on small KiCad
// files written here, good and bad.
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "convert/kicad/ImportName.h"
#include "convert/kicad/KicadFootprint.h"
#include "convert/kicad/KicadPartWriter.h"
#include "convert/kicad/KicadSymbolLibrary.h"
#include "convert/kicad/SExpression.h"
#include "verify/footprint/FootprintCheck.h"

namespace {

std::string Messages(const FormatIssues& issues) {
  std::string text;
  for (const FormatIssue& issue : issues) text += issue.ToString() + "\n";
  return text;
}

// A library with a two-unit part, a derived part and a power symbol.
const char* kLibrary = R"((kicad_symbol_lib (version 20211014) (generator test)
  (symbol "74LS00" (in_bom yes)
    (property "Reference" "U" (id 0) (at 0 0 0))
    (property "Value" "74LS00" (id 1) (at 0 0 0))
    (property "Footprint" "Package_DIP:DIP-14_W7.62mm" (id 2) (at 0 0 0))
    (property "Datasheet" "http://x/\"q\"" (id 3) (at 0 0 0))
    (property "ki_fp_filters" "DIP*W7.62mm*" (id 4) (at 0 0 0))
    (symbol "74LS00_1_1"
      (rectangle (start -3.81 3.81) (end 3.81 -3.81) (stroke (width 0)))
      (pin input line (at -7.62 2.54 0) (length 3.81) (name "A" (effects)) (number "1" (effects)))
      (pin tri_state line (at 7.62 0 180) (length 3.81) (name "~" (effects)) (number "3" (effects))
        (alternate "SDA" bidirectional line))
    )
    (symbol "74LS00_2_1"
      (arc (start 0 5.08) (mid 5.08 0) (end 0 -5.08))
      (pin open_emitter line (at -7.62 2.54 0) (length 3.81) (name "A" (effects)) (number "4" (effects)))
    )
    (symbol "74LS00_2_2"
      (pin output line (at 99 99 0) (length 3.81) (name "X" (effects)) (number "9" (effects)))
    )
    (symbol "74LS00_0_1"
      (pin power_in line (at 0 10.16 270) (length 2.54) hide (name "VCC" (effects)) (number "14" (effects)))
    )
  )
  (symbol "74HC00" (extends "74LS00")
    (property "Value" "74HC00" (id 1) (at 0 0 0))
    (property "Footprint" "" (id 2) (at 0 0 0))
  )
  (symbol "GND" (power)
    (property "Reference" "#PWR" (id 0) (at 0 0 0))
    (symbol "GND_0_1" (polyline (pts (xy 0 0) (xy 0 -1.27) (xy 1.27 -1.27))))
    (symbol "GND_1_1" (pin power_in line (at 0 0 270) (length 0) (name "GND" (effects)) (number "1" (effects))))
  )
))";

}  // namespace

TEST(KicadSExpression, ReadsNestedListsAndRefusesBrokenText) {
  SExprTree tree;
  const std::string text = "(a \"b c\" (d 1.5)\n (e \"x\\\"y\"))";
  ASSERT_TRUE(tree.Parse(text));
  EXPECT_EQ(tree.Head(tree.Root()), "a");
  EXPECT_EQ(tree.Text(tree.Root(), 1), "b c");
  double number = 0;
  EXPECT_TRUE(tree.Number(tree.Find(tree.Root(), "d"), 1, number));
  EXPECT_EQ(number, 1.5);
  EXPECT_EQ(tree.Text(tree.Find(tree.Root(), "e"), 1), "x\"y");
  EXPECT_EQ(tree.At(tree.Find(tree.Root(), "e")).line, 2u);

  struct Bad {
    std::string text;
    int line;
    std::string error;
  };
  const Bad bad[] = {
      {"(a (b c)\n(d", 2, "the file ends inside a list (truncated?)"},
      {"(a \"open\n", 1, "a string that does not end"},
      {"(a) (b)", 1, "text after the end of the top-level list"},
      {"(a))", 1, "text after the end of the top-level list"},
      {")", 1, "a \")\" without its \"(\""},
      {std::string("(a\n\0\x01)", 6), 2, "a NUL byte: not a text file"},
      {"", 1, "no s-expression in the file"},
      {"word", 1, "text outside the top-level list"},
  };
  for (const Bad& b : bad) {
    EXPECT_FALSE(tree.Parse(b.text)) << b.text;
    EXPECT_EQ(tree.Error(), b.error) << b.text;
    EXPECT_EQ(tree.ErrorLine(), b.line) << b.text;
  }
  // Deep nesting is no recursion: no stack to overflow.
  const std::string deep = std::string(200000, '(') + std::string(200000, ')');
  EXPECT_TRUE(tree.Parse(deep));
}

TEST(KicadSymbols, ConvertsUnitsPinsPropertiesAndExtends) {
  const KicadSymbolLibrary library = ReadKicadSymbolLibrary("lib.kicad_sym", kLibrary);
  ASSERT_TRUE(library.read);
  EXPECT_EQ(Messages(library.issues), "");
  ASSERT_EQ(library.symbols.size(), 3u);
  const KicadSymbol& gate = library.symbols[0];
  EXPECT_EQ(gate.units, 2);
  EXPECT_EQ(gate.pins.size(), 4u);  // the De Morgan body's pin is not converted

  const ConvertedPart part = ConvertKicadSymbol(gate, "lib.kicad_sym");
  ASSERT_EQ(part.files.size(), 3u);
  EXPECT_EQ(part.files[0].first, "sym_1/symbol.sym");
  EXPECT_EQ(part.files[0].second,
            "# imported from lib.kicad_sym line 2: unit 1 of 2\nsymbol 74LS00\norigin 0 0\n"
            "extent -150 -150 150 150\npin A_1 -300 100\npin 3 300 0\npin VCC 0 400  # hidden\n");
  // Unit 2: the arc and the common pin; pins of one name and different numbers told apart.
  EXPECT_NE(part.files[1].second.find("extent 0 -200 200 200\npin A_4 -300 100\npin VCC 0 400"),
            std::string::npos)
      << part.files[1].second;
  EXPECT_EQ(part.files[2].first, "package/package.pkg");
  EXPECT_EQ(part.files[2].second,
            "# imported from lib.kicad_sym line 2\npackage 74LS00\nsymbol 74LS00\n"
            "property CLASS \"U\"\nproperty PART_NAME \"74LS00\"\n"
            "property KICAD_FOOTPRINT \"Package_DIP:DIP-14_W7.62mm\"\n"
            "property JEDEC_TYPE \"DIP-14_W7.62mm\"\n"
            "property DATASHEET \"http://x/%22q%22\"\n"
            "property FOOTPRINT_FILTERS \"DIP*W7.62mm*\"\n"
            "physical 74LS00\n  pin A_1 1 input\n  pin 3 3 tristate\n"
            "  pin A_4 4 opencollector\n  pin VCC 14 power  # hidden\n"
            "  # alternate of 3: SDA bidirectional\nend\n");
  EXPECT_EQ(part.footprint, "Package_DIP:DIP-14_W7.62mm");

  // The derived part has the parent's pins and its own Value; its empty Footprint wins.
  const ConvertedPart derived = ConvertKicadSymbol(library.symbols[1], "lib.kicad_sym");
  const std::string& package = derived.files.back().second;
  EXPECT_NE(package.find("property PART_NAME \"74HC00\""), std::string::npos);
  EXPECT_EQ(package.find("JEDEC_TYPE"), std::string::npos);
  EXPECT_NE(package.find("pin VCC 14 power"), std::string::npos);
  // "#PWR" would start a comment unquoted.
  const ConvertedPart power = ConvertKicadSymbol(library.symbols[2], "lib.kicad_sym");
  EXPECT_NE(power.files.back().second.find("property CLASS \"#PWR\""), std::string::npos);
  EXPECT_NE(power.files[0].second.find("extent 0 -50 50 0"), std::string::npos);
}

TEST(KicadSymbols, ReportsBadInputWithFileAndLineAndKeepsTheRest) {
  const std::string header = "(kicad_symbol_lib (version 20211014)\n";
  auto pin = [](const std::string& number) {
    return "(symbol \"P_1_1\" (pin input line (at 0 0 0) (name \"A\") (number \"" + number +
           "\")))";
  };
  const KicadSymbolLibrary bad = ReadKicadSymbolLibrary(
      "bad.kicad_sym", header + "(symbol \"OK\")\n(symbol \"OK\")\n" + "(symbol \"NoNumber\" " +
                           pin("") + ")\n" + "(symbol \"Orphan\" (extends \"Gone\"))\n" +
                           "(symbol \"L1\" (extends \"L2\"))\n(symbol \"L2\" (extends \"L1\"))\n" +
                           "(symbol \"Child\" (extends \"NoNumber\"))\n)");
  ASSERT_TRUE(bad.read);
  ASSERT_EQ(bad.symbols.size(), 1u);
  EXPECT_EQ(bad.symbols[0].name, "OK");
  EXPECT_EQ(
      Messages(bad.issues),
      "bad.kicad_sym:3: symbol \"OK\" again (first at line 2); left out\n"
      "bad.kicad_sym:4: pin \"A\" of symbol \"NoNumber\" has no number; the symbol is left out\n"
      "bad.kicad_sym:5: symbol \"Orphan\" extends \"Gone\", which is not in this file; the "
      "symbol is left out\n"
      "bad.kicad_sym:6: symbol \"L1\" extends itself through a loop of parents; left out\n"
      "bad.kicad_sym:8: symbol \"Child\" is left out with its parent \"NoNumber\"\n");

  const KicadSymbolLibrary future = ReadKicadSymbolLibrary(
      "f.kicad_sym", "(kicad_symbol_lib\n (version 20991231) (symbol \"A\"))");
  EXPECT_FALSE(future.read);
  EXPECT_EQ(Messages(future.issues),
            "f.kicad_sym:2: kicad_symbol_lib format version 20991231 is not one we know "
            "(20200126 to 20241209); the file is left out\n");
  EXPECT_FALSE(ReadKicadSymbolLibrary("t.kicad_sym", header + "(symbol \"A\"").read);
  EXPECT_EQ(Messages(ReadKicadSymbolLibrary("x.kicad_sym", "(footprint \"A\")").issues),
            "x.kicad_sym:1: not a KiCad symbol library: it starts with \"footprint\", not "
            "\"kicad_symbol_lib\"\n");
}

TEST(KicadFootprints, ConvertsPadNamesPiecesAndUnnumberedPadsToFilesTheCheckAccepts) {
  const std::string text = R"((footprint "QFN-4-1EP" (version 20211014) (generator pcbnew)
  (attr smd)
  (pad "1" smd rect (at -1.27 0) (size 0.5 1) (layers "F.Cu"))
  (pad "2" smd rect (at 0 0 90) (size 0.5 1) (layers "F.Cu"))
  (pad "5" smd rect (at 1.27 0) (size 0.5 1) (layers "F.Cu"))
  (pad "EP" smd roundrect (at 0 1) (size 2 2) (layers "F.Cu"))
  (pad "EP" thru_hole circle (at 0.5 1) (size 0.3 0.3) (layers "F.Cu"))
  (pad "" smd rect (at 0 1) (size 1 1) (layers "F.Paste"))
))";
  const KicadFootprint footprint = ReadKicadFootprint("QFN.kicad_mod", text);
  ASSERT_TRUE(footprint.read);
  EXPECT_EQ(footprint.attributes, std::vector<std::string>{"smd"});
  const std::string converted = FootprintFileText(footprint, "QFN-4-1EP", "QFN.kicad_mod");
  EXPECT_EQ(converted,
            "# imported from QFN.kicad_mod; attributes: smd\nfootprint QFN-4-1EP\npads 5\n"
            "pitch 20\npad 1 -50 0 rect 20 39\npad 2 0 0 rect 39 20\npad 5 50 0 rect 20 39\n"
            "pad EP 0 39 roundrect 79 79\npadpart EP 20 39 circle 12 12\npad - 0 39 rect 39 39\n");
  TempDir dir;
  const auto file = dir.write("QFN-4-1EP.dra", converted);
  EXPECT_EQ(CheckFootprintFile(file.string(), "QFN-4-1EP").findings, std::vector<std::string>{});
  // What the extended statements still refuse.
  const auto bad = dir.write("B.dra",
                             "footprint B\npads 0\npitch 1\npad 1 0 0\npadpart X 0 0\npad EP 0 0 "
                             "rect 1\npad EP 0 0\npad EP 1 1\n");
  EXPECT_EQ(CheckFootprintFile(bad.string(), "B").findings,
            (std::vector<std::string>{
                "line 6: pad needs a pad number and two coordinates", "line 4: pad 1 outside 1..0",
                "line 5: padpart X before any pad X", "line 8: pad EP again"}));

  // KiCad 5's "module" has no version; an unknown "footprint" version is refused by name.
  EXPECT_TRUE(ReadKicadFootprint("m", "(module X (layer F.Cu) (pad 1 smd rect (at 0 0)))").read);
  const KicadFootprint future =
      ReadKicadFootprint("n.kicad_mod", "(footprint \"X\" (version 30000101))");
  EXPECT_EQ(Messages(future.issues),
            "n.kicad_mod:1: footprint format version 30000101 is not one we know (20200000 to "
            "20241229); the file is left out\n");
  EXPECT_FALSE(ReadKicadFootprint("t", "(footprint \"X\" (version 20211014) (pad").read);
}

TEST(KicadNames, EncodingIsReversibleAndSafeForOurFiles) {
  for (const std::string name :
       {"R_Small", "A B", "50%", ".hidden", "x/y\\z", "#PWR", "π120U30", "\"q'\t", "", "%"}) {
    const std::string encoded = EncodeImportName(name);
    EXPECT_EQ(DecodeImportName(encoded), name) << encoded;
    EXPECT_EQ(encoded.find_first_of(" \"'#/\\\t"), std::string::npos) << encoded;
    EXPECT_NE(encoded.front(), '.');
  }
  EXPECT_EQ(EncodeImportName("A B/C"), "A%20B%2FC");
  EXPECT_EQ(MillimetresToMils(2.54), 100);
  EXPECT_EQ(MillimetresToMils(-0.0127), -1);  // halves away from zero
  EXPECT_EQ(MillimetresToMils(1e300), MillimetresToMils(1e301));
}
