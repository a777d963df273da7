// A generated four-level hierarchy as a working site has one: 1,200 directive lines over the
// install, site, project and user files, in a dozen programs, where the site overrides the
// install defaults, the project overrides both, the user file overrides some of all three, and
// the control sections lock some directives and let the user file set others. Some of each
// level's overrides fall on locked directives (and most of the user file's on directives that
// do not allow it): those are refused and logged, as they are at a real site.
//
// Value lines of each level (1,200 in all), with 230 control lines:
//   qvd.tak   540 (one to four words, paths, continued lines); controls: 60 locks and 80
//             directives the user file may set
//   site.tak  250 (200 overrides, 23 of them of locked directives, refused; 50 of its own);
//             controls: 90 more locks
//   project   220 (200 overrides, 88 of them of locked directives, refused; 20 of its own)
//   user.tak  190 (30 of directives it may set; 160 that it may not, and 4 that it may but the
//             site has locked: refused)
// The first Open logs 275 refusals, 139 KB of tak.log.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace site_hierarchy {

inline const std::vector<std::string>& Programs() {
  static const std::vector<std::string> programs = {"GLOBAL",  "RULEX",     "PAVREL", "PACKAGER",
                                                    "SIMFLOW", "FOOTPRINT", "SYMBOL", "LIBMGR",
                                                    "XMLIO",   "TEMPLATE",  "VERIFY", "VIEWER"};
  return programs;
}

// Directive number n of the install file: its program and name.
inline std::string ProgramOf(int n) { return Programs()[n % Programs().size()]; }
inline std::string NameOf(int n) { return "setting_" + std::to_string(n); }

// A value line's words for directive n as a level gives them.
inline std::string ValuesOf(int n, const std::string& level) {
  switch (n % 5) {
    case 0:
      return "'$QVD_INST_DIR/lib/" + level + "/rulex/decks/standard_cells/rules_" +
             std::to_string(n) + ".rul'";
    case 1:
      return "on";
    case 2:
      return "'" + level + " default' '/opt/eda/tools/2026.3/linux64/bin' '/proj/lib/cells/x" +
             std::to_string(n) + "'";
    case 3:
      return "\"" + level + "_" + std::to_string(n) + "\" 42 \\\n  '/scratch/" + level +
             "/cellsim/work/results'";
    default:
      return std::to_string(n * 7) + " ms";
  }
}

// Sections of the given lines of one level, grouped by program in the programs' order.
inline std::string Sections(const std::vector<std::pair<int, std::string>>& lines,
                            const std::string& suffix) {
  std::string text;
  for (const std::string& program : Programs()) {
    std::string body;
    for (const auto& [n, line] : lines)
      if (ProgramOf(n) == program) body += line + "\n";
    if (!body.empty())
      text += "START_" + program + suffix + "\n" + body + "END_" + program + suffix + "\n\n";
  }
  return text;
}

inline bool InstallLocks(int n) { return n % 9 == 0; }  // 60 of 540
inline bool SiteLocks(int n) { return n % 6 == 5; }     // 90 of 540
inline bool UserMaySet(int n) { return n % 27 == 1 || n % 27 == 2 || n % 27 == 3 || n % 27 == 4; }

// Writes the four files below folder: share/qvdsetup/projmgr/{qvd,site,user}.tak and
// project.tak (the project file, returned).
inline std::string Write(const std::filesystem::path& folder) {
  const std::filesystem::path setup = folder / "share/qvdsetup/projmgr";
  std::filesystem::create_directories(setup);
  std::vector<std::pair<int, std::string>> values;
  std::vector<std::pair<int, std::string>> controls;

  // Install: 540 directives, locks and the user's permissions.
  for (int n = 0; n < 540; ++n) {
    values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "install"));
    if (InstallLocks(n))
      controls.emplace_back(n, NameOf(n) + " lock");
    else if (UserMaySet(n))
      controls.emplace_back(n, NameOf(n) + " allow_user_tak");
  }
  std::ofstream(setup / "qvd.tak")
      << "{ install defaults }\n"
      << Sections(values, "") << Sections(controls, "_CONTROL_SETTINGS");

  // Site: 200 overrides (25 of them of install locks), 50 of its own, 30 more locks.
  values.clear();
  controls.clear();
  int lockedOverrides = 0;
  for (int n = 0; n < 540 && values.size() < 200; n += 2) {
    if (InstallLocks(n) && ++lockedOverrides > 23) continue;
    values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "site"));
  }
  for (int n = 540; n < 590; ++n) values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "site"));
  for (int n = 0; n < 540; ++n)
    if (SiteLocks(n)) controls.emplace_back(n, NameOf(n) + " lock");
  std::ofstream(setup / "site.tak")
      << Sections(values, "") << Sections(controls, "_CONTROL_SETTINGS");

  // Project: 200 overrides (88 of them of locked directives), 20 of its own.
  values.clear();
  lockedOverrides = 0;
  for (int n = 1; n < 540 && values.size() < 200; n += 2) {
    const bool locked = InstallLocks(n) || SiteLocks(n);
    if (locked && ++lockedOverrides > 100) continue;
    values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "project"));
  }
  for (int n = 600; n < 620; ++n) values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "project"));
  const std::string project = (folder / "project.tak").string();
  std::ofstream(project) << Sections(values, "");

  // User: 30 directives it may set, 160 it may not (settings the site has since taken over).
  values.clear();
  for (int n = 0, allowed = 0, refused = 0; n < 540 && allowed + refused < 190; ++n) {
    if (UserMaySet(n) && allowed < 30) {
      ++allowed;
    } else if (!UserMaySet(n) && n % 3 == 2 && refused < 160) {
      ++refused;
    } else {
      continue;
    }
    values.emplace_back(n, NameOf(n) + " " + ValuesOf(n, "user"));
  }
  std::ofstream(setup / "user.tak") << Sections(values, "");
  return project;
}

}  // namespace site_hierarchy
