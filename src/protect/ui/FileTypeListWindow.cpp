#include "protect/ui/FileTypeListWindow.h"

#include "platform/Dialogs.h"
#include "protect/FileTypeRows.h"
#include "protect/ui/TabbedListDelegate.h"
#include "protect/TfrmSelectExtension.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vastel {

FileTypeListWindow::FileTypeListWindow(QWidget* parent, const Texts& texts, QString section,
                                       QStringList firstUse, QStringList defaults)
    : QDialog(parent),
      section_(std::move(section)),
      firstUse_(std::move(firstUse)),
      defaults_(std::move(defaults)) {
    setObjectName(QLatin1String(texts.objectName));
    setWindowTitle(texts.caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(520, 420);

    lblHeading = new QLabel(texts.heading, this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = lblHeading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    headingFont.setBold(true);
    lblHeading->setFont(headingFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(lblHeading);
    for (int i = 0; i < texts.explanations.size(); ++i) {
        auto* note = new QLabel(texts.explanations[i], this);
        note->setObjectName(i == 0 ? QStringLiteral("lblExplain")
                                   : QStringLiteral("lblExplain%1").arg(i + 1));
        note->setWordWrap(true);
        layout->addWidget(note);
    }

    PickList1 = new QListWidget(this);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PickList1->setUniformItemSizes(true);
    PickList1->setItemDelegate(new TabbedListDelegate(110, PickList1));

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btAdd = button("btAdd", QStringLiteral("&Add"));
    btDelete = button("btDelete", QStringLiteral("&Delete"));
    btClear = button("btClear", QStringLiteral("&Clear all"));
    btDefaults = button("btDefaults", QStringLiteral("D&efaults"));
    btClose = button("btClose", QStringLiteral("Close"));

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {btAdd, btDelete, btClear, btDefaults}) side->addWidget(b);
    side->addStretch();
    side->addWidget(btClose);
    auto* body = new QHBoxLayout;
    body->addWidget(PickList1, 1);
    body->addLayout(side);
    layout->addLayout(body, 1);

    connect(btAdd, &QPushButton::clicked, this, &FileTypeListWindow::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &FileTypeListWindow::btDeleteClick);
    connect(btClear, &QPushButton::clicked, this, &FileTypeListWindow::btClearClick);
    connect(btDefaults, &QPushButton::clicked, this, &FileTypeListWindow::btDefaultsClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
}

void FileTypeListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ReadInFromDisk();
}

void FileTypeListWindow::done(int result) {
    // Every way of closing stores the rows: Close, Esc and the window frame.
    WriteOutToDisk();
    QDialog::done(result);
}

void FileTypeListWindow::ReadInFromDisk() {
    PickList1->clear();
    PickList1->addItems(readTypeRows(section_, firstUse_));
}

void FileTypeListWindow::WriteOutToDisk() { writeTypeRows(section_, rows()); }

QStringList FileTypeListWindow::rows() const {
    QStringList out;
    for (int i = 0; i < PickList1->count(); ++i) out.append(PickList1->item(i)->text());
    return out;
}

void FileTypeListWindow::addRow(const QString& row) {
    const QStringList current = rows();
    if (containsRowNoCase(current, row)) return;
    PickList1->insertItem(int(sortedRowPosition(current, row)), row);
}

void FileTypeListWindow::btAddClick() {
    TfrmSelectExtension picker(this);
    if (picker.exec() != QDialog::Accepted) return;
    if (!picker.multipleChosen) {
        if (!picker.chosenPattern.isEmpty() && picker.chosenPattern != QLatin1String("*.*"))
            addRow(picker.chosenPattern + QLatin1Char('\t') + picker.chosenDescription);
        return;
    }
    for (const QString& row : picker.selectedRows()) addRow(row);
}

void FileTypeListWindow::btDeleteClick() {
    const QList<QListWidgetItem*> selected = PickList1->selectedItems();
    if (selected.size() > 1) {
        const QString text = QStringLiteral("Really delete ") + QString::number(selected.size()) +
                             QStringLiteral(" extensions?");
        if (dialogs().question(text, Buttons::YesNoCancel, BoxIcon::Question, Beep::None) !=
            Answer::Yes)
            return;
    }
    qDeleteAll(selected);
}

void FileTypeListWindow::btClearClick() {
    if (dialogs().question(QStringLiteral("Really clear out all extensions?"), Buttons::YesNoCancel,
                           BoxIcon::Question, Beep::None) == Answer::Yes)
        PickList1->clear();
}

void FileTypeListWindow::btDefaultsClick() {
    for (const QString& pattern : defaults_) addRow(typeRow(pattern));
}

}  // namespace vastel
