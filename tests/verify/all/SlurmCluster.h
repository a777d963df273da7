// A real one-node Slurm cluster for a test: munged with a key of its own, slurmctld and
// slurmd in a temporary folder, naming this host as the only node. The daemons are children
// of the test (killed with it should it die) and are stopped by process id when the object
// goes, whatever happened; SLURM_CONF points the clients (sbatch, scontrol, ...) at it while
// it lives. Needs root and Debian's slurm-wlm and munge.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class SlurmCluster {
 public:
  // The running cluster, or nullptr with why it cannot run here (for GTEST_SKIP).
  static std::unique_ptr<SlurmCluster> Start(const std::filesystem::path& folder,
                                             std::string& whyNot);
  ~SlurmCluster();
  SlurmCluster(const SlurmCluster&) = delete;
  SlurmCluster& operator=(const SlurmCluster&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  // The daemons' logs, for a failure's message.
  std::string Logs() const;

 private:
  explicit SlurmCluster(std::filesystem::path folder) : folder_(std::move(folder)) {}
  bool Launch(const std::vector<std::string>& argv, std::string& whyNot);
  bool WaitUntilIdle(std::string& whyNot) const;

  std::filesystem::path folder_;
  std::vector<pid_t> daemons_;  // in start order; stopped in reverse
};
