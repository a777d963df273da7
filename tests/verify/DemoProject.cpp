#include "DemoProject.h"

std::filesystem::path CopyDemoProject(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const fs::path source = fs::path(KESTRA_SOURCE_DIR) / "examples" / "demo";
  const fs::path target = folder / "demo";
  fs::create_directories(target);
  for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
    const std::string name = entry.path().filename().string();
    if (name == "rulex" || name == "temp" || name == "temp_sim_test" ||
        name.ends_with("_tmp.tak") || name.starts_with("temp_ftb_test") || name == "demo.sum" ||
        name == "demo.log")
      continue;
    fs::copy(entry.path(), target / name, fs::copy_options::recursive);
  }
  fs::create_directories(target / "temp");
  return target / "demo.tak";
}
