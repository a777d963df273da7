// The simulation views editor's argument texts for each of the six actions, and the texts
// that stop OK.
#include <gtest/gtest.h>

#include "verify/simviews/SimViewsAction.h"

TEST(SimViewsAction, EachActionHasItsOptionAndTheChecksTheirOrder) {
  SimViewsRequest request;
  request.projectFile = "/d/my proj/p.tak";
  request.library = "standard";
  request.cell = "7400";
  const std::string head = R"( -proj "/d/my proj/p.tak" -lib standard -cell 7400)";
  const std::vector<std::pair<SimViewsAction, std::string>> rows = {
      {SimViewsAction::NewVerilogWrapper, " -newVerilogWrapper junk"},
      {SimViewsAction::NewVerilogMapFile, " -newVerilogMapFile junk"},
      {SimViewsAction::OpenVerilog, " -openVerilog verilog_2"},
      {SimViewsAction::NewVhdlWrapper, " -newVhdlWrapper junk"},
      {SimViewsAction::NewVhdlMapFile, " -newVhdlMapFile junk"},
      {SimViewsAction::OpenVhdl, " -openVhdl verilog_2"},
  };
  request.view = "verilog_2";
  for (const auto& [action, option] : rows) {
    request.action = action;
    EXPECT_EQ(SimViewsMissingText(request), "");
    EXPECT_EQ(SimViewsArguments(request), head + option);
  }

  // Names that would split reach the tool quoted and intact; plain ones stay bare.
  request.library = "my lib";
  request.cell = "a\"b";
  request.view = "vhdl x";
  request.action = SimViewsAction::OpenVhdl;
  EXPECT_EQ(SimViewsArguments(request),
            R"( -proj "/d/my proj/p.tak" -lib "my lib" -cell "a\"b" -openVhdl "vhdl x")");

  request.view = "";
  EXPECT_EQ(SimViewsMissingText(request), "Please select a VHDL wrapper/map file");
  request.action = SimViewsAction::OpenVerilog;
  EXPECT_EQ(SimViewsMissingText(request), "Please select a Verilog wrapper/map file");
  request.action = SimViewsAction::NewVerilogWrapper;
  EXPECT_EQ(SimViewsMissingText(request), "");  // a new view needs no chosen view
  request.cell = "";
  EXPECT_EQ(SimViewsMissingText(request), "Please select a cell");
  request.library = "";
  EXPECT_EQ(SimViewsMissingText(request), "Please select a library");
}
