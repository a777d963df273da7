#include "StandinRecord.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

void RecordStandinStart(const char* tool, int argc, char** argv) {
  nlohmann::json words = nlohmann::json::array();
  for (int i = 1; i < argc; ++i) words.push_back(argv[i]);
  const auto dump = [](const nlohmann::json& j) {
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  };
  std::cout << tool << ": started with " << dump(words) << std::endl;
  if (const char* file = std::getenv("KESTRA_STANDIN_LOG"); file && *file) {
    std::error_code ec;
    const nlohmann::json record = {{"tool", tool},
                                   {"arguments", words},
                                   {"directory", std::filesystem::current_path(ec).string()}};
    std::ofstream(file, std::ios::app) << dump(record) << '\n';
  }
}
