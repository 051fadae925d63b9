#pragma once

#include "inspect/FileBlocks.h"
#include "inspect/LineLayout.h"
#include "inspect/TextLines.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <compare>
#include <memory>
#include <optional>

namespace vastel {

class LineCounter;
class LineIndex;

// A text and hexadecimal file viewer for files of any size. It reads the file through a small
// block cache and never holds the whole file; text lines are counted on a worker thread, and
// until that is done the line count (and the numbers of lines it has not reached) are unknown.
// Positions are places: the byte offset where a displayed line starts and a display column.
class FileViewer : public QAbstractScrollArea {
    Q_OBJECT
  public:
    struct Place {
        qint64 lineStart = 0;
        int column = 0;
        auto operator<=>(const Place&) const = default;
    };
    static constexpr int kPrintedLineLength = 1024;
    static constexpr int kMaxCells = 8192;  // shown of one line

    explicit FileViewer(QWidget* parent = nullptr);
    ~FileViewer() override;

    // Loading: set the name, then switch it active.
    void setFileName(const QByteArray& path);
    const QByteArray& fileName() const { return path_; }
    void setActive(bool active);
    bool isActive() const { return active_; }
    QString errorText() const { return error_; }  // why the file is not shown

    qint64 fileSize() const { return blocks_.size(); }
    std::optional<qint64> lineCount() const;
    // Waits for the count, keeping the windows painted.
    void makeLineCountKnown();

    Place caret() const { return caret_; }
    std::optional<qint64> caretLine() const { return lineNumberOf(caret_.lineStart); }
    int caretColumn() const { return caret_.column; }
    qint64 topLineStart() const { return top_; }
    std::optional<qint64> topLine() const { return lineNumberOf(top_); }
    std::optional<qint64> lineNumberOf(qint64 lineStart) const;
    // Puts the caret on a line (clamped to the file) and shows it; waits for the count when
    // the line lies beyond what has been counted.
    void setCaretPosition(qint64 line, int column);

    bool hexMode() const { return hex_; }
    void setHexMode(bool on);
    bool tabExpansion() const { return expandTabs_; }
    void setTabExpansion(bool on);
    int tabSize() const { return tabSize_; }
    void setTabSize(int size);

    bool hasSelection() const { return anchor_ != caret_; }
    Place selectionStart() const { return std::min(anchor_, caret_); }
    Place selectionEnd() const { return std::max(anchor_, caret_); }
    void selectAll();
    // The selected text as displayed, lines joined by "\n"; nullopt when the selection spans
    // more than maxBytes of the file.
    std::optional<QString> selectedText(qint64 maxBytes) const;
    bool copySelection(qint64 maxBytes = 32 << 20);

    // Finds the text (its UTF-8 bytes) and selects it. From the caret, or from the start or
    // end of the file with wholeFile.
    bool search(const QString& text, bool backward, bool matchCase, bool wholeFile);

    // Walking the displayed lines, for printing.
    qint64 firstLineStart() const { return 0; }
    qint64 nextLineStart(qint64 lineStart) const;  // fileSize() after the last line
    QString lineText(qint64 lineStart, int maxChars = kPrintedLineLength) const;
    LineLayout lineLayout(qint64 lineStart) const;
    void scrollToLineStart(qint64 lineStart);

  Q_SIGNALS:
    // The caret, the view, the count or the file changed.
    void statusChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void openFile();
    void closeFile();
    void onCountProgress();
    void onScrollAction(int action);

    qint64 lineStartOf(qint64 offset) const;
    qint64 previousLineStart(qint64 lineStart) const;
    qint64 lastLineStart() const;
    qint64 walk(qint64 lineStart, qint64 lines) const;  // negative: backward
    std::optional<qint64> startOfLine(qint64 line) const;
    qint64 byteOf(const Place& place) const;
    Place placeOfByte(qint64 offset) const;
    Place placeAfterByte(qint64 offset) const;
    Place endPlace() const;

    int rows() const;  // lines that fit wholly, at least 1
    int visibleColumns() const;
    qint64 maxTop() const;
    void setTop(qint64 lineStart);
    void moveCaret(const Place& place, bool extend);
    void moveCaretLines(qint64 lines, bool extend);
    void ensureCaretVisible();
    void centreOn(qint64 lineStart);
    void updateMetrics();
    void updateScrollBars();
    void relayout(bool hex, bool expandTabs, int tabSize);
    Place placeAt(const QPoint& point) const;
    void changed();

    QByteArray path_;
    bool active_ = false;
    QString error_;
    mutable FileBlocks blocks_;
    mutable TextLines lines_{blocks_};
    std::shared_ptr<LineIndex> index_;
    std::unique_ptr<LineCounter> counter_;

    bool hex_ = false;
    bool expandTabs_ = true;
    int tabSize_ = 8;
    int offsetDigits_ = 8;

    qint64 top_ = 0;
    Place caret_, anchor_;
    int wantedColumn_ = 0;  // kept while moving up and down
    int charWidth_ = 8, lineHeight_ = 14, ascent_ = 11;
    int widest_ = 0;
    int scrollValue_ = -1;       // the value the vertical bar was last given
    bool scrollByLines_ = true;  // else the bar is proportional to the top line's offset
    bool updatingBars_ = false;
    int wheelRest_ = 0;
    mutable qint64 maxTop_ = -1;
    mutable QHash<qint64, LineLayout> layouts_;
};

}  // namespace vastel
