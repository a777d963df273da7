#include "convert/kicad/KicadFootprint.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "convert/kicad/ImportName.h"
#include "convert/kicad/KicadPartWriter.h"
#include "convert/kicad/SExpression.h"

namespace {

bool WholeNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

void ReadPad(const SExprTree& tree, int node, KicadFootprint& footprint) {
  KicadPad pad;
  pad.line = static_cast<int>(tree.At(node).line);
  pad.number = tree.Text(node, 1);
  pad.shape = tree.Text(node, 3);
  const int at = tree.Find(node, "at");
  const int size = tree.Find(node, "size");
  double angle = 0;
  if (at < 0 || !tree.Number(at, 1, pad.x) || !tree.Number(at, 2, pad.y)) {
    footprint.issues.push_back(
        {"", pad.line, "pad \"" + pad.number + "\" without a position; left out"});
    return;
  }
  tree.Number(at, 3, angle);
  if (size >= 0) {
    tree.Number(size, 1, pad.width);
    tree.Number(size, 2, pad.height);
  }
  if (std::fmod(std::fabs(angle), 180.0) == 90.0) std::swap(pad.width, pad.height);
  footprint.pads.push_back(std::move(pad));
}

}  // namespace

KicadFootprint ReadKicadFootprint(const std::string& file, std::string_view text,
                                  SExprTree* scratch) {
  KicadFootprint footprint;
  SExprTree own;
  SExprTree& tree = scratch != nullptr ? *scratch : own;
  if (!tree.Parse(text)) {
    footprint.issues.push_back({file, tree.ErrorLine(), tree.Error()});
    return footprint;
  }
  const int root = tree.Root();
  const std::string_view head = tree.Head(root);
  if (head != "footprint" && head != "module") {
    footprint.issues.push_back(
        {file, 1,
         "not a KiCad footprint: it starts with \"" + std::string(head) + "\", not \"footprint\""});
    return footprint;
  }
  const int version = tree.Find(root, "version");
  double number = 0;
  if (version >= 0 && !tree.Number(version, 1, number)) number = -1;
  // A "module" is KiCad 5's footprint, with or without its version; "footprint" has one.
  const bool known = head == "module"
                         ? (version < 0 || (number > 0 && number < kFirstFootprintVersion))
                         : (number >= kFirstFootprintVersion && number <= kLastFootprintVersion);
  if (!known) {
    footprint.issues.push_back(
        {file, version >= 0 ? static_cast<int>(tree.At(version).line) : 1,
         std::string(head) + " format version " +
             (version >= 0 ? tree.Text(version, 1) : "(none)") + " is not one we know (" +
             std::to_string(kFirstFootprintVersion) + " to " +
             std::to_string(kLastFootprintVersion) + "); the file is left out"});
    return footprint;
  }
  footprint.read = true;
  footprint.name = tree.Text(root, 1);
  for (int child : Children(tree, root)) {
    if (!tree.At(child).list) continue;
    const std::string_view item = tree.Head(child);
    if (item == "pad") {
      ReadPad(tree, child, footprint);
    } else if (item == "attr") {
      for (int word = tree.At(tree.At(child).first).next; word >= 0; word = tree.At(word).next)
        if (!tree.At(word).list) footprint.attributes.emplace_back(tree.At(word).text);
    }
  }
  for (FormatIssue& issue : footprint.issues)
    if (issue.file.empty()) issue.file = file;
  return footprint;
}

std::string FootprintFileText(const KicadFootprint& footprint, const std::string& fileName,
                              const std::string& sourceFile) {
  std::string text = "# imported from " + sourceFile;
  if (!footprint.attributes.empty()) {
    text += "; attributes:";
    for (const std::string& attribute : footprint.attributes) text += " " + attribute;
  }
  text += "\nfootprint " + fileName + "\n";
  // pads: the numbered pads, at least the highest whole pad number so that every number
  // stays in range; 0 when no pad has a number (a logo, a mounting hole).
  std::set<std::string> numbers;
  long highest = 0;
  for (const KicadPad& pad : footprint.pads) {
    if (pad.number.empty()) continue;
    numbers.insert(pad.number);
    long whole = 0;
    if (WholeNumber(pad.number, whole)) highest = std::max(highest, whole);
  }
  text +=
      "pads " + std::to_string(std::max<long>(highest, static_cast<long>(numbers.size()))) + "\n";
  // pitch: the smallest distance between pads that follow each other in the file.
  double pitch = 0;
  for (std::size_t i = 1; i < footprint.pads.size(); ++i) {
    const double d = std::hypot(footprint.pads[i].x - footprint.pads[i - 1].x,
                                footprint.pads[i].y - footprint.pads[i - 1].y);
    if (d > 0 && (pitch == 0 || d < pitch)) pitch = d;
  }
  if (pitch == 0 && !footprint.pads.empty())
    pitch = std::max(footprint.pads.front().width, footprint.pads.front().height);
  text += "pitch " + std::to_string(std::max(1, MillimetresToMils(pitch))) + "\n";
  std::set<std::string> written;
  for (const KicadPad& pad : footprint.pads) {
    // "-" marks a pad without a number, so a pad named "-" is written encoded.
    const std::string number = pad.number.empty()  ? "-"
                               : pad.number == "-" ? "%2D"
                                                   : EncodeImportName(pad.number);
    const bool again = !pad.number.empty() && !written.insert(pad.number).second;
    text += (again ? "padpart " : "pad ") + number + " " +
            std::to_string(MillimetresToMils(pad.x)) + " " +
            std::to_string(MillimetresToMils(pad.y)) + " " +
            (pad.shape.empty() ? std::string("rect") : EncodeImportName(pad.shape)) + " " +
            std::to_string(MillimetresToMils(pad.width)) + " " +
            std::to_string(MillimetresToMils(pad.height)) + "\n";
  }
  return text;
}
