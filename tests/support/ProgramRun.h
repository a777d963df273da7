// Runs a program of the build (kestra, a stand-in tool) as a real child process and keeps what
// it said. Needs the QApplication of the test main. A run that does not end in time fails
// the test and counts as status -1.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <string>

struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program crashed or did not end
  std::string out;
  std::string err;
};

inline ProgramRun RunProgram(
    const QString& program, const QStringList& words, const std::string& workingDirectory = {},
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
    int timeoutMs = 60000) {
  QProcess process;
  process.setProcessEnvironment(env);
  if (!workingDirectory.empty())
    process.setWorkingDirectory(QString::fromStdString(workingDirectory));
  process.start(program, words);
  EXPECT_TRUE(process.waitForFinished(timeoutMs)) << program.toStdString() << " did not end";
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// The module's command-line program and the stand-in tools, as the build places them.
#define KESTRA_PROGRAM QStringLiteral(KESTRA_BINARY_DIR "/bin/kestra")
#define STAND_IN_TOOL(name) QStringLiteral(KESTRA_BINARY_DIR "/tools/bin/" name)
