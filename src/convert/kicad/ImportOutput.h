// Writing the converted files into the import's own new folder: plain creates of new files
// and folders (nobody else writes there), and the switch that makes the new folder the
// project's at the end. Standard C++ and POSIX; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Creates path as a new file holding content; false with error set.
bool WriteNewFile(const std::string& path, std::string_view content, std::string& error);
// Creates a folder (its parent must exist); an existing folder is fine.
bool MakeFolder(const std::string& path, std::string& error);
// Gives the content of an existing new file a second name (a hard link, else a copy).
bool SecondName(const std::string& path, const std::string& second, std::string_view content,
                std::string& error);
// Removes a folder and everything in it; quietly. With workers above 1, the folders two levels
// down (an import's libraries) are removed by that many threads at once.
void RemoveTree(const std::string& path, int workers = 1);
