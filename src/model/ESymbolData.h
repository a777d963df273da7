// A symbol of a part: its connections (pins) and properties by name, its drawing objects and
// bubble groups, and its outline points. The containers own what they hold.
#pragma once

#include <string>
#include <vector>

#include "model/Cursor.h"
#include "model/EGridCoordinate.h"
#include "model/RSymbolView.h"
#include "model/WCMapStringToOb.h"
#include "model/WCObList.h"

class ESymbolData : public RSymbolView {
 public:
  using TextList = std::vector<std::string>;
  using CoordinateList = std::vector<EGridCoordinate>;

  ESymbolData() = default;

  WCMapStringToOb& getConnections() { return connections_; }
  WCMapStringToOb& getPropList() { return propList_; }
  WCObList& getLineList() { return lineList_; }
  WCObList& getArcList() { return arcList_; }
  WCObList& getTextList() { return textList_; }
  TextList& getBubbleGroupList() { return bubbleGroupList_; }
  CoordinateList& getXList() { return xList_; }
  CoordinateList& getYList() { return yList_; }

  // The bubble-group walk: initBubbleGroupList tells whether there is a group;
  // getNextBubbleGroup delivers the next one and tells whether another follows (it
  // delivers nothing once the walk has ended).
  bool initBubbleGroupList() { return bubbleCursor_.start(bubbleGroupList_); }
  bool getNextBubbleGroup(std::string& group);

 private:
  WCMapStringToOb connections_{10, true};
  WCMapStringToOb propList_{10, true};
  WCObList lineList_{10, true};
  WCObList arcList_{10, true};
  WCObList textList_{10, true};
  TextList bubbleGroupList_;
  Cursor<TextList> bubbleCursor_;
  CoordinateList xList_;
  CoordinateList yList_;
};
