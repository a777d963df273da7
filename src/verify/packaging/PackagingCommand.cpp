#include "verify/packaging/PackagingCommand.h"

#include "dialogs/PartVerdict.h"

std::string LibraryNameOfPath(const std::string& libraryPath) {
  const std::size_t cut = libraryPath.find_last_of("/\\:");
  return cut == std::string::npos ? libraryPath : libraryPath.substr(cut + 1);
}

std::string LibraryParentOfPath(const std::string& libraryPath) {
  if (const std::size_t slash = libraryPath.rfind('/'); slash != std::string::npos)
    return libraryPath.substr(0, slash);
  if (const std::size_t backslash = libraryPath.rfind('\\'); backslash != std::string::npos)
    return libraryPath.substr(0, backslash);
  if (const std::size_t colon = libraryPath.find(':'); colon != std::string::npos)
    return libraryPath.substr(0, colon + 1);
  return "./";
}

std::string PackagingStatusLine(PackagingRunMode mode, const std::string& library,
                                const std::string& cell) {
  switch (mode) {
    case PackagingRunMode::OnePart:
      return "Library : " + library + ",  Part : " + cell;
    case PackagingRunMode::SeveralParts:
      return "Library : " + library + ", Parts : Multiple";
    case PackagingRunMode::Library:
      break;
  }
  return "Library : " + library;
}

std::string QuotedWord(const std::string& word) {
  // Backslashes count only before a quote: a run of them before a quote in the word, or
  // before the closing quote, is doubled, and a quote in the word is escaped with one more.
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      quoted.append(2 * backslashes + 1, '\\');
    } else {
      quoted.append(backslashes, '\\');
    }
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

std::string ArgumentWord(const std::string& word) {
  return word.find_first_of(" \t\"") == std::string::npos ? word : QuotedWord(word);
}

std::string SeveralPartsCellText(const std::string& libraryPath,
                                 const std::vector<std::string>& cells) {
  std::string text;
  for (const std::string& cell : cells) text += ArgumentWord(PartFileName(libraryPath, cell)) + " ";
  return text;
}

std::string PackagerArguments(const PackagerCommand& command) {
  std::string text = "-libdir " + QuotedWord(LibraryParentOfPath(command.libraryPath)) + " -lib " +
                     ArgumentWord(LibraryNameOfPath(command.libraryPath));
  if (command.mode == PackagingRunMode::OnePart) {
    text += " -cell " + ArgumentWord(command.cellText);
  } else if (command.mode == PackagingRunMode::SeveralParts) {
    text += " -cell " + command.cellText;
  }
  text += " -page d";
  if (command.options & kUptoBoard) text += " -netrev -PSMPATH " + command.searchText;
  if (!command.ptfFile.empty()) text += " -ptfdirectivefile " + QuotedWord(command.ptfFile);
  return text + " ";
}

std::string PackagerTool(const std::string& installRoot) {
  return installRoot + "/tools/libutil/cellpack.exe";
}

std::string ConsistencyArguments(const std::string& projectFile, const std::string& listFile,
                                 const std::string& library, const std::string& cell,
                                 std::uint16_t options) {
  std::string text = "-product \"ARCHIVIST_PLUS\" -proj " + QuotedWord(projectFile) + " -qvdlib " +
                     QuotedWord(listFile) + " -lib " + QuotedWord(library);
  if (!cell.empty()) text += " -cell " + QuotedWord(cell);
  text += " -verifyonly";
  if (!(options & kUptoBoard)) text += " -ignoreFootprint";
  if (!(options & kUseProjectPtfFiles)) text += " -ignorePTF";
  return text;
}
