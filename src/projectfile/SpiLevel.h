// The levels at which project files are read; each also indexes the per-level arrays of a
// directive.
#pragma once

enum SpiLevel : int {
  SPI_LEVEL_INSTALL = 0,  // "qvd.tak" of the install tree
  SPI_LEVEL_SITE = 1,     // "site.tak"
  SPI_LEVEL_PROJECT = 2,  // the project file named by the caller
  SPI_LEVEL_USER = 3,     // "user.tak"
};

inline constexpr int kSpiLevelCount = 4;
