#include "dialogs/CMldOutput.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// At most `limit` bytes of text, never ending inside a UTF-8 sequence, so that a cut
// never shows a broken character.
std::string_view Head(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  // Back up over continuation bytes to the lead byte of the sequence that was cut.
  std::size_t lead = end;
  while (lead > 0 && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) --lead;
  if (lead < end) {
    const auto c = static_cast<unsigned char>(text[lead]);
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (lead + length > end) end = lead;
  }
  return std::string_view(text).substr(0, end);
}

}  // namespace

void CMldOutput::Attach(QPlainTextEdit* edit) {
  edit_ = edit;
  if (!edit) return;
  edit->setReadOnly(true);
  // The pane only ever grows at the end and is trimmed from the front: an undo stack would
  // keep every removed line alive.
  edit->setUndoRedoEnabled(false);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void CMldOutput::Detach() { edit_ = nullptr; }

bool CMldOutput::HasWindow() const { return !edit_.isNull(); }

QPlainTextEdit* CMldOutput::Edit() const { return edit_.data(); }

int CMldOutput::GetLineCount() const { return edit_ ? edit_->document()->blockCount() : 0; }

void CMldOutput::AppendText(const std::string& text) {
  if (!edit_) return;
  const std::string_view head = Head(text, kMaxAppendChars);
  if (head.empty()) return;
  // The pieces between line ends go in as one insertion: each "\n" (without a "\r" just
  // before it) becomes one line break of the document, a final piece without "\n" stays an
  // open line. Trimming after the whole insertion leaves the same lines as trimming after
  // every line break would, because each step removes exactly kTrimLines lines.
  QString insert;
  insert.reserve(static_cast<qsizetype>(head.size()));
  bool lineEnded = false;
  std::size_t start = 0;
  while (start < head.size()) {
    const std::size_t newline = head.find('\n', start);
    std::string_view piece = head.substr(
        start, newline == std::string_view::npos ? std::string_view::npos : newline - start);
    if (newline != std::string_view::npos && !piece.empty() && piece.back() == '\r')
      piece.remove_suffix(1);
    insert += QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    if (newline == std::string_view::npos) break;  // an open line, continued next time
    insert += QChar::ParagraphSeparator;           // the pane's "\r\n"
    lineEnded = true;
    start = newline + 1;
  }
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(insert);
  if (lineEnded) Trim();
  ScrollToEnd();
}

void CMldOutput::ScrollToEnd() {
  QTextCursor cursor = edit_->textCursor();
  cursor.movePosition(QTextCursor::End);
  edit_->setTextCursor(cursor);
  edit_->ensureCursorVisible();
}

void CMldOutput::Trim() {
  const int lines = GetLineCount();
  if (lines <= kMaxLines) return;
  // Blocks of kTrimLines until at most kMaxLines remain, removed in one edit.
  const int steps = (lines - kMaxLines + kTrimLines - 1) / kTrimLines;
  QTextDocument* document = edit_->document();
  edit_->setUpdatesEnabled(false);
  QTextCursor cursor(document);
  cursor.setPosition(document->findBlockByNumber(steps * kTrimLines).position(),
                     QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  edit_->setUpdatesEnabled(true);
}
