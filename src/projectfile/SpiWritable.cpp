#include "projectfile/SpiWritable.h"

#include <cstdio>

#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiText.h"

namespace {

constexpr std::string_view kControlSuffix = "_CONTROL_SETTINGS";

bool Has(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

bool HasBothQuotes(std::string_view text) { return Has(text, '\'') && Has(text, '"'); }

bool MarkedFor(const CSpiDirective& directive, int level) {
  return level == 2 ? directive.projectSet : directive.userSet;
}

std::string NameSentence(std::string_view program, std::string_view name,
                         const std::string& problem) {
  return "The directive name \"" + SpiShown(name) + "\" of program \"" + SpiShown(program) +
         "\" cannot be written in a project file: " + problem + ".";
}

// The problem of one written line of a directive (its name and the list written with it).
std::string LineProblem(const CSpiProgram& program, const CSpiDirective& directive,
                        const CSpiValueList& list, const std::string& endLine) {
  if (std::string problem = SpiDirectiveNameProblem(directive.name, endLine, !list.Empty());
      !problem.empty())
    return NameSentence(program.name, directive.name, problem);
  for (const auto& value : list.Values())
    if (std::string problem = SpiValueProblem(value); !problem.empty())
      return "The value \"" + SpiShown(value) + "\" of directive \"" + SpiShown(program.name) +
             ":" + SpiShown(directive.name) + "\" cannot be written in a project file: " + problem +
             ".";
  return {};
}

// Two written directives of one name (ignoring case) in programs of one name: reading the
// file back would merge them and keep the values of the last line only.
bool WrittenTwice(const CSpiProgramList& programs, const CSpiProgram& program,
                  const CSpiDirective& directive, bool control, int level) {
  auto written = [&](const CSpiDirective* d) {
    return d && d != &directive && (control ? d->ControlPresent(level) : MarkedFor(*d, level));
  };
  if (written(program.FindDirective(directive.name))) return true;
  if (programs.Find(program.name) == &program) return false;  // the first of its name
  for (const auto& other : programs.Programs()) {
    if (other == &program) break;
    if (spi::EqualsIgnoringCase(other->name, program.name) &&
        written(other->FindDirective(directive.name)))
      return true;
  }
  return false;
}

std::string SectionProblem(const CSpiProgramList& programs, const CSpiProgram& program,
                           bool control, int level) {
  const std::string endLine =
      "END_" + spi::ToUpper(program.name) + (control ? std::string(kControlSuffix) : "");
  bool any = false;
  for (const auto& d : program.Directives()) {
    if (control ? !d->ControlPresent(level) : !MarkedFor(*d, level)) continue;
    if (!any) {
      any = true;
      if (std::string problem = SpiProgramNameProblem(program.name, control); !problem.empty())
        return "The program name \"" + SpiShown(program.name) +
               "\" cannot be written in a project file: " + problem + ".";
    }
    const CSpiValueList& list = control ? d->Controls(level) : d->Values(level);
    if (std::string problem = LineProblem(program, *d, list, endLine); !problem.empty())
      return problem;
    if (WrittenTwice(programs, program, *d, control, level))
      return "The directive \"" + SpiShown(program.name) + ":" + SpiShown(d->name) +
             "\" is in the project twice; a project file read back would keep only one of them.";
  }
  return {};
}

}  // namespace

std::string SpiProgramNameProblem(std::string_view name, bool controlSection) {
  if (Has(name, '\n')) return "it holds a line break";
  // The end line must be a word alone on its line, and the header is trimmed.
  if (Has(name, ' ') || Has(name, '\t')) return "it holds a blank or a tab";
  if (!name.empty() && spi::IsSpace(name.back())) return "it ends with a white-space character";
  if (Has(name, '{')) return "it holds \"{\", which begins a comment";
  if (!controlSection && name.size() >= kControlSuffix.size() &&
      spi::EqualsIgnoringCase(name.substr(name.size() - kControlSuffix.size()), kControlSuffix))
    return "it ends in \"_CONTROL_SETTINGS\", which names a control-settings section";
  return {};
}

std::string SpiDirectiveNameProblem(std::string_view name, std::string_view endLine,
                                    bool withValues) {
  if (Has(name, '\n')) return "it holds a line break";
  const bool blankOrTab = Has(name, ' ') || Has(name, '\t');
  const bool leadingQuote = !name.empty() && (name.front() == '\'' || name.front() == '"');
  const bool quoted = blankOrTab || leadingQuote || (name.empty() && withValues);
  if (quoted && HasBothQuotes(name))
    return "it must be written between quotes and holds both quote characters";
  if (!quoted && !name.empty() && spi::IsSpace(name.front()))
    return "it begins with a white-space character";
  if (withValues) return {};
  // Alone on its line: a quoted name needs a blank or a tab to be read as quoted, and a bare
  // word is cut at "{", trimmed and compared with the end line in upper case.
  if (quoted && !blankOrTab) return "alone on a line, a name that begins with a quote keeps it";
  if (!quoted) {
    if (Has(name, '{')) return "alone on a line, \"{\" begins a comment";
    if (!name.empty() && spi::IsSpace(name.back())) return "it ends with a white-space character";
    if (spi::EqualsIgnoringCase(name, endLine)) return "alone on a line, it would end the section";
  }
  return {};
}

std::string SpiValueProblem(std::string_view value) {
  if (Has(value, '\n')) return "it holds a line break";
  if (HasBothQuotes(value))
    return "it holds both quote characters (' and \"), and no quoting can hold both";
  return {};
}

std::string SpiLevelProblem(const CSpiProgramList& programs, int level) {
  for (const auto& program : programs.Programs())
    for (const bool control : {false, true})
      if (std::string problem = SectionProblem(programs, *program, control, level);
          !problem.empty())
        return problem;
  return {};
}

std::string SpiShown(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (byte < 0x20 || byte == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}
