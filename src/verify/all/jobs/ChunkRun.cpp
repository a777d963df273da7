#include "verify/all/jobs/ChunkRun.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/PrintableText.h"
#include "base/ReplaceFile.h"
#include "verify/ResultOutput.h"
#include "verify/all/jobs/JobCommands.h"
#include "verify/all/jobs/JobOutcome.h"
#include "verify/all/jobs/JobWorker.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/jobs/WorkerPool.h"
#include "verify/all/page/RunChanges.h"

namespace {

constexpr int kUsageStatus = 2;

struct ChunkJob {
  PartJob part;
  JobCommand command;
};

std::optional<std::vector<ChunkJob>> ReadChunk(const std::string& file, std::string& error) {
  std::string text;
  if (!ReadRegularFile(file, text, &error)) return std::nullopt;
  std::vector<ChunkJob> jobs;
  std::istringstream in(text);
  std::size_t number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty()) continue;
    ChunkJob job;
    try {
      const auto parsed = nlohmann::json::parse(line);
      job.part.flow = parsed.at("flow").get<std::string>();
      job.part.library = parsed.at("library").get<std::string>();
      job.part.cell = parsed.at("cell").get<std::string>();
      job.command.argv = {RunningProgram()};
      for (const auto& word : parsed.at("argv"))
        job.command.argv.push_back(word.get<std::string>());
      job.command.output = parsed.at("output").get<std::string>();
      job.command.errors = parsed.at("errors").get<std::string>();
    } catch (const nlohmann::json::exception& e) {
      error = "line " + std::to_string(number) + " is not a job: " + e.what();
      return std::nullopt;
    }
    jobs.push_back(std::move(job));
  }
  return jobs;
}

}  // namespace

std::string ChunkJobLine(const PartJob& job, const JobCommand& command) {
  auto line = nlohmann::json::parse(WorkerJobLine(command));
  line["flow"] = job.flow;
  line["library"] = job.library;
  line["cell"] = job.cell;
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int RunChunk(const std::string& chunkFile, long timeLimit, std::ostream& err) {
  std::string error;
  const auto jobs = ReadChunk(chunkFile, error);
  if (!jobs) {
    err << "kestra verify all: " << PrintableText(chunkFile) << ": " << PrintableText(error)
        << "\n";
    return kUsageStatus;
  }
  int status = 0;
  std::size_t finished = 0;
  WorkerPool pool({RunningProgram(), "verify", "all", "-worker"}, chunkFile + ".", 1,
                  std::chrono::seconds(timeLimit));
  pool.Run(
      jobs->size(), [&](std::size_t n) { return (*jobs)[n].command; },
      [&](std::size_t n, const JobEnd& end) {
        const ChunkJob& job = (*jobs)[n];
        VerifyResult result =
            JobResult(job.part, end, job.command.output, job.command.errors, timeLimit);
        if (end.how == JobEnd::How::NotStarted) result.log.clear();
        // The record as the plan names the part, or why there is none, replaces what the job
        // wrote (nothing, half a file, the results of a job that was stopped).
        if (!ReplaceFileContent(job.command.output, ResultRecordJson(result), &error)) {
          err << "kestra verify all: " << PrintableText(error) << "\n";
          status = kUsageStatus;
        }
        err << "[" << ++finished << "/" << jobs->size() << "] "
            << PrintableText(job.part.library + "/" + job.part.cell + " " + job.part.flow) << ": "
            << VerdictWord(result) << "\n";
      });
  if (pool.StopSignal() != 0) return 128 + pool.StopSignal();
  return status;
}
