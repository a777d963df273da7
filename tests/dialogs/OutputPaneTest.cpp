// The detail pane: appends, line breaks, the 1024-character cap and trimming.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/CMldOutput.h"

namespace {

struct Pane {
  std::unique_ptr<QPlainTextEdit> edit = std::make_unique<QPlainTextEdit>();
  CMldOutput output;
  Pane() { output.Attach(edit.get()); }
  std::string Text() const { return edit->toPlainText().toStdString(); }
};

}  // namespace

TEST(OutputPane, OpenLinesContinueAndLineEndsAreNotDoubled) {
  Pane pane;
  pane.output.AppendText("abc");
  pane.output.AppendText("def\n");
  EXPECT_EQ(pane.Text(), "abcdef\n");
  EXPECT_EQ(pane.output.GetLineCount(), 2);  // the line after the break is empty

  Pane crlf;
  crlf.output.AppendText("a\r\nb\r\n");
  EXPECT_EQ(crlf.Text(), "a\nb\n");
  EXPECT_EQ(crlf.output.GetLineCount(), 3);

  Pane blank;
  blank.output.AppendText("");
  blank.output.AppendText("\n\n");
  EXPECT_EQ(blank.Text(), "\n\n");
}

TEST(OutputPane, TakesAtMost1024CharactersOfOneText) {
  Pane pane;
  pane.output.AppendText(std::string(5000, 'x'));
  EXPECT_EQ(pane.Text(), std::string(1024, 'x'));

  // A line break after the cap is dropped with the rest.
  Pane cut;
  cut.output.AppendText(std::string(1024, 'y') + "\nnext");
  EXPECT_EQ(cut.Text(), std::string(1024, 'y'));
  EXPECT_EQ(cut.output.GetLineCount(), 1);

  // A character cut by the cap is dropped whole rather than shown broken.
  Pane utf8;
  utf8.output.AppendText(std::string(1023, 'z') + "\xC3\xA9" + "tail");
  EXPECT_EQ(utf8.Text(), std::string(1023, 'z'));
}

TEST(OutputPane, KeepsAtMost450LinesNewestLastCaretAtEnd) {
  Pane pane;
  for (int i = 1; i <= 460; ++i) pane.output.AppendText("line " + std::to_string(i) + "\n");
  EXPECT_LE(pane.output.GetLineCount(), 450);
  const std::string text = pane.Text();
  EXPECT_NE(text.find("line 460\n"), std::string::npos);
  EXPECT_EQ(text.find("line 1\n"), std::string::npos);
  // Trimming removes whole blocks of 25 from the front: 461 lines become 436.
  EXPECT_EQ(pane.output.GetLineCount(), 436);
  EXPECT_EQ(text.substr(0, 8), "line 26\n");
  EXPECT_EQ(pane.edit->textCursor().position(), pane.edit->document()->characterCount() - 1);
}

TEST(OutputPane, StaysBoundedUnderLoadWithPiecesOfManyLines) {
  Pane pane;
  pane.edit->resize(300, 200);
  std::string piece;
  for (int i = 0; i < 50; ++i) piece += "row " + std::to_string(i) + "\n";  // < 1024 chars
  for (int n = 0; n < 400; ++n) pane.output.AppendText(piece);              // 20000 lines
  EXPECT_LE(pane.output.GetLineCount(), 450);
  EXPECT_GE(pane.output.GetLineCount(), 450 - 25);
  EXPECT_EQ(pane.Text().substr(pane.Text().size() - 7), "row 49\n");
  EXPECT_FALSE(pane.edit->document()->isUndoAvailable());
  EXPECT_TRUE(pane.edit->isReadOnly());
  EXPECT_TRUE(pane.edit->updatesEnabled());
}

TEST(OutputPane, WithoutAWindowNothingHappens) {
  CMldOutput output;
  EXPECT_FALSE(output.HasWindow());
  output.AppendText("lost\n");
  EXPECT_EQ(output.GetLineCount(), 0);

  auto edit = std::make_unique<QPlainTextEdit>();
  output.Attach(edit.get());
  edit.reset();  // the dialog destroyed its edit
  EXPECT_FALSE(output.HasWindow());
  output.AppendText("also lost\n");
}

TEST(OutputPane, QueuedPiecesArriveTogetherAsAppendsWouldLeaveThem) {
  // The same pieces appended one by one and queued for one pass give the same pane.
  std::vector<std::string> pieces;
  for (int i = 0; i < 700; ++i)
    pieces.push_back(i % 3 == 0 ? "part " + std::to_string(i) + " "
                                : "line " + std::to_string(i) + "\r\n");
  pieces.push_back(std::string(2000, 'w') + "\n");  // cut to 1024, its line end dropped
  pieces.push_back("tail");
  Pane one;
  for (const auto& piece : pieces) one.output.AppendText(piece);
  Pane batch;
  for (const auto& piece : pieces) batch.output.QueueText(piece);
  EXPECT_EQ(batch.output.GetLineCount(), 1);  // nothing before the event loop's pass
  QCoreApplication::processEvents();
  EXPECT_EQ(batch.Text(), one.Text());
  EXPECT_EQ(batch.output.GetLineCount(), one.output.GetLineCount());
  EXPECT_LE(batch.output.GetLineCount(), 450);
  EXPECT_EQ(batch.edit->textCursor().position(), batch.edit->document()->characterCount() - 1);

  // A few pieces that do not reach the limit are added to what the pane holds.
  batch.output.QueueText("\nmore\n");
  batch.output.Flush();
  one.output.AppendText("\nmore\n");
  EXPECT_EQ(batch.Text(), one.Text());
}

TEST(OutputPane, ALoneCarriageReturnStaysInsideItsLine) {
  Pane pane;
  pane.output.AppendText("50%\r60%\r70%\n");
  EXPECT_EQ(pane.output.GetLineCount(), 2);
  EXPECT_EQ(pane.edit->document()->firstBlock().text(),
            QString("50%") + QChar(0x240D) + "60%" + QChar(0x240D) + "70%");
}
