#include "stats/TfrmWhichDrive.h"

#include "stats/StatTypeLists.h"
#include "stats/TfrmStatList.h"
#include "widgets/DialogRows.h"
#include "widgets/DriveList.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vastel {

namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

TfrmWhichDrive::TfrmWhichDrive(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmWhichDrive"));
    setWindowTitle(QStringLiteral("Which drives and file types?"));
    notebook = new QStackedWidget(this);
    notebook->addWidget(buildDrivePage());
    notebook->addWidget(buildTypeChoicePage());
    notebook->addWidget(buildTypeListPage());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notebook);
    // Sized to the first page; the others lay themselves out in the same place.
    resize(420, 360);
}

QWidget* TfrmWhichDrive::buildDrivePage() {
    auto* page = new QWidget;
    const DriveSource source = DriveSource::statistics();
    pckDrive = new QListWidget(page);
    pckDrive->setObjectName(QStringLiteral("pckDrive"));
    fillDriveList(pckDrive, source, true);
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* menu = new QMenu(pckDrive);
    addFolderMenuItem(menu, pckDrive, source);
    menu->addSeparator();
    QAction* all = menu->addAction(QStringLiteral("Select All"));
    all->setObjectName(QStringLiteral("SelectAll1"));
    QAction* none = menu->addAction(QStringLiteral("Deselect All"));
    none->setObjectName(QStringLiteral("DeselectAll1"));
    connect(all, &QAction::triggered, this, [this] { selectAllDrives(true); });
    connect(none, &QAction::triggered, this, [this] { selectAllDrives(false); });
    connect(pckDrive, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& at) { menu->popup(pckDrive->viewport()->mapToGlobal(at)); });

    btNext1 = button(QStringLiteral("&Next >>"), QStringLiteral("btNext1"), page);
    btNext1->setDefault(true);
    btCancel1 = button(QStringLiteral("Cancel"), QStringLiteral("btCancel1"), page);
    bindStartControl(pckDrive, btNext1);
    connect(btNext1, &QPushButton::clicked, this, &TfrmWhichDrive::btNext1Click);
    connect(btCancel1, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading(QStringLiteral("Which drives/folders?"), page));
    layout->addWidget(new QLabel(
        QStringLiteral("Check the drives and folders to analyse (right-click for more)."), page));
    layout->addWidget(pckDrive, 1);
    layout->addLayout(rightAlignedRow({btNext1, btCancel1}));
    return page;
}

QWidget* TfrmWhichDrive::buildTypeChoicePage() {
    auto* page = new QWidget;
    rbAll = new QRadioButton(QStringLiteral("&All files"), page);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbAll->setChecked(true);
    rbInclude = new QRadioButton(QStringLiteral("&Selected file types only"), page);
    rbInclude->setObjectName(QStringLiteral("rbInclude"));
    rbExclude = new QRadioButton(QStringLiteral("All files &except selected file types"), page);
    rbExclude->setObjectName(QStringLiteral("rbExclude"));
    auto* group = new QButtonGroup(page);
    for (QRadioButton* rb : {rbAll, rbInclude, rbExclude}) group->addButton(rb);
    btPrev2 = button(QStringLiteral("<< &Previous"), QStringLiteral("btPrev2"), page);
    btNext2 = button(QStringLiteral("&Next >>"), QStringLiteral("btNext2"), page);
    btNext2->setDefault(true);
    connect(btPrev2, &QPushButton::clicked, this, [this] { notebook->setCurrentIndex(0); });
    connect(btNext2, &QPushButton::clicked, this, &TfrmWhichDrive::btNext2Click);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading(QStringLiteral("Which file types?"), page));
    layout->addSpacing(12);
    for (QRadioButton* rb : {rbAll, rbInclude, rbExclude}) {
        layout->addWidget(rb);
        layout->addSpacing(6);
    }
    layout->addStretch(1);
    layout->addLayout(rightAlignedRow({btPrev2, btNext2}));
    return page;
}

QWidget* TfrmWhichDrive::buildTypeListPage() {
    auto* page = new QWidget;
    lblTypes = heading(QString(), page);
    lblTypes->setObjectName(QStringLiteral("lblTypes"));
    PickList1 = new QListWidget(page);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSelectionMode(QAbstractItemView::MultiSelection);
    PickList1->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* all = new QAction(QStringLiteral("Select All"), PickList1);
    auto* none = new QAction(QStringLiteral("Deselect All"), PickList1);
    PickList1->addAction(all);
    PickList1->addAction(none);
    connect(all, &QAction::triggered, this, [this] { selectAllTypes(true); });
    connect(none, &QAction::triggered, this, [this] { selectAllTypes(false); });
    connect(PickList1, &QListWidget::itemSelectionChanged, this, &TfrmWhichDrive::PickList1Click);
    lblOf = new QLabel(page);
    lblOf->setObjectName(QStringLiteral("lblOf"));
    btEdit = button(QStringLiteral("&Add/Delete"), QStringLiteral("btEdit"), page);
    btPrev3 = button(QStringLiteral("<< &Previous"), QStringLiteral("btPrev3"), page);
    btOK = button(QStringLiteral("OK"), QStringLiteral("btOK"), page);
    btOK->setDefault(true);
    connect(btEdit, &QPushButton::clicked, this, &TfrmWhichDrive::btEditClick);
    connect(btPrev3, &QPushButton::clicked, this, [this] { notebook->setCurrentIndex(1); });
    connect(btOK, &QPushButton::clicked, this, &TfrmWhichDrive::btOKClick);

    auto* counter = new QHBoxLayout;
    counter->addWidget(lblOf);
    counter->addStretch(1);
    counter->addWidget(btEdit);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblTypes);
    layout->addWidget(PickList1, 1);
    layout->addLayout(counter);
    layout->addLayout(rightAlignedRow({btPrev3, btOK}));
    return page;
}

void TfrmWhichDrive::btNext1Click() {
    if (anyChecked(pckDrive)) notebook->setCurrentIndex(1);
}

void TfrmWhichDrive::btNext2Click() {
    if (rbAll->isChecked()) {
        accept();
        return;
    }
    lblTypes->setText(rbInclude->isChecked() ? QStringLiteral("Selected file types only")
                                             : QStringLiteral("All file types except ..."));
    loadTypes();
    notebook->setCurrentIndex(2);
}

QString TfrmWhichDrive::typeSection() const {
    return rbInclude->isChecked() ? kIncludeSection : kExcludeSection;
}

void TfrmWhichDrive::loadTypes() {
    {
        const QSignalBlocker quiet(PickList1);
        PickList1->clear();
        PickList1->addItems(ReadStatFilesFromDisk(typeSection()));
    }
    lblOf->setText(QStringLiteral("0/") + QString::number(PickList1->count()));
    btOK->setEnabled(false);
}

void TfrmWhichDrive::btEditClick() {
    {
        TfrmStatList editor(context_, this);
        editor.listSection = typeSection();
        editor.exec();
    }
    loadTypes();
}

void TfrmWhichDrive::PickList1Click() {
    const int selected = int(PickList1->selectedItems().size());
    lblOf->setText(QString::number(selected) + QLatin1Char('/') +
                   QString::number(PickList1->count()));
    btOK->setEnabled(selected > 0 && anyChecked(pckDrive));
}

void TfrmWhichDrive::selectAllTypes(bool selected) {
    if (selected)
        PickList1->selectAll();
    else
        PickList1->clearSelection();
    PickList1Click();
}

void TfrmWhichDrive::selectAllDrives(bool checked) {
    for (int i = 0; i < pckDrive->count(); ++i)
        pckDrive->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    btNext1->setEnabled(anyChecked(pckDrive));
}

void TfrmWhichDrive::btOKClick() {
    if (PickList1->selectedItems().isEmpty() || !anyChecked(pckDrive)) return;
    accept();
}

QStringList TfrmWhichDrive::selectedTypes() const {
    QStringList lines;
    for (int i = 0; i < PickList1->count(); ++i)
        if (PickList1->item(i)->isSelected()) lines << PickList1->item(i)->text();
    return lines;
}

}  // namespace vastel
