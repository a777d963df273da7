#include "tak/TakModelJson.h"

#include "projectfile/CSpiProgramList.h"

nlohmann::json TakModelJson(const CSpiProgramList& programs) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& program : programs.Programs()) {
    nlohmann::json directives = nlohmann::json::array();
    for (const auto& directive : program->Directives()) {
      nlohmann::json levels = nlohmann::json::array();
      for (int level = 0; level < kSpiLevelCount; ++level) {
        levels.push_back({{"level", level},
                          {"values", directive->values[level].Values()},
                          {"controls", directive->controls[level].Values()},
                          {"controlPresent", directive->controlPresent[level]}});
      }
      directives.push_back({{"name", directive->name},
                            {"winningLevel", directive->winningLevel},
                            {"doubleQuoted", directive->doubleQuoted},
                            {"projectSet", directive->projectSet},
                            {"userSet", directive->userSet},
                            {"levels", levels}});
    }
    out.push_back({{"name", program->name}, {"level", program->level}, {"directives", directives}});
  }
  return out;
}
