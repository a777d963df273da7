// The detail pane of the progress dialog: a read-only, multi-line text area that receives a
// running tool's output and stays short and scrolled to the newest text.
//
// The pane holds no text of its own: it takes over a QPlainTextEdit (Attach) owned by the
// dialog, and forgets it when the widget is destroyed. UI thread only.
#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QPlainTextEdit;

class CMldOutput {
 public:
  static constexpr std::size_t kMaxAppendChars = 1024;  // characters taken from one text
  static constexpr int kMaxLines = 450;                 // lines kept in the pane
  static constexpr int kTrimLines = 25;                 // lines removed per trimming step

  CMldOutput() = default;
  CMldOutput(const CMldOutput&) = delete;
  CMldOutput& operator=(const CMldOutput&) = delete;

  // Takes over the edit control (not owned): read-only, no undo buffer.
  void Attach(QPlainTextEdit* edit);
  bool HasWindow() const;
  QPlainTextEdit* Edit() const;

  // Appends up to 1024 characters of text at the end: each "\n" (with a "\r" before it)
  // ends a line, a text without a final "\n" leaves the line open for the next append; a
  // "\r" not followed by "\n" stays inside its line (shown as the symbol for a carriage
  // return). Does nothing when the pane has no window.
  void AppendText(const std::string& text);
  // The same for a running tool's pieces: they wait until the event loop's next pass, which
  // puts everything that came meanwhile into the pane at once, so that a tool writing
  // thousands of pieces costs one insertion per pass instead of one per piece.
  void QueueText(const std::string& text);
  // Puts the waiting pieces into the pane now (before the dialog closes, say).
  void Flush();

  // The pane's line count as the edit control counts it (an open last line counts).
  int GetLineCount() const;

 private:
  void ScrollToEnd();
  // Inserts the texts (each cut to kMaxAppendChars) with the trimming applied in memory:
  // only the lines that survive it reach the control, in one insertion.
  void Insert(const std::vector<std::string>& texts);

  QPointer<QPlainTextEdit> edit_;
  std::vector<std::string> waiting_;
  // Alive while the pane is; a scheduled flush that outlives it does nothing.
  std::shared_ptr<CMldOutput*> self_ = std::make_shared<CMldOutput*>(this);
};
