// The grid control library (classes prefixed CGX). GXInit is implemented; the grid classes
// are declarations only until the footprint flow uses them.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"

// Initialises the grid library for a language (0x0800: the system default) with an optional
// language library and path; once when the module loads.
void GXInit(unsigned language, const char* languageLibrary, const char* path);

class CGXRange {
 public:
  CGXRange(long row, long column);
  long row;
  long column;
};

class CGXStyle {
 public:
  CGXStyle& SetValue(std::string value);
  CGXStyle& SetReadOnly(bool readOnly);
  CGXStyle& SetControl(unsigned control);
  CGXStyle& SetUserAttribute(unsigned id, std::string value);
};

class CGXGridParam {
 public:
  void EnableUndo(bool enable);
  void EnableMoveCols(bool enable);
  void SetMinTrackColWidth(int width);
  void SetSortRowsOnDblClk(bool enable);
  void EnableSelection(unsigned flags);
};

class CGXGridCore {
 public:
  virtual ~CGXGridCore();
  bool SetStyleRange(const CGXRange& range, const CGXStyle& style);
  bool SetValueRange(const CGXRange& range, std::string value);
  std::string GetValueRowCol(long row, long column);
  bool GetCurrentCell(long& row, long& column);
  void EnableGridToolTips(bool enable);
  CGXGridParam* GetParam();
};

class CGXGridWnd : public CGXGridCore {
 public:
  void Initialize();
};
