#include "protect/TfrmNoDelete.h"

#include "core/MessageBoxes.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "protect/BuildDate.h"
#include "protect/FileTypeRows.h"
#include "protect/FolderEntry.h"
#include "protect/FolderListFile.h"
#include "protect/TfrmEditFolder.h"
#include "protect/TfrmKeepFiles.h"
#include "protect/ui/FolderListModel.h"
#include "protect/ui/TabbedListDelegate.h"
#include "widgets/DialogRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vastel {

namespace {
const char* const kHeading = "Folders and file types that Vastel will not delete without warning";
}  // namespace

TfrmNoDelete::TfrmNoDelete(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNoDelete"));
    setWindowTitle(QStringLiteral("Safe Harbor - List of folders that should not be deleted"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(720, 520);

    lblHeading = new QLabel(QString::fromLatin1(kHeading), this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = lblHeading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    headingFont.setBold(true);
    lblHeading->setFont(headingFont);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Folders not to delete.
    auto* folderPage = new QWidget;
    folderPage->setObjectName(QStringLiteral("TabSheet1"));
    folders = new FolderListModel(this);
    ListBox1 = new QListView(folderPage);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setModel(folders);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setTextElideMode(Qt::ElideMiddle);

    auto button = [](const char* name, const QString& caption, QWidget* parent) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btBuild = button("btBuild", QStringLiteral("Build list of folders"), folderPage);
    btBuild->setDefault(true);
    btAdd = button("btAdd", QStringLiteral("&Add"), folderPage);
    btDel = button("btDel", QStringLiteral("&Delete"), folderPage);
    btEdit = button("btEdit", QStringLiteral("&Edit"), folderPage);

    lblCount = new QLabel(folderPage);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblWhen = new QLabel(folderPage);
    lblWhen->setObjectName(QStringLiteral("lblWhen"));
    lblToday = new QLabel(folderPage);
    lblToday->setObjectName(QStringLiteral("lblToday"));

    auto* side = new QVBoxLayout;
    side->addWidget(btBuild);
    side->addSpacing(8);
    side->addWidget(btAdd);
    side->addWidget(btDel);
    side->addWidget(btEdit);
    side->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ListBox1, 1);
    listRow->addLayout(side);
    auto* dates = new QFormLayout;
    dates->setContentsMargins(0, 0, 0, 0);
    dates->addRow(QStringLiteral("Last built:"), lblWhen);
    dates->addRow(QStringLiteral("Today:"), lblToday);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblCount, 0, Qt::AlignTop);
    foot->addStretch();
    foot->addLayout(dates);
    auto* folderLayout = new QVBoxLayout(folderPage);
    folderLayout->addLayout(listRow, 1);
    folderLayout->addLayout(foot);
    PageControl1->addTab(folderPage, QStringLiteral("Folders not to delete"));

    // File types not to delete.
    auto* typePage = new QWidget;
    typePage->setObjectName(QStringLiteral("TabSheet2"));
    PickList1 = new QListWidget(typePage);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSelectionMode(QAbstractItemView::NoSelection);
    PickList1->setFocusPolicy(Qt::NoFocus);
    PickList1->setItemDelegate(new TabbedListDelegate(110, PickList1));
    BitBtn1 = button("BitBtn1", QStringLiteral("Add/Delete"), typePage);
    auto* typeSide = new QVBoxLayout;
    typeSide->addWidget(BitBtn1);
    typeSide->addStretch();
    auto* typeLayout = new QHBoxLayout(typePage);
    typeLayout->addWidget(PickList1, 1);
    typeLayout->addLayout(typeSide);
    PageControl1->addTab(typePage, QStringLiteral("File types not to delete"));

    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setAutoDefault(false);
    auto* bottom = rightAlignedRow({btClose});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(lblHeading);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    connect(btBuild, &QPushButton::clicked, this, &TfrmNoDelete::btBuildClick);
    connect(btAdd, &QPushButton::clicked, this, &TfrmNoDelete::btAddClick);
    connect(btDel, &QPushButton::clicked, this, &TfrmNoDelete::btDelClick);
    connect(btEdit, &QPushButton::clicked, this, &TfrmNoDelete::btEditClick);
    connect(ListBox1, &QListView::doubleClicked, this, &TfrmNoDelete::btEditClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmNoDelete::BitBtn1Click);
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmNoDelete::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmNoDelete::FormShow() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QByteArrayList entries;
    readFolderListFile(folderListFilePath(), &entries);
    folders->setEntries(entries);
    updateCount();
    lblWhen->setText(readBuildDate());
    ReadInFromDisk();
    lblToday->setText(longDateText(QDate::currentDate()));
    PageControl1->setCurrentIndex(0);
    QApplication::restoreOverrideCursor();
}

void TfrmNoDelete::closeEvent(QCloseEvent* event) {
    // The build lets paint events run; a close that slips in waits until it is done.
    if (building_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmNoDelete::done(int result) {
    if (building_) return;
    FormClose();
    QDialog::done(result);
}

void TfrmNoDelete::FormClose() {
    if (!listChanged) return;
    QByteArrayList entries = folders->entries();
    sortFolderEntries(entries);
    const QString path = folderListFilePath();
    if (!saveFolderListFile(path, entries))
        errorBox(QStringLiteral("Can't save the Safe Harbor list of folders to ") + path);
    listChanged = false;
}

void TfrmNoDelete::updateCount() {
    lblCount->setText(QString::number(folders->rowCount()) + QStringLiteral(" folders"));
}

void TfrmNoDelete::updateLastDate() {
    lblWhen->setText(recordBuildDate(folders->rowCount() > 0));
    lblToday->setText(longDateText(QDate::currentDate()));
}

void TfrmNoDelete::ReadInFromDisk() {
    PickList1->clear();
    PickList1->addItems(readTypeRows(kProtectedTypesSection, protectedTypesDefaults()));
}

void TfrmNoDelete::btAddClick() {
    const std::optional<QString> folder = dialogs().pickFolder(
        QStringLiteral("Select a folder that won't be deleted"), QStringLiteral("/"));
    if (folder && !folder->isEmpty()) {
        QByteArray entry = nativePath(*folder);
        if (!entry.endsWith('/')) entry += '/';
        const int row = folders->append(entry);
        ListBox1->setCurrentIndex(folders->index(row));
        listChanged = true;
    }
    updateCount();
}

void TfrmNoDelete::btDelClick() {
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        errorBox(QStringLiteral("Select one or more folders from the list above"));
    } else if (confirmed(dialogs().question(QStringLiteral("Really delete the selected folders?"),
                                            Buttons::OkCancel, BoxIcon::Question, Beep::None))) {
        QList<int> rows;
        for (const QModelIndex& i : selected) rows.append(i.row());
        folders->removeEntries(rows);
        listChanged = true;
    }
    updateCount();
}

void TfrmNoDelete::btEditClick() {
    const QModelIndex current = ListBox1->currentIndex();
    if (!current.isValid()) {
        errorBox(QStringLiteral("Select a folder first"));
        ListBox1->setFocus();
        return;
    }
    const int row = current.row();
    const QByteArray entry = folders->entry(row);
    const bool tree = isTreeEntry(entry);
    const QByteArray folder = entryStem(entry);
    TfrmEditFolder editor(this);
    editor.Edit1->setText(displayPath(folder));
    editor.cbAll->setChecked(tree);
    if (editor.exec() != QDialog::Accepted || editor.Edit1->text().isEmpty()) return;

    listChanged = true;
    // Unchanged text keeps the exact bytes, also of a name that is not UTF-8.
    QByteArray edited =
        editor.Edit1->text() == displayPath(folder) ? folder : nativePath(editor.Edit1->text());
    const bool protectBelow = editor.cbAll->isChecked();
    if (protectBelow) edited += kTreeMarker;
    folders->setEntry(row, edited);
    int currentRow = row;
    if (protectBelow) {
        QByteArrayList entries = folders->entries();
        mergeSubfolderEntries(entries);
        folders->setEntries(entries);
        currentRow = int(entries.indexOf(edited));
        updateCount();
    }
    ListBox1->setCurrentIndex(folders->index(currentRow));
    ListBox1->setFocus();
}

void TfrmNoDelete::BitBtn1Click() {
    TfrmKeepFiles types(this);
    types.exec();
    ReadInFromDisk();
    reloadNeeded = true;
}

}  // namespace vastel
