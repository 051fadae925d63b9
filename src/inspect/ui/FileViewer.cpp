#include "inspect/ui/FileViewer.h"

#include "inspect/FileSearch.h"
#include "inspect/LineCounter.h"
#include "inspect/LineIndex.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <cerrno>
#include <cstring>
#include <limits>

namespace vastel {

namespace {
constexpr int kMargin = 3;
constexpr int kScrollSteps = 1000000;  // bar resolution while the line count is unknown
constexpr int kLayoutCacheLimit = 2048;
}  // namespace

FileViewer::FileViewer(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &FileViewer::onScrollAction);
    updateMetrics();
}

FileViewer::~FileViewer() { closeFile(); }

void FileViewer::setFileName(const QByteArray& path) {
    if (path == path_) return;
    const bool reopen = active_;
    setActive(false);
    path_ = path;
    if (reopen) setActive(true);
}

void FileViewer::setActive(bool active) {
    if (active) {
        closeFile();
        openFile();
    } else {
        closeFile();
        error_.clear();
    }
    changed();
}

void FileViewer::openFile() {
    error_.clear();
    if (!blocks_.open(path_)) {
        error_ = QStringLiteral("Cannot read %1: %2")
                     .arg(displayPath(path_), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    active_ = true;
    offsetDigits_ = hexOffsetDigits(blocks_.size());
    index_ = std::make_shared<LineIndex>();
    lines_.setIndex(index_.get());
    counter_ = std::make_unique<LineCounter>(path_, blocks_.size(), index_);
    connect(counter_.get(), &LineCounter::progress, this, &FileViewer::onCountProgress,
            Qt::QueuedConnection);
    counter_->start(QThread::LowPriority);
}

void FileViewer::closeFile() {
    counter_.reset();  // stops and joins the worker before its index goes
    lines_.setIndex(nullptr);
    index_.reset();
    blocks_.close();
    active_ = false;
    top_ = 0;
    caret_ = anchor_ = {};
    wantedColumn_ = 0;
    widest_ = 0;
    maxTop_ = -1;
    layouts_.clear();
    horizontalScrollBar()->setValue(0);
}

void FileViewer::onCountProgress() {
    // The bar switches from byte proportions to line numbers once the count is known.
    if (index_ && index_->done()) updateScrollBars();
    Q_EMIT statusChanged();
}

std::optional<qint64> FileViewer::lineCount() const {
    if (!active_) return 0;
    if (hex_) return (blocks_.size() + kHexBytesPerLine - 1) / kHexBytesPerLine;
    return index_->lineCount();
}

void FileViewer::makeLineCountKnown() {
    if (!active_ || hex_ || index_->done()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (!index_->waitDone(20))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
    onCountProgress();
}

std::optional<qint64> FileViewer::lineNumberOf(qint64 lineStart) const {
    if (!active_ || blocks_.size() == 0) return 0;
    if (hex_) return lineStart / kHexBytesPerLine;
    return lines_.lineOf(lineStart);
}

// ---- lines in either mode ----

qint64 FileViewer::lineStartOf(qint64 offset) const {
    if (hex_) {
        const qint64 last = std::max<qint64>(blocks_.size() - 1, 0);
        return std::clamp<qint64>(offset, 0, last) / kHexBytesPerLine * kHexBytesPerLine;
    }
    return lines_.lineStartAtOrBefore(offset);
}

qint64 FileViewer::nextLineStart(qint64 lineStart) const {
    if (hex_) return std::min(lineStart + kHexBytesPerLine, blocks_.size());
    return lines_.nextLineStart(lineStart);
}

qint64 FileViewer::previousLineStart(qint64 lineStart) const {
    if (hex_) return std::max<qint64>(lineStart - kHexBytesPerLine, 0);
    return lines_.previousLineStart(lineStart);
}

qint64 FileViewer::lastLineStart() const { return lineStartOf(blocks_.size() - 1); }

qint64 FileViewer::walk(qint64 lineStart, qint64 lines) const {
    for (; lines > 0; --lines) {
        const qint64 next = nextLineStart(lineStart);
        if (next >= blocks_.size()) break;
        lineStart = next;
    }
    for (; lines < 0 && lineStart > 0; ++lines) lineStart = previousLineStart(lineStart);
    return lineStart;
}

std::optional<qint64> FileViewer::startOfLine(qint64 line) const {
    if (hex_) {
        const qint64 start = line * kHexBytesPerLine;
        if (line < 0 || start >= std::max<qint64>(blocks_.size(), 1)) return std::nullopt;
        return start;
    }
    if (blocks_.size() == 0) return line == 0 ? std::optional<qint64>(0) : std::nullopt;
    return lines_.startOfLine(line);
}

LineLayout FileViewer::lineLayout(qint64 lineStart) const {
    const auto cached = layouts_.constFind(lineStart);
    if (cached != layouts_.constEnd()) return *cached;
    if (layouts_.size() > kLayoutCacheLimit) layouts_.clear();
    LineLayout layout =
        hex_ ? layoutHexLine(blocks_.read(lineStart, kHexBytesPerLine), lineStart, offsetDigits_)
             : layoutTextLine(lines_.lineBytes(lineStart), expandTabs_, tabSize_, kMaxCells);
    layouts_.insert(lineStart, layout);
    return layout;
}

QString FileViewer::lineText(qint64 lineStart, int maxChars) const {
    if (!active_ || lineStart >= blocks_.size()) return QString();
    return lineLayout(lineStart).text.left(maxChars);
}

qint64 FileViewer::byteOf(const Place& place) const {
    if (!active_ || blocks_.size() == 0) return 0;
    return place.lineStart + lineLayout(place.lineStart).byteOfColumn(place.column);
}

FileViewer::Place FileViewer::placeOfByte(qint64 offset) const {
    if (!active_ || blocks_.size() == 0) return {};
    if (offset >= blocks_.size()) return endPlace();
    const qint64 start = lineStartOf(offset);
    const int into = int(offset - start);
    if (hex_) return {start, hexTextColumn(offsetDigits_, into)};
    return {start, lineLayout(start).columnOfByte(into)};
}

FileViewer::Place FileViewer::placeAfterByte(qint64 offset) const {
    Place place = placeOfByte(offset);
    if (hex_) {
        ++place.column;
        return place;
    }
    const LineLayout layout = lineLayout(place.lineStart);
    place.column = layout.columnOfByte(int(offset - place.lineStart) + 1);
    return place;
}

FileViewer::Place FileViewer::endPlace() const {
    if (!active_ || blocks_.size() == 0) return {};
    const qint64 last = lastLineStart();
    return {last, lineLayout(last).cells()};
}

// ---- view ----

int FileViewer::rows() const { return std::max(1, viewport()->height() / lineHeight_); }

int FileViewer::visibleColumns() const {
    return std::max(1, (viewport()->width() - kMargin) / charWidth_);
}

qint64 FileViewer::maxTop() const {
    if (maxTop_ < 0)
        maxTop_ = active_ && blocks_.size() > 0 ? walk(lastLineStart(), 1 - rows()) : 0;
    return maxTop_;
}

void FileViewer::setTop(qint64 lineStart) {
    top_ = std::clamp<qint64>(lineStart, 0, maxTop());
    updateScrollBars();
    viewport()->update();
}

void FileViewer::scrollToLineStart(qint64 lineStart) {
    setTop(lineStartOf(lineStart));
    Q_EMIT statusChanged();
}

void FileViewer::centreOn(qint64 lineStart) { setTop(walk(lineStart, -(rows() / 2))); }

void FileViewer::ensureCaretVisible() {
    if (caret_.lineStart < top_) {
        setTop(caret_.lineStart);
    } else if (caret_.lineStart > walk(top_, rows() - 1)) {
        setTop(walk(caret_.lineStart, 1 - rows()));
    }
    QScrollBar* bar = horizontalScrollBar();
    const int columns = visibleColumns();
    if (caret_.column < bar->value()) {
        bar->setValue(caret_.column);
    } else if (caret_.column >= bar->value() + columns) {
        bar->setMaximum(std::max(bar->maximum(), caret_.column - columns + 1));
        bar->setValue(caret_.column - columns + 1);
    }
}

void FileViewer::moveCaret(const Place& place, bool extend) {
    caret_ = place;
    if (!extend) anchor_ = caret_;
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT statusChanged();
}

void FileViewer::moveCaretLines(qint64 lines, bool extend) {
    const qint64 start = walk(caret_.lineStart, lines);
    const int column = std::min(wantedColumn_, lineLayout(start).cells());
    moveCaret({start, column}, extend);
}

void FileViewer::setCaretPosition(qint64 line, int column) {
    if (!active_) return;
    std::optional<qint64> start = startOfLine(std::max<qint64>(line, 0));
    if (!start) {
        makeLineCountKnown();
        const qint64 count = lineCount().value_or(0);
        start = startOfLine(std::clamp<qint64>(line, 0, std::max<qint64>(count - 1, 0)));
    }
    if (!start) return;
    caret_ = anchor_ = {*start, std::clamp(column, 0, lineLayout(*start).cells())};
    wantedColumn_ = caret_.column;
    setTop(*start);
    ensureCaretVisible();
    Q_EMIT statusChanged();
}

void FileViewer::updateMetrics() {
    const QFontMetrics metrics(font());
    charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    lineHeight_ = std::max(1, metrics.height());
    ascent_ = metrics.ascent();
    maxTop_ = -1;
    updateScrollBars();
}

void FileViewer::updateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    const std::optional<qint64> count = lineCount();
    const std::optional<qint64> topNumber = lineNumberOf(top_);
    int maximum = 0, value = 0;
    scrollByLines_ = count && topNumber && *count < std::numeric_limits<int>::max() / 2;
    if (scrollByLines_) {
        maximum = int(std::max<qint64>(0, *count - rows()));
        value = int(std::min<qint64>(*topNumber, maximum));
    } else if (maxTop() > 0) {
        // Proportional to the offset of the top line until lines can be numbered.
        maximum = kScrollSteps;
        value = int(double(top_) / double(maxTop()) * kScrollSteps);
    }
    // Setting the range may move the value; that is no scroll by the user.
    updatingBars_ = true;
    scrollValue_ = value;
    vertical->setRange(0, maximum);
    vertical->setPageStep(scrollByLines_ ? rows() : kScrollSteps / 20);
    vertical->setSingleStep(1);
    vertical->setValue(value);
    updatingBars_ = false;

    QScrollBar* horizontal = horizontalScrollBar();
    int widest = widest_;
    if (hex_) {
        widest = hexTextColumn(offsetDigits_, kHexBytesPerLine);
    } else if (active_) {
        qint64 s = top_;
        for (int r = 0; r <= rows() && s < blocks_.size(); ++r, s = lines_.nextLineStart(s))
            widest = std::max(widest, lineLayout(s).cells() + 1);
        widest_ = widest;
    }
    horizontal->setRange(0, std::max(0, widest - visibleColumns()));
    horizontal->setPageStep(visibleColumns());
}

void FileViewer::onScrollAction(int action) {
    if (!active_) return;
    // Steps move by lines in both bar scales; a drag or a jump lands on the line there.
    qint64 top = top_;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            top = walk(top_, 1);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            top = walk(top_, -1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            top = walk(top_, rows());
            break;
        case QAbstractSlider::SliderPageStepSub:
            top = walk(top_, -rows());
            break;
        case QAbstractSlider::SliderToMinimum:
            top = 0;
            break;
        case QAbstractSlider::SliderToMaximum:
            top = maxTop();
            break;
        default:
            return;  // moves and drags arrive through scrollContentsBy
    }
    setTop(top);
    verticalScrollBar()->setSliderPosition(scrollValue_);
    Q_EMIT statusChanged();
}

void FileViewer::scrollContentsBy(int dx, int dy) {
    if (dy != 0 && active_ && !updatingBars_ && verticalScrollBar()->value() != scrollValue_) {
        const int value = verticalScrollBar()->value();
        std::optional<qint64> start;
        if (scrollByLines_) start = startOfLine(value);
        if (!start) start = lineStartOf(qint64(double(value) / kScrollSteps * double(maxTop())));
        top_ = std::clamp<qint64>(*start, 0, maxTop());
        scrollValue_ = value;
        Q_EMIT statusChanged();
    }
    viewport()->update();
}

void FileViewer::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    maxTop_ = -1;
    top_ = std::min(top_, maxTop());
    updateScrollBars();
}

void FileViewer::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        viewport()->update();
    }
}

void FileViewer::changed() {
    maxTop_ = -1;
    updateScrollBars();
    viewport()->update();
    Q_EMIT statusChanged();
}

void FileViewer::relayout(bool hex, bool expandTabs, int tabSize) {
    // Places survive a change of layout through the bytes they stand on.
    const qint64 top = byteOf({top_, 0});
    const qint64 caret = byteOf(caret_);
    const qint64 anchor = byteOf(anchor_);
    const bool selection = hasSelection();
    const bool anchorFirst = anchor_ < caret_;
    hex_ = hex;
    expandTabs_ = expandTabs;
    tabSize_ = tabSize;
    layouts_.clear();
    widest_ = 0;
    maxTop_ = -1;
    if (active_) {
        top_ = std::min(lineStartOf(top), maxTop());
        if (selection && anchorFirst) {
            anchor_ = placeOfByte(anchor);
            caret_ = caret > anchor ? placeAfterByte(caret - 1) : placeOfByte(caret);
        } else if (selection) {
            caret_ = placeOfByte(caret);
            anchor_ = anchor > caret ? placeAfterByte(anchor - 1) : placeOfByte(anchor);
        } else {
            caret_ = anchor_ = placeOfByte(caret);
        }
        wantedColumn_ = caret_.column;
    }
    changed();
}

void FileViewer::setHexMode(bool on) {
    if (on != hex_) relayout(on, expandTabs_, tabSize_);
}

void FileViewer::setTabExpansion(bool on) {
    if (on != expandTabs_) relayout(hex_, on, tabSize_);
}

void FileViewer::setTabSize(int size) {
    size = std::clamp(size, 0, 255);
    if (size != tabSize_) relayout(hex_, expandTabs_, size);
}

// ---- selection, clipboard, search ----

void FileViewer::selectAll() {
    if (!active_ || blocks_.size() == 0) return;
    anchor_ = {};
    caret_ = endPlace();
    viewport()->update();
    Q_EMIT statusChanged();
}

std::optional<QString> FileViewer::selectedText(qint64 maxBytes) const {
    const Place from = selectionStart(), to = selectionEnd();
    if (!active_ || from == to) return QString();
    if (to.lineStart - from.lineStart > maxBytes) return std::nullopt;
    QString text;
    for (qint64 s = from.lineStart;; s = nextLineStart(s)) {
        const LineLayout layout = lineLayout(s);
        const int first = s == from.lineStart ? from.column : 0;
        const int last = s == to.lineStart ? to.column : layout.cells();
        text += layout.text.mid(first, std::max(0, last - first));
        if (s >= to.lineStart || nextLineStart(s) >= blocks_.size()) break;
        text += QLatin1Char('\n');
    }
    return text;
}

bool FileViewer::copySelection(qint64 maxBytes) {
    if (!hasSelection()) return false;
    const std::optional<QString> text = selectedText(maxBytes);
    if (!text) return false;
    QGuiApplication::clipboard()->setText(*text);
    return true;
}

bool FileViewer::search(const QString& text, bool backward, bool matchCase, bool wholeFile) {
    if (!active_ || text.isEmpty()) return false;
    const QByteArray needle = text.toUtf8();
    qint64 from = 0;
    if (wholeFile)
        from = backward ? blocks_.size() : 0;
    else
        from = backward ? byteOf(selectionStart()) : byteOf(caret_);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The window is repainted between pieces; input waits until the search is done.
    class Repaint : public JobSink {
        void tick() override {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    } repaint;
    const StopToken never;
    const qint64 hit = findInFile(blocks_.file(), blocks_.size(), needle, from, backward, matchCase,
                                  repaint, never);
    QApplication::restoreOverrideCursor();
    if (hit < 0) return false;
    anchor_ = placeOfByte(hit);
    caret_ = placeAfterByte(hit + needle.size() - 1);
    wantedColumn_ = caret_.column;
    if (anchor_.lineStart < top_ || caret_.lineStart > walk(top_, rows() - 1))
        centreOn(anchor_.lineStart);
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT statusChanged();
    return true;
}

// ---- input ----

FileViewer::Place FileViewer::placeAt(const QPoint& point) const {
    if (!active_ || blocks_.size() == 0) return {};
    const int row = std::max(0, point.y() / lineHeight_);
    const qint64 start = walk(top_, row);
    const int column =
        (point.x() - kMargin + charWidth_ / 2) / charWidth_ + horizontalScrollBar()->value();
    return {start, std::clamp(column, 0, lineLayout(start).cells())};
}

void FileViewer::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        copySelection();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    if (!active_ || blocks_.size() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const LineLayout layout = lineLayout(caret_.lineStart);
    switch (event->key()) {
        case Qt::Key_Up:
            moveCaretLines(-1, extend);
            break;
        case Qt::Key_Down:
            moveCaretLines(1, extend);
            break;
        case Qt::Key_PageUp:
            setTop(walk(top_, -rows()));
            moveCaretLines(-rows(), extend);
            break;
        case Qt::Key_PageDown:
            setTop(walk(top_, rows()));
            moveCaretLines(rows(), extend);
            break;
        case Qt::Key_Left:
            if (caret_.column > 0) {
                moveCaret({caret_.lineStart, caret_.column - 1}, extend);
            } else if (caret_.lineStart > 0) {
                const qint64 previous = previousLineStart(caret_.lineStart);
                moveCaret({previous, lineLayout(previous).cells()}, extend);
            }
            wantedColumn_ = caret_.column;
            break;
        case Qt::Key_Right:
            if (caret_.column < layout.cells()) {
                moveCaret({caret_.lineStart, caret_.column + 1}, extend);
            } else if (nextLineStart(caret_.lineStart) < blocks_.size()) {
                moveCaret({nextLineStart(caret_.lineStart), 0}, extend);
            }
            wantedColumn_ = caret_.column;
            break;
        case Qt::Key_Home:
            moveCaret(control ? Place{} : Place{caret_.lineStart, 0}, extend);
            wantedColumn_ = caret_.column;
            break;
        case Qt::Key_End:
            moveCaret(control ? endPlace() : Place{caret_.lineStart, layout.cells()}, extend);
            wantedColumn_ = caret_.column;
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void FileViewer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    moveCaret(placeAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    wantedColumn_ = caret_.column;
}

void FileViewer::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    QPoint point = event->position().toPoint();
    // Dragging past an edge scrolls a line at a time.
    if (point.y() < 0) {
        setTop(walk(top_, -1));
        point.setY(0);
    } else if (point.y() >= viewport()->height()) {
        setTop(walk(top_, 1));
        point.setY(viewport()->height() - 1);
    }
    moveCaret(placeAt(point), true);
    wantedColumn_ = caret_.column;
}

void FileViewer::mouseDoubleClickEvent(QMouseEvent* event) {
    // A word: the run of letters and digits around the point.
    const Place at = placeAt(event->position().toPoint());
    const QString text = lineLayout(at.lineStart).text;
    int first = at.column, last = at.column;
    while (first > 0 && text.at(first - 1).isLetterOrNumber()) --first;
    while (last < text.size() && text.at(last).isLetterOrNumber()) ++last;
    anchor_ = {at.lineStart, first};
    moveCaret({at.lineStart, last}, true);
}

void FileViewer::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0) {
        // Three lines a notch; touchpads send fractions of a notch, which add up.
        wheelRest_ += delta.y();
        const int lines = wheelRest_ / 40;
        wheelRest_ -= lines * 40;
        if (lines != 0) {
            setTop(walk(top_, -lines));
            Q_EMIT statusChanged();
        }
    } else if (delta.x() != 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x() / 40);
    }
    event->accept();
}

void FileViewer::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void FileViewer::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- painting ----

void FileViewer::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.fillRect(viewport()->rect(), colours.base());
    painter.setFont(font());
    if (!active_) {
        if (!error_.isEmpty()) {
            painter.setPen(colours.color(QPalette::Text));
            painter.drawText(viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, error_);
        }
        return;
    }
    const int first = horizontalScrollBar()->value();
    const int columns = visibleColumns() + 1;
    const Place from = selectionStart(), to = selectionEnd();
    const bool selection = hasSelection();
    const int lines = viewport()->height() / lineHeight_ + 1;
    qint64 s = top_;
    for (int row = 0; row < lines && s < blocks_.size(); ++row) {
        const LineLayout layout = lineLayout(s);
        const int y = row * lineHeight_;
        const auto xOf = [&](int column) { return kMargin + (column - first) * charWidth_; };
        int selFirst = 0, selLast = 0;
        if (selection && s >= from.lineStart && s <= to.lineStart) {
            selFirst = s == from.lineStart ? from.column : 0;
            // A selected line end shows as one more cell.
            selLast = s == to.lineStart ? to.column : layout.cells() + 1;
            painter.fillRect(
                QRect(xOf(selFirst), y, (selLast - selFirst) * charWidth_, lineHeight_),
                colours.highlight());
        }
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(xOf(first), y + ascent_, layout.text.mid(first, columns));
        if (selLast > selFirst) {
            const int a = std::max(selFirst, first);
            const int b = std::min(std::min(selLast, layout.cells()), first + columns);
            if (b > a) {
                painter.setPen(colours.color(QPalette::HighlightedText));
                painter.drawText(xOf(a), y + ascent_, layout.text.mid(a, b - a));
            }
        }
        if (s == caret_.lineStart && hasFocus())
            painter.fillRect(QRect(xOf(caret_.column), y, 2, lineHeight_),
                             colours.color(QPalette::Text));
        const qint64 next = nextLineStart(s);
        if (next <= s) break;
        s = next;
    }
}

}  // namespace vastel
