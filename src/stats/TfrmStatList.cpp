#include "stats/TfrmStatList.h"

#include "platform/Dialogs.h"
#include "protect/FileTypeRows.h"
#include "protect/TfrmSelectExtension.h"
#include "protect/ui/TabbedListDelegate.h"
#include "stats/StatTypeLists.h"
#include "widgets/AppContext.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vastel {

TfrmStatList::TfrmStatList(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmStatList"));
    setWindowTitle(QStringLiteral("File types"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(480, 400);

    auto* heading = new QLabel(QStringLiteral("File Types"), this);
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.25);
    heading->setFont(f);
    auto* note = new QLabel(
        QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file types."), this);
    note->setWordWrap(true);
    PickList1 = new QListWidget(this);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PickList1->setToolTip(QStringLiteral("List of temporary file extensions and types"));
    PickList1->setItemDelegate(new TabbedListDelegate(110, PickList1));
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    auto button = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    btAdd = button("btAdd", QStringLiteral("&Add"),
                   QStringLiteral("Add a file extension to this list"));
    btDelete =
        button("btDelete", QStringLiteral("&Delete"), QStringLiteral("Delete a file extension"));
    btClear =
        button("btClear", QStringLiteral("&Clear all"), QStringLiteral("Clear all extensions"));
    btClose = button("btClose", QStringLiteral("Close"), QStringLiteral("Close window"));

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {btAdd, btDelete, btClear}) side->addWidget(b);
    side->addStretch(1);
    side->addWidget(btClose);
    auto* body = new QHBoxLayout;
    body->addWidget(PickList1, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(heading);
    layout->addWidget(note);
    layout->addLayout(body, 1);
    layout->addWidget(lblCount);

    connect(btAdd, &QPushButton::clicked, this, &TfrmStatList::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmStatList::btDeleteClick);
    connect(btClear, &QPushButton::clicked, this, &TfrmStatList::btClearClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmStatList::btCloseClick);
}

void TfrmStatList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmStatList::FormShow() {
    PickList1->clear();
    PickList1->addItems(ReadStatFilesFromDisk(listSection));
    updateCount();
}

void TfrmStatList::keyPressEvent(QKeyEvent* event) {
    // Esc is the Close button here: it stores the list.
    if (event->key() == Qt::Key_Escape) {
        btCloseClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmStatList::updateCount() {
    lblCount->setText(QString::number(PickList1->count()) + QStringLiteral(" available"));
}

QStringList TfrmStatList::lines() const {
    QStringList out;
    for (int i = 0; i < PickList1->count(); ++i) out << PickList1->item(i)->text();
    return out;
}

void TfrmStatList::addLine(const QString& line) {
    const QStringList current = lines();
    if (containsRowNoCase(current, line)) return;
    PickList1->insertItem(int(sortedRowPosition(current, line)), line);
}

void TfrmStatList::btAddClick() {
    TfrmSelectExtension picker(this);
    if (picker.exec() == QDialog::Accepted) {
        if (!picker.multipleChosen) {
            if (!picker.chosenPattern.isEmpty() && picker.chosenPattern != QLatin1String("*.*"))
                addLine(picker.chosenPattern + QLatin1Char('\t') + picker.chosenDescription);
        } else {
            for (const QString& row : picker.selectedRows()) addLine(row);
        }
    }
    updateCount();
}

void TfrmStatList::btDeleteClick() {
    const QList<QListWidgetItem*> selected = PickList1->selectedItems();
    if (selected.size() > 1) {
        const QString text = QStringLiteral("Really delete ") + QString::number(selected.size()) +
                             QStringLiteral(" extensions?");
        if (context_.dialogs().question(text, Buttons::YesNoCancel, BoxIcon::Question,
                                        Beep::None) != Answer::Yes)
            return;
    }
    qDeleteAll(selected);
    updateCount();
}

void TfrmStatList::btClearClick() {
    if (context_.dialogs().question(QStringLiteral("Really clear out all extensions?"),
                                    Buttons::YesNoCancel, BoxIcon::Question,
                                    Beep::None) == Answer::Yes)
        PickList1->clear();
    updateCount();
}

void TfrmStatList::btCloseClick() {
    WriteStatFilesToDisk(lines(), listSection);
    accept();
}

}  // namespace vastel
