// The controls, the layout and the pop-up menu of the duplicate and file-hog finder.
#include "core/GridModel.h"
#include "finders/DupFinder.h"
#include "finders/TfrmDup.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "results/WindowParts.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace vastel {

namespace {

QMenu* subMenu(QMenu* menu, const QString& title, const char* name,
               std::initializer_list<QAction*> items) {
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QLatin1String(name));
    for (QAction* a : items) sub->addAction(a);
    return sub;
}

}  // namespace

void TfrmDup::buildControls() {
    // The top panel: scan options on the left, the drive list on the right.
    Panel1 = named(new QWidget(this), "Panel1");

    auto* lblMatching = named(new QLabel(QStringLiteral("Matching"), Panel1), "lblMatching");
    cbWildCard = named(new QComboBox(Panel1), "cbWildCard");
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setToolTip(QStringLiteral("Wildcard pattern for matching file types"));
    cbWildCard->setMinimumContentsLength(8);
    cbWildCard->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblMatching->setBuddy(cbWildCard);
    lblWild = named(new QLabel(QStringLiteral("All files"), Panel1), "lblWild");
    lblWild->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("W")) * 12);

    rbLarger = named(new QRadioButton(QStringLiteral("Larger or equal to"), Panel1), "rbLarger");
    rbSmaller = named(new QRadioButton(QStringLiteral("Smaller or equal to"), Panel1), "rbSmaller");
    rbBetween = named(new QRadioButton(QStringLiteral("In between"), Panel1), "rbBetween");
    rbLarger->setChecked(true);

    num1 = named(new NumberSpin(Panel1), "num1");
    num2 = named(new NumberSpin(Panel1), "num2");
    lblAnd = named(new QLabel(QStringLiteral("and"), Panel1), "lblAnd");
    cbKB1 = named(new QComboBox(Panel1), "cbKB1");
    cbKB1->addItems({QStringLiteral("bytes"), QStringLiteral("KB")});

    lblDup = named(new QLabel(QStringLiteral("Duplicates matching on : "), Panel1), "lblDup");
    cbDup = named(new QComboBox(Panel1), "cbDup");
    cbDup->addItems(matchModeTexts());
    // The content comparison follows the seven modes that compare names, sizes and dates.
    if (cbDup->findText(contentMatchModeText()) < 0) cbDup->addItem(contentMatchModeText());
    cbDup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblDup->setBuddy(cbDup);

    pckDrive = named(new QListWidget(Panel1), "pckDrive");
    // The options decide the panel's height; the list fills it.
    pckDrive->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    pckDrive->setMinimumWidth(fontMetrics().averageCharWidth() * 24);

    auto* numbers = new QHBoxLayout;
    numbers->setSpacing(6);
    numbers->addWidget(num1);
    numbers->addWidget(lblAnd);
    numbers->addWidget(num2);
    numbers->addWidget(cbKB1);
    numbers->addStretch(1);

    auto* pattern = new QHBoxLayout;
    pattern->setSpacing(6);
    pattern->addWidget(cbWildCard);
    pattern->addWidget(lblWild, 1);

    auto* options = new QGridLayout;
    options->setHorizontalSpacing(10);
    options->setVerticalSpacing(4);
    options->addWidget(lblMatching, 0, 0);
    options->addLayout(pattern, 0, 1);
    options->addWidget(rbLarger, 1, 0);
    options->addLayout(numbers, 1, 1);
    options->addWidget(rbSmaller, 2, 0);
    options->addWidget(rbBetween, 3, 0);
    options->addWidget(lblDup, 4, 0);
    options->addWidget(cbDup, 4, 1, Qt::AlignLeft);
    options->setColumnStretch(1, 1);
    options->setRowStretch(5, 1);

    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(12);
    top->addLayout(options, 3);
    top->addWidget(pckDrive, 2);

    // The button row. Abort and Mark share a place: one shows while scanning, the other after.
    btScan = namedButton("btScan", QStringLiteral("&Start"), QString(), this);
    btScan->setDefault(true);
    btClose = namedButton("btClose", QStringLiteral("Close"), QString(), this);
    btAbort = namedButton("btAbort", QStringLiteral("&Abort"), QStringLiteral("Abort scan"), this);
    btMark = namedButton("btMark", QStringLiteral("&Mark"),
                         QStringLiteral("Mark file for deletion (double click on grid also works)"),
                         this);
    btDelete = namedButton("btDelete", QStringLiteral("Clean?"),
                           QStringLiteral("Clean up marked files"), this);
    btOptions = namedButton("btOptions", QStringLiteral("Options"),
                            QStringLiteral("Right click on grid for same options"), this);
    btBrowse = namedButton("btBrowse", QStringLiteral("&Browse"),
                           QStringLiteral("Browse this file and folder"), this);
    btDetails = namedButton("btDetails", QStringLiteral("&Details"),
                            QStringLiteral("View more file details"), this);
    btCompare = namedButton("btCompare", QStringLiteral("P&airs"), QString(), this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton* b :
         {btScan, btClose, btAbort, btMark, btDelete, btOptions, btBrowse, btDetails, btCompare})
        buttons->addWidget(b);
    buttons->addStretch(1);

    // The result grid and the status bar.
    grid = named(new QTableView(this), "grid");
    model = new GridModel(duplicates() ? duplicateHeaders() : fileHogHeaders(), grid);
    grid->setModel(model);
    setupResultGrid(grid);
    model->setMarkColumn(
        markColumnOf(duplicates() ? FinderMode::Duplicates : FinderMode::FileHogs));
    model->setMarkGlyph(QVariant::fromValue(markGlyph()));
    model->setColumnAlignment(duplicates() ? 1 : 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->horizontalHeader()->setMinimumSectionSize(24);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);

    pnlSel = named(new QStatusBar(this), "pnlSel");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* upper = new QVBoxLayout;
    upper->setContentsMargins(8, 8, 8, 6);
    upper->setSpacing(8);
    upper->addWidget(Panel1);
    upper->addLayout(buttons);
    layout->addLayout(upper);
    layout->addWidget(grid, 1);
    layout->addWidget(pnlSel);
}

void TfrmDup::buildMenu() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PopupMenu1->addAction(resultList->Details1);
    Highlightfolders1 =
        PopupMenu1->addAction(QStringLiteral("Highlight folders on Safe Harbor list"));
    Highlightfolders1->setObjectName(QStringLiteral("Highlightfolders1"));
    Highlightfolders1->setCheckable(true);
    Highlightfolders1->setChecked(true);
    PopupMenu1->addSeparator();
    addFolderMenuItem(PopupMenu1, pckDrive, DriveSource::finders());
    PopupMenu1->addSeparator();
    PopupMenu1->addMenu(resultList->Sort1);
    subMenu(PopupMenu1, QStringLiteral("Mark"), "Mark1",
            {resultList->Markall1, resultList->Unmarkall1});
    subMenu(PopupMenu1, QStringLiteral("Resize"), "Resize1",
            {resultList->Shrink1, resultList->Grow1});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(resultList->Run1);
    PopupMenu1->addAction(resultList->View1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(resultList->Print1);
    subMenu(PopupMenu1, QStringLiteral("Clipboard"), "Clipboard1",
            {resultList->Filenamesonly1, resultList->Entiregridseparatedbytabs1});
}

}  // namespace vastel
