// The controls, the layout and the pop-up menu of the folder-hog window.
#include "core/GridModel.h"
#include "finders/DirHogFinder.h"
#include "finders/TfrmDirHog.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/WindowParts.h"
#include "widgets/DriveList.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace vastel {

namespace {

QLabel* label(const char* name, const QString& text, QWidget* parent, bool bold = false) {
    auto* l = named(new QLabel(text, parent), name);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

}  // namespace

void TfrmDirHog::buildControls() {
    // The top panel: what the two scans show on the left, the drive list on the right.
    Panel1 = named(new QWidget(this), "Panel1");
    auto* lblMain = label("lblMain", QStringLiteral("Main -"), Panel1, true);
    auto* lblMainText = label(
        "lblMainText",
        QStringLiteral("only main folders are displayed (those folders directly under the main "
                       "folder)"),
        Panel1);
    auto* lblAll = label("lblAll", QStringLiteral("All -"), Panel1, true);
    auto* lblAllText = label(
        "lblAllText",
        QStringLiteral("all folders including sub-folders are individually displayed"), Panel1);
    for (QLabel* l : {lblMainText, lblAllText}) l->setWordWrap(true);

    pckDrive = named(new QListWidget(Panel1), "pckDrive");
    pckDrive->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    pckDrive->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    // Room for several drives and extra folders beside the two short explanations.
    Panel1->setMinimumHeight(fontMetrics().height() * 7);
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(8);
    texts->setVerticalSpacing(10);
    texts->addWidget(lblMain, 0, 0, Qt::AlignTop);
    texts->addWidget(lblMainText, 0, 1, Qt::AlignTop);
    texts->addWidget(lblAll, 1, 0, Qt::AlignTop);
    texts->addWidget(lblAllText, 1, 1, Qt::AlignTop);
    texts->setColumnStretch(1, 1);
    texts->setRowStretch(2, 1);

    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(12);
    top->addLayout(texts, 3);
    top->addWidget(pckDrive, 2);

    // The button row. Abort and Clean? share a place: one shows while scanning, the other after.
    btTop =
        namedButton("btTop", QStringLiteral("&Main folders"),
                    QStringLiteral("Only topmost folders. Does not display sub-folders."), this);
    btAll = namedButton("btAll", QStringLiteral("&All Folders"),
                        QStringLiteral("ALL folders including sub-folders are displayed"), this);
    btAbort = namedButton("btAbort", QStringLiteral("&Abort"), QStringLiteral("Abort scan"), this);
    btDelete =
        namedButton("btDelete", QStringLiteral("Clean?"), QStringLiteral("Clean the folder"), this);
    btBrowse = namedButton("btBrowse", QStringLiteral("&Browse"),
                           QStringLiteral("Browse the files and folder"), this);
    btOptions = namedButton("btOptions", QStringLiteral("Options"),
                            QStringLiteral("Right click on grid for same options"), this);
    btClose = namedButton("btClose", QStringLiteral("Close"), QString(), this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton* b : {btTop, btAll, btAbort, btDelete, btBrowse, btOptions})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btClose);

    // The result grid and the status bar.
    grid = named(new QTableView(this), "grid");
    model = new GridModel(dirHogHeaders(), grid);
    grid->setModel(model);
    setupResultGrid(grid);
    for (int c = 0; c < 4; ++c) model->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    for (int c = 4; c < 6; ++c) model->setColumnAlignment(c, Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setMinimumSectionSize(24);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

    pnlScan = named(new QStatusBar(this), "pnlScan");
    pnlScan->setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* upper = new QVBoxLayout;
    upper->setContentsMargins(8, 8, 10, 6);
    upper->setSpacing(8);
    upper->addWidget(Panel1);
    upper->addLayout(buttons);
    layout->addLayout(upper);
    layout->addWidget(grid, 1);
    layout->addWidget(pnlScan);
}

void TfrmDirHog::buildMenu() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    Highlight1 = PopupMenu1->addAction(QStringLiteral("Highlight folders on Safe Harbor list"));
    Highlight1->setObjectName(QStringLiteral("Highlight1"));
    Highlight1->setCheckable(true);
    Highlight1->setChecked(true);
    addFolderMenuItem(PopupMenu1, pckDrive, DriveSource::finders());
    PopupMenu1->addSeparator();
    auto sortItem = [this](const QString& text, const char* name) {
        QAction* a = PopupMenu1->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { SortbySize1Click(a); });
        return a;
    };
    SortbySize1 = sortItem(QStringLiteral("Sort by &Size"), "SortbySize1");
    Sortbyfiles1 = sortItem(QStringLiteral("Sort by # &Files"), "Sortbyfiles1");
    Sortbysubdirectories1 =
        sortItem(QStringLiteral("Sort by # Sub-f&olders"), "Sortbysubdirectories1");
    Sortbydate1 = sortItem(QStringLiteral("Sort by &Access Date"), "Sortbydate1");
    SortbyName1 = sortItem(QStringLiteral("Sort by &Name"), "SortbyName1");
    SortbySize1->setChecked(true);
    PopupMenu1->addSeparator();
    resultList->Shrink1->setObjectName(QStringLiteral("Shrinktoppanel1"));
    resultList->Grow1->setObjectName(QStringLiteral("Restoretoppanel1"));
    PopupMenu1->addAction(resultList->Shrink1);
    PopupMenu1->addAction(resultList->Grow1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(resultList->Print1);
    QMenu* clipboard = PopupMenu1->addMenu(QStringLiteral("Clipboard"));
    clipboard->setObjectName(QStringLiteral("Clipboard1"));
    resultList->Filenamesonly1->setText(QStringLiteral("Folder names "));
    resultList->Filenamesonly1->setObjectName(QStringLiteral("Foldernames1"));
    clipboard->addAction(resultList->Filenamesonly1);
    clipboard->addAction(resultList->Entiregridseparatedbytabs1);
}

}  // namespace vastel
