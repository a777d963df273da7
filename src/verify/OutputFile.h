// One rule for the files a verb writes (-junit, -html, -plan), checked before anything runs:
// the file's own folder is made when its parent exists, nothing further up is ever made, and a
// file that could not be written is refused at once. Standard C++ only; any thread.
#pragma once

#include <string>

// "" when file can be written (its folder exists, or has just been made below an existing
// parent); else why not, naming the file and the folder.
std::string PrepareOutputFile(const std::string& file);
