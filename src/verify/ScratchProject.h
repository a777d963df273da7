// A scratch copy of a project in a folder of its own, so that several runs of the flows on
// one project can go at once without sharing a file: the project file is copied, every other
// entry of the project's folder is linked, except the files and folders the flows write there
// (the temporary project, the run, scratch and temp folders, the consistency summary). The
// flows then write into the scratch folder and read the libraries where they are.
// Standard C++ only; any thread (the project-file library's last message is process-wide).
#pragma once

#include <optional>
#include <string>

// Makes directory the scratch copy of projectFile and returns the copied project file, or
// nullopt with the reason in error. A folder already there is emptied but for what a fresh
// copy holds (links to where they lead, the copied project file while it holds the project's
// bytes with no other name), so that making a copy again over an earlier one costs only what
// changed and leaves the same entries as a fresh copy.
std::optional<std::string> MakeScratchProject(const std::string& projectFile,
                                              const std::string& directory, std::string& error);

// The project's temp folder: GLOBAL temp_dir taken from the project's folder when relative,
// else "temp" there. Absolute; the folder need not exist.
std::string ProjectTempFolder(const std::string& projectFile);
