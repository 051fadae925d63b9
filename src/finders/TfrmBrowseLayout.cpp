// The controls, the layout and the pop-up menu of the disk and folder browser.
#include "core/GridModel.h"
#include "finders/BrowseColumns.h"
#include "finders/TfrmBrowse.h"
#include "finders/ui/FolderIcons.h"
#include "finders/ui/FolderTreeFilter.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

namespace vastel {

void TfrmBrowse::buildControls() {
    // The button panel.
    pnlButtons = named(new QWidget(this), "pnlButtons");
    btLaunch = namedButton("btLaunch", QStringLiteral("&Open"),
                           QStringLiteral("Open the file with its program"), pnlButtons);
    btView =
        namedButton("btView", QStringLiteral("&View"), QStringLiteral("View the file"), pnlButtons);
    btDetails = namedButton("btDetails", QStringLiteral("&Details"),
                            QStringLiteral("View more file details"), pnlButtons);
    btMark = namedButton("btMark", QStringLiteral("&Mark"),
                         QStringLiteral("Mark file for deletion (double click on grid also works)"),
                         pnlButtons);
    btDeleteFiles = namedButton("btDeleteFiles", QStringLiteral("&Clean marked files"),
                                QStringLiteral("Clean up marked files"), pnlButtons);
    btDeleteDirectory =
        namedButton("btDeleteDirectory", QStringLiteral("Delete &Folder"),
                    QStringLiteral("Delete folder and all files/folders below"), pnlButtons);
    btMenu = namedButton("btMenu", QStringLiteral("Options"),
                         QStringLiteral("Right click on grid for same options"), pnlButtons);
    btClose = namedButton("btClose", QStringLiteral("Close"), QString(), pnlButtons);
    auto* buttons = new QHBoxLayout(pnlButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(3);
    for (QPushButton* b : {btLaunch, btView, btDetails, btMark, btDeleteFiles})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(btDeleteDirectory);
    buttons->addSpacing(12);
    buttons->addWidget(btMenu);
    buttons->addStretch(1);
    buttons->addWidget(btClose);

    // The folder panel: the drive box above the folder tree. Folders load on a helper thread
    // of the model, so a big tree never blocks the window; hidden folders and links to
    // folders are not shown.
    auto* folderPanel = named(new QWidget(this), "pnlFolders");
    DriveCombobox1 = named(new QComboBox(folderPanel), "DriveCombobox1");
    DriveCombobox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DriveCombobox1->setMinimumContentsLength(16);
    folderModel = named(new QFileSystemModel(this), "folderModel");
    folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    folderModel->setReadOnly(true);
    folderIcons_ = std::make_unique<FolderIcons>();
    folderModel->setIconProvider(folderIcons_.get());
    folderFilter = new FolderTreeFilter(this);
    folderFilter->setFolders(folderModel);
    DirectoryListBox1 = named(new QTreeView(folderPanel), "DirectoryListBox1");
    DirectoryListBox1->setModel(folderFilter);
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setUniformRowHeights(true);
    DirectoryListBox1->setAnimated(false);
    DirectoryListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    DirectoryListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 1; c < folderModel->columnCount(); ++c) DirectoryListBox1->hideColumn(c);
    auto* left = new QVBoxLayout(folderPanel);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(4);
    left->addWidget(DriveCombobox1);
    left->addWidget(DirectoryListBox1, 1);

    // The file panel: the folder's label above the grid.
    auto* filePanel = named(new QWidget(this), "pnlFiles");
    Label1 = named(new QLabel(filePanel), "Label1");
    Label1->setAutoFillBackground(true);
    Label1->setMargin(3);
    Label1->setTextFormat(Qt::PlainText);
    // Long folder names are elided, never widen the window.
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    grid = named(new QTableView(filePanel), "grid");
    model = new GridModel(BrowseColumns::headers(), grid);
    grid->setModel(model);
    setupResultGrid(grid);
    model->setMarkColumn(BrowseColumns::Filename);
    model->setMarkGlyph(QVariant::fromValue(markGlyph()));
    model->setColumnAlignment(BrowseColumns::Size, Qt::AlignRight | Qt::AlignVCenter);
    grid->horizontalHeader()->setMinimumSectionSize(24);

    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* right = new QVBoxLayout(filePanel);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(4);
    right->addWidget(Label1);
    right->addWidget(grid, 1);

    auto* splitter = named(new QSplitter(Qt::Horizontal, this), "Splitter1");
    splitter->addWidget(folderPanel);
    splitter->addWidget(filePanel);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({260, 620});

    // The status bar: counts, size, a folder's problem, the clickable mask.
    statusBar = named(new QStatusBar(this), "StatusBar1");
    statusBar->setSizeGripEnabled(true);
    pnlScan = named(new QLabel(statusBar), "pnlScan");
    pnlSize = named(new QLabel(statusBar), "pnlSize");
    pnlProblem = named(new QLabel(statusBar), "pnlProblem");
    pnlProblem->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pnlProblem->hide();
    pnlWild = named(new QPushButton(statusBar), "pnlWild");
    pnlWild->setFlat(true);
    pnlWild->setAutoDefault(false);
    pnlWild->setFocusPolicy(Qt::NoFocus);
    pnlWild->setCursor(Qt::PointingHandCursor);
    pnlWild->setToolTip(QStringLiteral("Click to change the wildcard pattern"));
    pnlScan->setMinimumWidth(330);
    pnlSize->setMinimumWidth(200);
    for (QLabel* panel : {pnlScan, pnlSize, pnlProblem}) panel->setContentsMargins(6, 0, 6, 0);
    statusBar->addWidget(pnlScan);
    statusBar->addWidget(pnlSize);
    statusBar->addWidget(pnlProblem, 1);
    statusBar->addPermanentWidget(pnlWild);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* upper = new QVBoxLayout;
    upper->setContentsMargins(8, 8, 8, 6);
    upper->setSpacing(8);
    upper->addWidget(pnlButtons);
    upper->addWidget(splitter, 1);
    layout->addLayout(upper, 1);
    layout->addWidget(statusBar);
}

void TfrmBrowse::buildMenu() {
    Sort1 = named(new QMenu(QStringLiteral("Sort"), this), "Sort1");
    auto sortItem = [this](const QString& text, const char* name, BrowseSortKey key) {
        QAction* a = named(Sort1->addAction(text), name);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, key] { Sortbyname1Click(key, true); });
        return a;
    };
    Sortbyname1 = sortItem(QStringLiteral("Name"), "Sortbyname1", BrowseSortKey::Name);
    Sortbydate1 =
        sortItem(QStringLiteral("Modified &Date"), "Sortbydate1", BrowseSortKey::Modified);
    Sortbyaccessdate1 =
        sortItem(QStringLiteral("&Access Date"), "Sortbyaccessdate1", BrowseSortKey::Access);
    Sortbysize1 = sortItem(QStringLiteral("&Size"), "Sortbysize1", BrowseSortKey::Size);
    Sortbytype1 = sortItem(QStringLiteral("&Type"), "Sortbytype1", BrowseSortKey::Type);
    Sortbyname1->setChecked(true);

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PopupMenu1->addAction(resultList->Run1);
    PopupMenu1->addAction(resultList->View1);
    PopupMenu1->addAction(resultList->Details1);
    PopupMenu1->addSeparator();
    PopupMenu1->addMenu(Sort1);
    QMenu* marks = named(PopupMenu1->addMenu(QStringLiteral("Mark")), "Mark1");
    marks->addAction(resultList->Markall1);
    marks->addAction(resultList->Unmarkall1);
}

}  // namespace vastel
