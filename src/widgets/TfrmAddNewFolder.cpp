#include "widgets/TfrmAddNewFolder.h"

#include "core/DriveEntries.h"
#include "core/MessageBoxes.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace vastel {

namespace {

constexpr int kPathRole = Qt::UserRole;

inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// Paths compare without regard to case (ASCII), as the list is sorted.
int compareIgnoringCase(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char x = asciiLower(a[i]), y = asciiLower(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QByteArray pathOf(const QListWidgetItem* item) { return item->data(kPathRole).toByteArray(); }

}  // namespace

TfrmAddNewFolder::TfrmAddNewFolder(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAddNewFolder"));
    setWindowTitle(QStringLiteral("Add new folders"));

    lblHeading = new QLabel(QStringLiteral("Add new folders to drives"), this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont bold = lblHeading->font();
    bold.setBold(true);
    lblHeading->setFont(bold);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    btAdd = new QPushButton(QStringLiteral("Add"), this);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btDel = new QPushButton(QStringLiteral("Del"), this);
    btDel->setObjectName(QStringLiteral("btDel"));
    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btAdd);
    buttons->addWidget(btDel);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeading);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
    resize(460, 300);

    connect(btAdd, &QPushButton::clicked, this, &TfrmAddNewFolder::btAddClick);
    connect(btDel, &QPushButton::clicked, this, &TfrmAddNewFolder::btDelClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmAddNewFolder::Button1Click);
}

void TfrmAddNewFolder::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmAddNewFolder::FormShow() {
    ListBox1->clear();
    for (const QByteArray& folder : readExtraFolders()) addFolder(folder);
}

QByteArrayList TfrmAddNewFolder::folders() const {
    QByteArrayList list;
    for (int i = 0; i < ListBox1->count(); ++i) list << pathOf(ListBox1->item(i));
    return list;
}

bool TfrmAddNewFolder::addFolder(const QByteArray& folder) {
    if (folder.isEmpty()) return false;
    int row = 0;
    for (; row < ListBox1->count(); ++row) {
        const int order = compareIgnoringCase(pathOf(ListBox1->item(row)), folder);
        if (order == 0) return false;
        if (order > 0) break;
    }
    auto* item = new QListWidgetItem(displayPath(folder));
    item->setData(kPathRole, folder);
    ListBox1->insertItem(row, item);
    return true;
}

void TfrmAddNewFolder::btAddClick() {
    const std::optional<QString> picked = dialogs().pickFolder(
        QStringLiteral("Add a selected folder to search"), QStringLiteral("/"));
    if (picked && !picked->isEmpty()) addFolder(nativePath(*picked));
}

void TfrmAddNewFolder::btDelClick() {
    std::vector<int> rows;
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->item(i)->isSelected()) rows.push_back(i);
    if (rows.empty()) {
        errorBox(QStringLiteral(
            "To delete one or more folder(s), first highlight the selected folders then click "
            "delete."));
        return;
    }
    if (rows.size() > 1 && !confirmed(dialogs().question(
                               QStringLiteral("Really delete ") + QString::number(rows.size()) +
                                   QStringLiteral(" folders?"),
                               Buttons::YesNoCancel, BoxIcon::Question, Beep::None)))
        return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) delete ListBox1->takeItem(*it);
}

void TfrmAddNewFolder::Button1Click() {
    writeExtraFolders(folders());
    accept();
}

}  // namespace vastel
