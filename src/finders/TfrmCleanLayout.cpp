// The controls, the layout and the pop-up menus of the quick clean.
#include "core/GridModel.h"
#include "finders/TfrmClean.h"
#include "protect/ui/TabbedListDelegate.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/WindowParts.h"
#include "widgets/DriveList.h"

#include <QAction>
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

QMenu* subMenu(QMenu* menu, const QString& title, const char* name,
               std::initializer_list<QAction*> items) {
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QLatin1String(name));
    for (QAction* a : items) sub->addAction(a);
    return sub;
}

const QStringList& headers() {
    static const QStringList h{QStringLiteral("Size"),     QStringLiteral("Modified"),
                               QStringLiteral("Time"),     QStringLiteral("Access"),
                               QStringLiteral("FileName"), QStringLiteral("Type")};
    return h;
}

}  // namespace

void TfrmClean::buildControls() {
    // The top panel: the type list with its editor button, and the drive list.
    Panel1 = named(new QWidget(this), "Panel1");
    auto* lblTypes = named(new QLabel(QStringLiteral("Temporary file types"), Panel1), "lblTypes");
    PickList1 = named(new QListWidget(Panel1), "PickList1");
    PickList1->setToolTip(QStringLiteral("File extensions/types of temporary files"));
    PickList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PickList1->setItemDelegate(new TabbedListDelegate(
        fontMetrics().horizontalAdvance(QStringLiteral("*.WWWW")) + 12, PickList1));
    PickList1->setContextMenuPolicy(Qt::CustomContextMenu);
    PickList1->setMinimumWidth(fontMetrics().averageCharWidth() * 34);
    lblTypes->setBuddy(PickList1);
    btEdit = namedButton("btEdit", QStringLiteral("Add/Delete"),
                         QStringLiteral("Add, delete temporary file extensions"), Panel1);

    pckDrive = named(new QListWidget(Panel1), "pckDrive");
    pckDrive->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* typeColumn = new QVBoxLayout;
    typeColumn->setSpacing(4);
    typeColumn->addWidget(lblTypes);
    typeColumn->addWidget(PickList1, 1);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(btEdit);
    editRow->addStretch(1);
    typeColumn->addLayout(editRow);

    auto* driveColumn = new QVBoxLayout;
    driveColumn->setSpacing(4);
    auto* lblDrives = named(new QLabel(QStringLiteral("Drives and folders"), Panel1), "lblDrives");
    lblDrives->setBuddy(pckDrive);
    driveColumn->addWidget(lblDrives);
    driveColumn->addWidget(pckDrive, 1);

    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(12);
    top->addLayout(typeColumn, 1);
    top->addLayout(driveColumn, 1);
    Panel1->setMinimumHeight(fontMetrics().height() * 11);

    // The button row from the left; Abort and Mark share a place.
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
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    for (QPushButton* b :
         {btScan, btClose, btAbort, btMark, btDelete, btOptions, btBrowse, btDetails})
        buttons->addWidget(b);
    buttons->addStretch(1);

    grid = named(new QTableView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion"));
    model = new GridModel(headers(), grid);
    grid->setModel(model);
    setupResultGrid(grid);
    model->setMarkColumn(4);
    model->setMarkGlyph(QVariant::fromValue(markGlyph()));
    model->setColumnAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    grid->horizontalHeader()->setMinimumSectionSize(24);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

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

void TfrmClean::buildMenu() {
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    PopupMenu1->addAction(resultList->Details1);
    Highlight1 = PopupMenu1->addAction(QStringLiteral("Highlight folders on Safe Harbor list"));
    Highlight1->setObjectName(QStringLiteral("Highlight1"));
    Highlight1->setCheckable(true);
    Highlight1->setChecked(true);
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

    PopupMenu2 = named(new QMenu(this), "PopupMenu2");
    QAction* selectAll = PopupMenu2->addAction(QStringLiteral("Select All"));
    selectAll->setObjectName(QStringLiteral("SelectAll2"));
    QAction* deselectAll = PopupMenu2->addAction(QStringLiteral("Deselect All"));
    deselectAll->setObjectName(QStringLiteral("DeselectAll2"));
    connect(selectAll, &QAction::triggered, this, &TfrmClean::selectAllExtensions);
    connect(deselectAll, &QAction::triggered, PickList1, &QListWidget::clearSelection);
}

}  // namespace vastel
