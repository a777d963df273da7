#include "dialogs/CMldOutput.h"

#include <QMetaObject>
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

bool CMldOutput::HasWindow() const { return !edit_.isNull(); }

QPlainTextEdit* CMldOutput::Edit() const { return edit_.data(); }

int CMldOutput::GetLineCount() const { return edit_ ? edit_->document()->blockCount() : 0; }

void CMldOutput::AppendText(const std::string& text) {
  if (!edit_) return;
  Flush();  // pieces queued before come first
  Insert({text});
}

void CMldOutput::QueueText(const std::string& text) {
  if (!edit_) return;
  if (waiting_.empty()) {
    std::weak_ptr<CMldOutput*> self = self_;
    QMetaObject::invokeMethod(
        edit_.data(),
        [self] {
          if (const auto pane = self.lock()) (*pane)->Flush();
        },
        Qt::QueuedConnection);
  }
  waiting_.push_back(text);
}

void CMldOutput::Flush() {
  if (waiting_.empty()) return;
  std::vector<std::string> texts;
  texts.swap(waiting_);
  if (edit_) Insert(texts);
}

void CMldOutput::Insert(const std::vector<std::string>& texts) {
  // The new text as lines: each "\n" (without a "\r" just before it) ends one; the first
  // continues the pane's open last line, the last stays open.
  std::vector<QString> lines(1);
  for (const std::string& text : texts) {
    const std::string_view head = Head(text, kMaxAppendChars);
    std::size_t start = 0;
    while (start < head.size()) {
      const std::size_t newline = head.find('\n', start);
      std::string_view piece = head.substr(
          start, newline == std::string_view::npos ? std::string_view::npos : newline - start);
      if (newline != std::string_view::npos && !piece.empty() && piece.back() == '\r')
        piece.remove_suffix(1);
      QString part = QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
      // The control would break the line at a lone "\r"; it stays inside the line instead.
      part.replace(QChar('\r'), QChar(0x240D));
      lines.back() += part;
      if (newline == std::string_view::npos) break;  // an open line, continued next time
      lines.emplace_back();
      start = newline + 1;
    }
  }
  const int breaks = static_cast<int>(lines.size()) - 1;
  if (breaks == 0 && lines.front().isEmpty()) return;

  // Trimming after every line break removes kTrimLines lines each time the count passes
  // kMaxLines; the lines it leaves are the same as one removal of the whole steps at the end.
  QTextDocument* document = edit_->document();
  const int existing = document->blockCount();
  const int total = existing + breaks;
  const int removed =
      total > kMaxLines ? (total - kMaxLines + kTrimLines - 1) / kTrimLines * kTrimLines : 0;
  edit_->setUpdatesEnabled(false);
  QTextCursor cursor(document);
  QString insert;
  if (removed < existing) {
    // The oldest lines go, the new ones are added at the end.
    if (removed > 0) {
      cursor.setPosition(document->findBlockByNumber(removed).position(), QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) insert += QChar::ParagraphSeparator;  // the pane's "\r\n"
      insert += lines[i];
    }
  } else {
    // Every line the pane holds goes: only the surviving new lines are written.
    lines.front().prepend(document->lastBlock().text());
    const auto first = static_cast<std::size_t>(removed - (existing - 1));
    for (std::size_t i = first; i < lines.size(); ++i) {
      if (i > first) insert += QChar::ParagraphSeparator;
      insert += lines[i];
    }
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);  // replaced as a whole
  }
  cursor.insertText(insert);
  edit_->setUpdatesEnabled(true);
  ScrollToEnd();
}

void CMldOutput::ScrollToEnd() {
  QTextCursor cursor = edit_->textCursor();
  cursor.movePosition(QTextCursor::End);
  edit_->setTextCursor(cursor);
  edit_->ensureCursorVisible();
}
