// The detail pane of the progress dialog: a read-only, multi-line text area that receives a
// running tool's output and stays short and scrolled to the newest text.
//
// The pane holds no text of its own: it takes over a QPlainTextEdit (Attach) owned by the
// dialog, and forgets it when the widget is destroyed. UI thread only.
#pragma once

#include <QPointer>
#include <string>

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
  void Detach();
  bool HasWindow() const;
  QPlainTextEdit* Edit() const;

  // Appends up to 1024 characters of text at the end: each "\n" (with a "\r" before it)
  // ends a line, a text without a final "\n" leaves the line open for the next append.
  // Does nothing when the pane has no window.
  void AppendText(const std::string& text);

  // The pane's line count as the edit control counts it (an open last line counts).
  int GetLineCount() const;

 private:
  void ScrollToEnd();
  void Trim();

  QPointer<QPlainTextEdit> edit_;
};
