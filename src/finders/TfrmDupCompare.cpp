#include "finders/TfrmDupCompare.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "finders/DupFinder.h"
#include "finders/FileChecksum.h"
#include "finders/TfrmDup.h"
#include "inspect/TfrmDetails.h"
#include "inspect/VersionInfoLines.h"
#include "inspect/ui/FileIcon.h"
#include "platform/Dialogs.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Shell.h"
#include "protect/SafeHarbor.h"
#include "results/JobRunner.h"
#include "results/PrintIt.h"
#include "results/ResultList.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QWindow>

namespace vastel {

QPixmap arrowPicture(int direction);  // TfrmDupCompareLayout.cpp

namespace {

// Creation and modification: the date, a blank, the time, two blanks and the distance from
// today; "???" without a date.
QString stampDateTimeText(quint32 stamp) {
    const QString date = fileDateText(stamp);
    if (date.isEmpty()) return QStringLiteral("???");
    return date + QLatin1Char(' ') + fileTimeText(stamp) + QStringLiteral("  ") +
           relativeDateText(fileDateValue(stamp));
}

void setColours(QWidget* w, QPalette::ColorRole background, QPalette::ColorRole text) {
    QPalette p = w->palette();
    const QPalette base = QPalette();
    p.setColor(QPalette::Window, base.color(background));
    p.setColor(QPalette::WindowText, base.color(text));
    w->setPalette(p);
}

}  // namespace

TfrmDupCompare::TfrmDupCompare(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmDupCompare"));
    setWindowTitle(QStringLiteral("Compare file pairs"));
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    connectControls();
    resize(860, 520);
}

TfrmDupCompare::~TfrmDupCompare() { stop_.request(); }

void TfrmDupCompare::connectControls() {
    connect(sbL1, &QPushButton::clicked, this, &TfrmDupCompare::sbL1Click);
    connect(sbR1, &QPushButton::clicked, this, &TfrmDupCompare::sbR1Click);
    connect(btCompute, &QPushButton::clicked, this, &TfrmDupCompare::btComputeClick);
    connect(btPrint, &QPushButton::clicked, this, &TfrmDupCompare::btPrintClick);
    connect(btClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(side1.btMark, &QPushButton::clicked, this, [this] { markFile(row_); });
    connect(side2.btMark, &QPushButton::clicked, this, [this] { markFile(row_ + 1); });
    for (Side* s : {&side1, &side2}) {
        connect(s->btLaunch, &QPushButton::clicked, this, [this, s] { launch(*s); });
        connect(s->btView, &QPushButton::clicked, this, [this, s] { view(*s); });
        connect(s->btBrowse, &QPushButton::clicked, this, [this, s] { browse(*s); });
    }
}

void TfrmDupCompare::showFor(TfrmDup& finder, AppContext& context) {
    finder_ = &finder;
    context_ = &context;
    pairs_.copyFrom(*finder.model);
    // The left file is the finder's current row; on the last row the pair is the last two.
    int r = std::max(finder.resultList->currentRow(), 0);
    if (r + 1 >= pairs_.rowCount()) r = std::max(pairs_.rowCount() - 2, 0);
    // The finder is modal: as its child window this one takes input beside it.
    if (parentWidget() != &finder) {
        const bool wasVisible = isVisible();
        setParent(&finder, Qt::Window);
        if (wasVisible) show();
    }
    show();
    showPair(r);
    raise();
    activateWindow();
    btCompute->setFocus();
}

void TfrmDupCompare::hideEvent(QHideEvent* event) {
    stop_.request();
    QWidget::hideEvent(event);
    // Back to no parent: the finder is destroyed after it hides this window, and the program
    // owns this one for the whole run.
    if (parentWidget()) {
        const QPoint at = pos();
        setParent(nullptr, Qt::Window);
        move(at);
    }
}

void TfrmDupCompare::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeArrows();
}

void TfrmDupCompare::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmDupCompare::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageUp) {
        sbL1Click();
        return;
    }
    if (event->key() == Qt::Key_PageDown) {
        sbR1Click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TfrmDupCompare::showPair(int row) {
    row_ = row;
    GetValues(side1, row);
    GetValues(side2, row + 1);
    if (knownIdentical()) showKnownIdentical();
    HighlightDifferences();
}

void TfrmDupCompare::GetValues(Side& s, int row) {
    s.lblCRC->clear();
    s.path = pairs_.path(row);
    DirEntry entry;
    // A file that is gone leaves the side as it was, but for its checksum.
    if (s.path.isEmpty() || !statPath(s.path, entry)) return;

    s.Image->setPixmap(fileIcon(s.path).pixmap(32, 32));
    QStringList lines;
    versionInfoLines(s.path, lines, false);
    if (lines.isEmpty()) lines << QStringLiteral("Extended profile absent");
    s.tlBox->clear();
    s.tlBox->addItems(lines);

    const QString name = pairs_.cell(row, DupPairs::Filename);
    s.lblFolder->setText(pairs_.cell(row, DupPairs::Folder));
    s.GroupBox->setTitle(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    s.lblType->setText(fileTypeText(dot >= 0 ? name.mid(dot) : QString()));
    s.lblSizeBytes->setText(thousandsText(entry.size) + QStringLiteral(" bytes"));
    s.lblAccess->setText(stampDateText(entry.lastAccess));
    s.accessDay = entry.lastAccess >> 16;
    s.lblCreate->setText(stampDateTimeText(entry.creation));
    s.created = entry.creation;
    s.lblModify->setText(stampDateTimeText(entry.lastWrite));
    s.modified = entry.lastWrite;
    s.lblAttributes->setText(attributeWords(entry.attributes));
}

void TfrmDupCompare::HighlightDifferences(bool checksums) {
    resizeIt();
    for (Side* s : {&side1, &side2}) {
        s->lblDel->clear();
        vastel::setColours(s->lblDel, QPalette::Button, QPalette::WindowText);
        if (context_ && !s->path.isEmpty() &&
            context_->safeHarbor().isInSafeHarbor(s->path, true)) {
            s->lblDel->setText(QStringLiteral("** In Non-Delete List **"));
            vastel::setColours(s->lblDel, QPalette::Highlight, QPalette::HighlightedText);
        }
    }
    if (checksums && cbCRC->isChecked() && side1.lblSizeBytes->text() == side2.lblSizeBytes->text())
        computeCRCValues();

    const std::pair<QLabel*, QLabel*> pairs[] = {
        {side1.lblSizeBytes, side2.lblSizeBytes},
        {side1.lblType, side2.lblType},
        {side1.lblCreate, side2.lblCreate},
        {side1.lblModify, side2.lblModify},
        {side1.lblAccess, side2.lblAccess},
        {side1.lblAttributes, side2.lblAttributes},
        {side1.lblCRC, side2.lblCRC},
    };
    for (const auto& [a, b] : pairs) {
        const bool differ = a->text() != b->text();
        for (QLabel* l : {a, b})
            vastel::setColours(l, differ ? QPalette::Highlight : QPalette::Button,
                               differ ? QPalette::HighlightedText : QPalette::WindowText);
    }

    const auto point = [](QLabel* arrow, quint32 left, quint32 right) {
        arrow->hide();
        if (left == 0 || right == 0) return;
        arrow->setPixmap(arrowPicture(left > right ? -1 : right > left ? 1 : 0));
        arrow->show();
    };
    point(imgCreate, side1.created, side2.created);
    point(imgModify, side1.modified, side2.modified);
    point(imgAccess, side1.accessDay, side2.accessDay);
    paintVersionLines();
    placeArrows();
}

void TfrmDupCompare::paintVersionLines() {
    const QColor face = palette().color(QPalette::Button);
    const bool compare = side1.tlBox->count() >= 2 && side2.tlBox->count() >= 2;
    for (auto [mine, other] :
         {std::pair(side1.tlBox, side2.tlBox), std::pair(side2.tlBox, side1.tlBox)}) {
        for (int i = 0; i < mine->count(); ++i) {
            QListWidgetItem* item = mine->item(i);
            const bool differs =
                compare && (i >= other->count() || other->item(i)->text() != item->text());
            item->setBackground(differs ? QColor(0, 255, 255) : face);
            item->setForeground(palette().color(QPalette::WindowText));
        }
    }
}

// The content comparison read both files of one group byte for byte: reading them again
// would tell nothing new.
bool TfrmDupCompare::knownIdentical() const {
    return finder_ && finder_->matchMode == kContentMatchMode &&
           pairs_.qPairMatches(row_, kContentMatchMode);
}

void TfrmDupCompare::showKnownIdentical() {
    side1.lblCRC->setText(QStringLiteral("file contents are identical"));
    side2.lblCRC->setText(QStringLiteral("file contents are identical"));
}

void TfrmDupCompare::computeCRCValues() {
    if (computing_) return;
    if (knownIdentical()) {
        showKnownIdentical();
        return;
    }
    computing_ = true;
    stop_.reset();
    const QByteArray left = side1.path, right = side2.path;
    PairChecksums sums;
    {
        BusyCursor busy;
        // Reading two large files takes a while: the window stays painted meanwhile.
        JobRunner::runAside([&] { sums = readPair(left, right, &stop_); });
    }
    computing_ = false;
    if (stop_.requested() && !isVisible()) return;
    const QString verdict = sums.identical ? QStringLiteral(" file contents are identical")
                                           : QStringLiteral(" file contents differ");
    side1.lblCRC->setText(checksumText(sums.left) + verdict);
    side2.lblCRC->setText(checksumText(sums.right) + verdict);
}

void TfrmDupCompare::btComputeClick() {
    if (computing_) return;
    computeCRCValues();
    HighlightDifferences(false);
}

void TfrmDupCompare::sbR1Click() {
    if (computing_ || row_ < 0) return;
    const int mode = finder_ ? finder_->matchMode : 0;
    const int i = pairs_.GetNextDupRow(row_, mode);
    if (i < 0) return;
    showPair(i);
    if (finder_) {
        finder_->grid->setCurrentIndex(finder_->model->index(i, 0));
        finder_->grid->selectRow(i);
    }
}

void TfrmDupCompare::sbL1Click() {
    if (computing_ || row_ < 0) return;
    const int mode = finder_ ? finder_->matchMode : 0;
    const int i = pairs_.GetPrevDupRow(row_, mode);
    if (i < 0) return;
    showPair(i);
    if (finder_ && i < finder_->model->rowCount()) {
        finder_->grid->setCurrentIndex(finder_->model->index(i, 0));
        finder_->grid->selectRow(i);
    }
}

void TfrmDupCompare::markFile(int row) {
    if (!finder_ || computing_) return;
    const QByteArray& path = pairs_.path(row);
    if (path.isEmpty()) return;
    // The finder may have scanned again since: its row must still be this file.
    GridModel& model = *finder_->model;
    int at = row < model.rowCount() && model.path(row) == path ? row : -1;
    for (int r = 0; at < 0 && r < model.rowCount(); ++r)
        if (model.path(r) == path) at = r;
    if (at >= 0) finder_->resultList->MarkThisFile(at);
}

void TfrmDupCompare::launch(const Side& s) {
    if (s.path.isEmpty()) return;
    if (!openWithAssociatedProgram(s.path))
        errorBox(QStringLiteral("Couldn't open ") + displayPath(s.path));
}

void TfrmDupCompare::view(const Side& s) {
    if (!s.path.isEmpty() && context_) context_->openViewer(this, s.path);
}

void TfrmDupCompare::browse(const Side& s) {
    if (s.path.isEmpty() || !context_) return;
    const qsizetype slash = s.path.lastIndexOf('/');
    context_->openBrowser(this, s.path.left(std::max<qsizetype>(slash, 1)), s.path.mid(slash + 1),
                          QString());
}

void TfrmDupCompare::resizeIt() {
    const bool lists = side1.tlBox->count() > 1 || side2.tlBox->count() > 1;
    side1.tlBox->setVisible(lists);
    side2.tlBox->setVisible(lists);
    layout()->activate();
    // The window keeps its bottom edge where it was, on the screen.
    const int height = lists ? std::max(this->height(), layout()->sizeHint().height())
                             : layout()->minimumSize().height();
    if (!isVisible()) {
        resize(width(), height);
        return;
    }
    const QRect frame = frameGeometry();
    const int frameExtra = frame.height() - this->height();
    resize(width(), height);
    int top = frame.bottom() + 1 - (height + frameExtra);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (top < area.top()) top = area.top() + 20;
        if (top + height + frameExtra > area.bottom() + 1)
            top = area.top() + (area.height() - height - frameExtra) / 2;
    }
    move(frame.left(), top);
}

void TfrmDupCompare::setColours(bool white) {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QGroupBox*>(w) &&
            !qobject_cast<QListWidget*>(w))
            continue;
        QPalette p = w->palette();
        p.setColor(QPalette::Window,
                   white ? QColor(Qt::white) : QPalette().color(QPalette::Button));
        p.setColor(QPalette::Base, white ? QColor(Qt::white) : QPalette().color(QPalette::Base));
        w->setPalette(p);
    }
    QPalette p = palette();
    p.setColor(QPalette::Window, white ? QColor(Qt::white) : QPalette().color(QPalette::Window));
    setPalette(p);
}

void TfrmDupCompare::btPrintClick() {
    Dialogs& seam = context_ ? context_->dialogs() : dialogs();
    QPrinter& printer = currentPrinter();
    if (!seam.printDialog(printer, false)) return;
    setColours(true);
    const QPixmap image = grab();
    QPainter painter;
    if (painter.begin(&printer)) {
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
        const QSizeF size = QSizeF(image.size()).scaled(page.size(), Qt::KeepAspectRatio);
        painter.drawPixmap(QRectF(QPointF(0, 0), size), image, QRectF(image.rect()));
        painter.end();
    } else {
        printError();
    }
    setColours(false);
    HighlightDifferences(false);
}

}  // namespace vastel
