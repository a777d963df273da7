// The project model as JSON, for "tak parse".
#pragma once

#include <nlohmann/json.hpp>

class CSpiProgramList;

nlohmann::json TakModelJson(const CSpiProgramList& programs);
