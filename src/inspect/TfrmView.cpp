#include "inspect/TfrmView.h"

#include "core/DialogJobSink.h"
#include "core/MessageBoxes.h"
#include "widgets/PlacedWindow.h"
#include "results/PrintIt.h"
#include "results/PrinterTextDevice.h"
#include "results/TextDevice.h"
#include "core/Utility.h"
#include "core/WindowPlacement.h"
#include "inspect/ExtractStrings.h"
#include "inspect/ui/FileViewer.h"
#include "inspect/TFindDlg.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "widgets/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTemporaryFile>
#include <QVBoxLayout>

namespace vastel {

namespace {

const QString kPlacementKey = QStringLiteral("vastel.ini");
const QString kPlacementName = QStringLiteral("frmView");

// The exact path bytes of a local file URL (names need not be UTF-8).
QByteArray localPathOf(const QUrl& url) {
    if (!url.isLocalFile()) return QByteArray();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

}  // namespace

TfrmView::TfrmView(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmView"));
    setWindowTitle(QStringLiteral("View file"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    buildControls();
    buildMenu();
    resize(780, 540);

    // FormCreate: the tab expansion check follows the control; the window takes dropped files.
    TabExpansion1->setChecked(Viewer1->tabExpansion());
    setAcceptDrops(true);
    centreOnScreen(this);
    connect(Viewer1, &FileViewer::statusChanged, this, &TfrmView::Viewer1ShowStatus);
    Viewer1ShowStatus();
}

TfrmView::~TfrmView() {
    // FormDestroy: the placement of the window as the user left it.
    savePlacement(this, kPlacementKey, programSectionName(), kPlacementName);
}

void TfrmView::buildControls() {
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1", QStringLiteral("&Print"));
    btPrint = button("btPrint", QStringLiteral("P&rint setup"));
    btFont = button("btFont", QStringLiteral("Fo&nt"));
    btStrings = button("btStrings", QStringLiteral("Pee&k at strings"));
    btStrings->setToolTip(QStringLiteral("Peek inside file for ASCII strings"));
    btClose = button("btClose", QStringLiteral("Close"));
    rbAscii = new QRadioButton(QStringLiteral("&ASCII"), this);
    rbAscii->setObjectName(QStringLiteral("rbAscii"));
    rbAscii->setChecked(true);
    rbHex = new QRadioButton(QStringLiteral("&Hex"), this);
    rbHex->setObjectName(QStringLiteral("rbHex"));

    connect(BitBtn1, &QPushButton::clicked, this, &TfrmView::Print1Click);
    connect(btPrint, &QPushButton::clicked, this, &TfrmView::PrintSetup1Click);
    connect(btFont, &QPushButton::clicked, this, &TfrmView::Font1Click);
    connect(btStrings, &QPushButton::clicked, this, &TfrmView::btStringsClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmView::btCloseClick);
    connect(rbAscii, &QRadioButton::clicked, this, &TfrmView::rbAsciiClick);
    connect(rbHex, &QRadioButton::clicked, this, &TfrmView::rbHexClick);

    Header1 = new QHeaderView(Qt::Horizontal, this);
    Header1->setObjectName(QStringLiteral("Header1"));
    headerSections_ = new QStandardItemModel(0, 5, Header1);
    Header1->setModel(headerSections_);
    Header1->setSectionsClickable(false);
    Header1->setSectionResizeMode(QHeaderView::Interactive);
    Header1->setStretchLastSection(true);
    Header1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[] = {110, 150, 110, 170};
    for (int i = 0; i < 4; ++i) Header1->resizeSection(i, widths[i]);
    headerSections_->setHeaderData(4, Qt::Horizontal, QString());
    // A header outside a view would take any height it is given.
    Header1->setFixedHeight(Header1->fontMetrics().height() + 8);

    Viewer1 = new FileViewer(this);
    Viewer1->setObjectName(QStringLiteral("Viewer1"));

    auto* row = new QHBoxLayout;
    row->addWidget(BitBtn1);
    row->addWidget(btPrint);
    row->addWidget(btFont);
    row->addWidget(btStrings);
    row->addSpacing(12);
    row->addWidget(rbAscii);
    row->addWidget(rbHex);
    row->addStretch();
    row->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(row);
    layout->addWidget(Header1);
    layout->addWidget(Viewer1, 1);
}

void TfrmView::buildMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    layout()->setMenuBar(MainMenu1);
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             void (TfrmView::*handler)(), const QKeySequence& keys = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto menu = [this](const char* name, const QString& caption,
                             void (TfrmView::*opening)()) {
        QMenu* m = MainMenu1->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        if (opening) connect(m, &QMenu::aboutToShow, this, opening);
        return m;
    };

    File1 = menu("File1", QStringLiteral("&File"), &TfrmView::File1Click);
    Open1 = item(File1, "Open1", QStringLiteral("&Open..."), &TfrmView::Open1Click);
    Print1 = item(File1, "Print1", QStringLiteral("&Print..."), &TfrmView::Print1Click);
    PrintSetup1 =
        item(File1, "PrintSetup1", QStringLiteral("P&rint setup..."), &TfrmView::PrintSetup1Click);
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", QStringLiteral("E&xit"), &TfrmView::Exit1Click,
                 QKeySequence(Qt::ALT | Qt::Key_F4));

    Clipboard1 = menu("Clipboard1", QStringLiteral("&Clipboard"), &TfrmView::Clipboard1Click);
    Copy1 = item(Clipboard1, "Copy1", QStringLiteral("&Copy"), &TfrmView::Copy1Click);
    Copy1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Insert), QKeySequence::Copy});
    SelectAll1 = item(Clipboard1, "SelectAll1", QStringLiteral("&Select all"),
                      &TfrmView::SelectAll1Click, QKeySequence::SelectAll);

    Search1 = menu("Search1", QStringLiteral("&Search"), &TfrmView::Search1Click);
    Find1 = item(Search1, "Find1", QStringLiteral("&Find..."), &TfrmView::Find1Click,
                 QKeySequence::Find);
    FindNext1 = item(Search1, "FindNext1", QStringLiteral("Find &next"), &TfrmView::FindNext1Click,
                     QKeySequence(Qt::Key_F3));
    GotoLine1 = item(Search1, "GotoLine1", QStringLiteral("&Go to line..."),
                     &TfrmView::GotoLine1Click, QKeySequence(Qt::Key_F4));

    Options1 = menu("Options1", QStringLiteral("&Options"), nullptr);
    HexMode1 = item(Options1, "HexMode1", QStringLiteral("&Hex Mode"), &TfrmView::HexMode1Click,
                    QKeySequence(Qt::Key_F8));
    HexMode1->setCheckable(true);
    TabExpansion1 = item(Options1, "TabExpansion1", QStringLiteral("&Tab expansion"),
                         &TfrmView::TabExpansion1Click);
    TabExpansion1->setCheckable(true);
    TabSize1 = item(Options1, "TabSize1", QStringLiteral("Tab si&ze..."), &TfrmView::TabSize1Click);
    Options1->addSeparator();
    Font1 = item(Options1, "Font1", QStringLiteral("&Font..."), &TfrmView::Font1Click);
}

TFindDlg& TfrmView::findDialog() {
    // One for the whole run: the next viewer offers the last search again.
    return context_.findDialog();
}

void TfrmView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmView::FormShow() {
    Viewer1->setFileName(viewFile);
    Viewer1->setActive(true);
    setWindowTitle(QStringLiteral("View File : ") + displayPath(viewFile));
    updateSearchMenu();
    updateClipboardMenu();
    applySavedPlacement(this, kPlacementKey, programSectionName(), kPlacementName);
    Viewer1->setFocus();
}

void TfrmView::showFile(const QByteArray& path) {
    Viewer1->setActive(false);
    Viewer1->setFileName(path);
    Viewer1->setActive(true);
    updateSearchMenu();
    updateClipboardMenu();
}

QString TfrmView::headerText(int section) const {
    return headerSections_->headerData(section, Qt::Horizontal).toString();
}

void TfrmView::Viewer1ShowStatus() {
    const std::optional<qint64> line = Viewer1->caretLine();
    const std::optional<qint64> count = Viewer1->lineCount();
    const std::optional<qint64> top = Viewer1->topLine();
    const QString unknown = QStringLiteral("?");
    const QString caret = (line ? QString::number(*line + 1) : unknown) + QLatin1Char(':') +
                          QString::number(Viewer1->caretColumn() + 1);
    const QString texts[] = {
        caret.leftJustified(8),
        QStringLiteral("Total: ") + (count ? thousandsText(*count) : unknown),
        QStringLiteral("Top: ") + (top ? QString::number(*top + 1) : unknown).leftJustified(5),
        QStringLiteral("Bytes: ") + thousandsText(Viewer1->fileSize()),
    };
    for (int i = 0; i < 4; ++i)
        if (headerText(i) != texts[i]) headerSections_->setHeaderData(i, Qt::Horizontal, texts[i]);
    updateClipboardMenu();
}

// "Line count above 0": a file with a byte has a line, whether or not it has been counted.
void TfrmView::updateSearchMenu() {
    const bool lines = Viewer1->fileSize() > 0;
    Find1->setEnabled(lines);
    GotoLine1->setEnabled(lines);
    FindNext1->setEnabled(lines && !findDialog().searchText().isEmpty());
}

void TfrmView::updateClipboardMenu() {
    SelectAll1->setEnabled(Viewer1->fileSize() > 0);
    Copy1->setEnabled(Viewer1->hasSelection());
}

void TfrmView::File1Click() { Print1->setEnabled(Viewer1->fileSize() > 0); }

void TfrmView::Clipboard1Click() { updateClipboardMenu(); }

void TfrmView::Search1Click() { updateSearchMenu(); }

void TfrmView::Open1Click() {
    const QString start = QFileInfo(displayPath(Viewer1->fileName())).absolutePath();
    const std::optional<QString> chosen =
        context_.dialogs().openFile(QStringLiteral("Open"), start, QStringLiteral("All Files (*)"));
    if (!chosen) return;
    const QByteArray path = nativePath(*chosen);
    showFile(path);
    setWindowTitle(QStringLiteral("View File : ") + displayPath(path));
}

void TfrmView::dropFile(const QByteArray& path) {
    if (path.isEmpty()) return;
    showFile(path);
    if (isMinimized())
        showNormal();
    else
        raise();
    activateWindow();
}

void TfrmView::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void TfrmView::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) return;
    event->acceptProposedAction();
    // The whole name, however long.
    dropFile(localPathOf(urls.first()));
}

void TfrmView::Exit1Click() { close(); }

void TfrmView::btCloseClick() { close(); }

void TfrmView::Copy1Click() {
    if (!Viewer1->hasSelection()) return;
    if (!Viewer1->copySelection())
        infoBox(QStringLiteral("The selection is too large to copy to the clipboard"));
}

void TfrmView::SelectAll1Click() {
    Viewer1->selectAll();
    updateClipboardMenu();
}

bool TfrmView::reportSearch(bool found, const QString& text) {
    if (!found) infoBox(QStringLiteral("Search string '") + text + QStringLiteral("' not found"));
    updateSearchMenu();
    return found;
}

void TfrmView::Find1Click() {
    TFindDlg& find = findDialog();
    if (find.exec() != QDialog::Accepted) {
        updateSearchMenu();
        return;
    }
    const QString text = find.searchText();
    reportSearch(
        Viewer1->search(text, find.searchBackward(), find.matchCase(), find.globalSearch()), text);
}

void TfrmView::FindNext1Click() {
    TFindDlg& find = findDialog();
    const QString text = find.searchText();
    if (text.isEmpty() || Viewer1->fileSize() == 0) return;
    reportSearch(Viewer1->search(text, find.searchBackward(), find.matchCase(), false), text);
}

void TfrmView::GotoLine1Click() {
    if (Viewer1->fileSize() == 0) return;
    Viewer1->makeLineCountKnown();
    const qint64 count = Viewer1->lineCount().value_or(0);
    const std::optional<QString> entry = context_.dialogs().inputBox(
        QStringLiteral("Go to line number"),
        QStringLiteral("Enter line number (1 to %1)").arg(count), QString());
    if (!entry) return;
    bool whole = false;
    const qint64 n = entry->trimmed().toLongLong(&whole);
    if (!whole) return;
    Viewer1->setCaretPosition(n - 1, 0);
}

void TfrmView::HexMode1Click() {
    const bool on = HexMode1->isChecked();
    Viewer1->setHexMode(on);
    rbHex->setChecked(on);
    rbAscii->setChecked(!on);
}

void TfrmView::rbAsciiClick() {
    HexMode1->setChecked(false);
    Viewer1->setHexMode(false);
}

void TfrmView::rbHexClick() {
    HexMode1->setChecked(true);
    Viewer1->setHexMode(true);
}

void TfrmView::TabExpansion1Click() { Viewer1->setTabExpansion(TabExpansion1->isChecked()); }

void TfrmView::TabSize1Click() {
    const std::optional<QString> entry =
        context_.dialogs().inputBox(QStringLiteral("Tab Size"), QStringLiteral("Enter tab size"),
                                    QString::number(Viewer1->tabSize()));
    if (!entry) return;
    bool whole = false;
    const int size = entry->trimmed().toInt(&whole);
    if (whole && size >= 0 && size <= 255) Viewer1->setTabSize(size);
}

void TfrmView::Font1Click() {
    const std::optional<QString> chosen =
        context_.dialogs().pickFont(Viewer1->font().toString(), true);
    QFont font;
    if (chosen && font.fromString(*chosen)) Viewer1->setFont(font);
}

void TfrmView::PrintSetup1Click() { context_.dialogs().printerSetupDialog(currentPrinter()); }

void TfrmView::Print1Click() {
    QPrinter& printer = currentPrinter();
    const bool selection = Viewer1->hasSelection();
    if (!context_.dialogs().printDialog(printer, selection)) return;
    // A range of pages prints nothing: the text has no pages before it is printed.
    if (printer.printRange() != QPrinter::AllPages &&
        !(printer.printRange() == QPrinter::Selection && selection))
        return;
    PrinterTextDevice device(printer);
    printTo(device, printer.printRange() == QPrinter::Selection);
}

bool TfrmView::printTo(TextDevice& device, bool selection) {
    if (!selection) Viewer1->makeLineCountKnown();
    if (!device.open(Viewer1->font(), windowTitle())) {
        device.close();
        printError();
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ok = true;
    if (!selection) {
        const qint64 count = Viewer1->lineCount().value_or(0);
        qint64 start = Viewer1->firstLineStart();
        for (qint64 i = 0; i < count && ok; ++i, start = Viewer1->nextLineStart(start))
            ok = device.writeLine(Viewer1->lineText(start));
    } else {
        // The first line keeps its place with blanks before the start column; the last ends
        // at the end column.
        const FileViewer::Place from = Viewer1->selectionStart(), to = Viewer1->selectionEnd();
        for (qint64 start = from.lineStart; ok; start = Viewer1->nextLineStart(start)) {
            QString text = Viewer1->lineText(start);
            if (start == to.lineStart) text.truncate(to.column);
            if (start == from.lineStart)
                text = QString(std::min<qsizetype>(from.column, text.size()), QLatin1Char(' ')) +
                       text.mid(from.column);
            ok = device.writeLine(text);
            if (start >= to.lineStart || Viewer1->nextLineStart(start) >= Viewer1->fileSize())
                break;
        }
    }
    QApplication::restoreOverrideCursor();
    const bool closed = device.close();
    if (!ok || !closed) printError();
    return ok && closed;
}

void TfrmView::btStringsClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTemporaryFile target(QDir::tempPath() + QStringLiteral("/strXXXXXX"));
    target.setAutoRemove(true);
    if (!target.open()) {
        QApplication::restoreOverrideCursor();
        errorBox(QStringLiteral("Could not create file ") + target.fileTemplate());
        return;
    }
    target.close();
    const QByteArray targetPath = nativePath(target.fileName());
    DialogJobSink boxes;
    extractStrings(viewFile, targetPath, 5, 100, boxes);
    QApplication::restoreOverrideCursor();

    TfrmView strings(context_, this);
    strings.btStrings->hide();
    strings.rbAscii->hide();
    strings.rbHex->hide();
    strings.HexMode1->setVisible(false);
    strings.viewFile = targetPath;
    strings.exec();
}  // the temporary file goes with `target`

}  // namespace vastel
