#include "SlurmCluster.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string Found(const std::string& name) {
  for (const char* folder : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/"}) {
    if (::access((folder + name).c_str(), X_OK) == 0) return folder + name;
  }
  return "";
}

// Runs a client command to its end; its standard output, "" when it failed.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    if (::pclose(pipe) != 0) text.clear();
  }
  return text;
}

bool WaitFor(const std::function<bool()>& ready, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return ready();
}

}  // namespace

std::unique_ptr<SlurmCluster> SlurmCluster::Start(const fs::path& folder, std::string& whyNot) {
  if (::geteuid() != 0) {
    whyNot = "a one-node Slurm cluster needs root (slurmd runs the jobs as their users)";
    return nullptr;
  }
  for (const char* program : {"munged", "mungekey", "slurmctld", "slurmd", "sbatch"}) {
    if (Found(program).empty()) {
      whyNot = std::string(program) + " is not installed (Debian's slurm-wlm and munge)";
      return nullptr;
    }
  }
  std::unique_ptr<SlurmCluster> cluster(new SlurmCluster(folder));
  for (const char* sub : {"state", "spool", "log", "munge"}) fs::create_directories(folder / sub);
  fs::permissions(folder / "munge", fs::perms::owner_all);
  const std::string f = folder.string();
  const std::string socket = f + "/munge/munge.socket";
  if (std::system(("mungekey -c -k " + f + "/munge/munge.key >/dev/null 2>&1").c_str()) != 0) {
    whyNot = "mungekey -c cannot make a munge key";
    return nullptr;
  }
  if (!cluster->Launch(
          {Found("munged"), "--foreground", "--force", "--socket=" + socket,
           "--key-file=" + f + "/munge/munge.key", "--pid-file=" + f + "/munge/munged.pid",
           "--log-file=" + f + "/log/munged.log", "--seed-file=" + f + "/munge/seed"},
          whyNot))
    return nullptr;
  if (!WaitFor([&] { return fs::exists(socket); }, std::chrono::seconds(10))) {
    whyNot = "munged did not start: " + cluster->Logs();
    return nullptr;
  }
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  std::string node = host;
  node = node.substr(0, node.find('.'));
  // Ports of this test's own, so that a cluster of the machine is left alone.
  const int port = 20000 + static_cast<int>(::getpid() % 10000) * 2;
  std::ofstream conf(folder / "slurm.conf");
  conf << "ClusterName=kestratest\nSlurmctldHost=" << node << "\nSlurmUser=root\n"
       << "SlurmdUser=root\nAuthType=auth/munge\nCredType=cred/munge\n"
       << "AuthInfo=socket=" << socket << "\nSlurmctldPort=" << port << "\nSlurmdPort=" << port + 1
       << "\nStateSaveLocation=" << f << "/state\n"
       << "SlurmdSpoolDir=" << f << "/spool\nSlurmctldPidFile=" << f << "/slurmctld.pid\n"
       << "SlurmdPidFile=" << f << "/slurmd.pid\nSlurmctldLogFile=" << f
       << "/log/slurmctld.log\nSlurmdLogFile=" << f << "/log/slurmd.log\n"
       << "ProctrackType=proctrack/linuxproc\nTaskPlugin=task/none\n"
       << "SchedulerType=sched/builtin\nSelectType=select/cons_tres\n"
       << "SelectTypeParameters=CR_Core\nMinJobAge=120\nKillWait=2\nReturnToService=2\n"
       // Start a task as soon as a CPU is free, not at the next scheduling pass (3 s).
       << "SchedulerParameters=batch_sched_delay=0,sched_min_interval=0\n"
       << "JobCompType=jobcomp/none\nAccountingStorageType=accounting_storage/none\n"
       << "MpiDefault=none\nNodeName=" << node << " CPUs=" << std::thread::hardware_concurrency()
       << " RealMemory=512 State=UNKNOWN\nPartitionName=debug Nodes=" << node
       << " Default=YES MaxTime=INFINITE State=UP\n";
  conf.close();
  ::setenv("SLURM_CONF", (folder / "slurm.conf").c_str(), 1);
  const std::string confFile = (folder / "slurm.conf").string();
  if (!cluster->Launch({Found("slurmctld"), "-D", "-f", confFile}, whyNot) ||
      !cluster->Launch({Found("slurmd"), "-D", "-f", confFile}, whyNot) ||
      !cluster->WaitUntilIdle(whyNot))
    return nullptr;
  return cluster;
}

bool SlurmCluster::Launch(const std::vector<std::string>& argv, std::string& whyNot) {
  std::vector<char*> args;
  for (const std::string& word : argv) args.push_back(const_cast<char*>(word.c_str()));
  args.push_back(nullptr);
  const std::string out = (folder_ / "log" / (fs::path(argv[0]).filename().string() + ".out"));
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Should the test die, so do its daemons.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
      ::dup2(fd, 1);
      ::dup2(fd, 2);
    }
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  if (pid < 0) {
    whyNot = "cannot start " + argv[0];
    return false;
  }
  daemons_.push_back(pid);
  return true;
}

bool SlurmCluster::WaitUntilIdle(std::string& whyNot) const {
  const bool idle = WaitFor([] { return Output("sinfo -h -o %T").rfind("idle", 0) == 0; },
                            std::chrono::seconds(30));
  if (!idle) whyNot = "the one-node cluster did not come up: " + Logs();
  return idle;
}

std::string SlurmCluster::Logs() const {
  std::string text;
  for (const char* log :
       {"munged.log", "munged.out", "slurmctld.out", "slurmctld.log", "slurmd.out", "slurmd.log"}) {
    const std::string content = ReadFile(folder_ / "log" / log);
    text += std::string("\n--- ") + log + "\n" +
            (content.size() > 2000 ? content.substr(content.size() - 2000) : content);
  }
  return text;
}

SlurmCluster::~SlurmCluster() {
  // Nothing of the test's may go on running: its jobs first, then the daemons.
  if (daemons_.size() == 3) Output("scancel --user=root");
  for (auto pid = daemons_.rbegin(); pid != daemons_.rend(); ++pid) {
    ::kill(*pid, SIGTERM);
    int status = 0;
    const bool ended = WaitFor([&] { return ::waitpid(*pid, &status, WNOHANG) == *pid; },
                               std::chrono::seconds(10));
    if (!ended) {
      ::kill(*pid, SIGKILL);
      ::waitpid(*pid, &status, 0);
    }
  }
  ::unsetenv("SLURM_CONF");
}
