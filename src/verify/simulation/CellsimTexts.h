// The simulation flow's messages, shared by the dialog and the headless verb. Standard C++.
#pragma once

inline constexpr const char* kCellsimModelsMissing =
    "The mentioned path to verilog models does not exist";
inline constexpr const char* kCellsimUdpsMissing =
    "The mentioned path to verilog udps does not exist";
inline constexpr const char* kCellsimOptionsFileMissing =
    "The mentioned options file does not exist";
inline constexpr const char* kCellsimNoLibrary = "Select a library/cell for verification";
inline constexpr const char* kCellsimNoDefaultPaths =
    "'vlog_model_path.txt' file does not exist in the library directory for default paths to be "
    "picked";
inline constexpr const char* kCellsimNoViews =
    "Please mention atleast one mapview/wrapperview for verification";
inline constexpr const char* kCellsimNoOptionsFile = "Please specify the vloptions file";
inline constexpr const char* kCellsimNoModels = "Please specify the path to the verilog models";
// Followed by the scratch directory and kCellsimNoChdirEnd.
inline constexpr const char* kCellsimNoChdir = "Unable to chdir to : ";
inline constexpr const char* kCellsimNoChdirEnd = ", can't run checks";
