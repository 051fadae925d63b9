#include "widgets/DriveList.h"

#include "widgets/TfrmAddNewFolder.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStyle>

namespace vastel {

namespace {

constexpr int kRootRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
const char* const kStartControl = "vastelStartControl";

// The bound start control follows the checks.
void updateStartControl(QListWidget* list) {
    if (auto* control = qobject_cast<QWidget*>(list->property(kStartControl).value<QObject*>()))
        control->setEnabled(anyChecked(list));
}

// The style has no glyph for a RAM disk: a memory chip.
QIcon ramDiskGlyph() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 90, 40), 1));
    for (int x = 3; x <= 12; x += 3) {
        p.drawLine(x, 1, x, 3);
        p.drawLine(x, 12, x, 14);
    }
    p.setBrush(QColor(70, 150, 70));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 8), 1.5, 1.5);
    p.fillRect(QRectF(4, 6, 8, 3), QColor(200, 230, 200));
    return QIcon(pm);
}

QIcon standardGlyph(QStyle::StandardPixmap which) {
    return QApplication::style()->standardIcon(which);
}

}  // namespace

QIcon driveGlyph(DriveType type) {
    switch (type) {
        case DriveType::Removable:
            return standardGlyph(QStyle::SP_DriveFDIcon);
        case DriveType::Network:
            return standardGlyph(QStyle::SP_DriveNetIcon);
        case DriveType::CdRom:
            return standardGlyph(QStyle::SP_DriveCDIcon);
        case DriveType::RamDisk:
            return ramDiskGlyph();
        case DriveType::Fixed:
            break;
    }
    return standardGlyph(QStyle::SP_DriveHDIcon);
}

QIcon folderGlyph() { return standardGlyph(QStyle::SP_DirIcon); }

void fillDriveList(QListWidget* list, const DriveSource& source, bool withFolders) {
    const std::vector<DriveListEntry> entries = driveListEntries(source, withFolders);
    const QSignalBlocker quiet(list);
    list->clear();
    list->setIconSize(QSize(16, 16));  // the style's folder glyph is larger than its drive glyphs
    for (const DriveListEntry& e : entries) {
        auto* item = new QListWidgetItem(e.target.isDrive() ? driveGlyph(e.type) : folderGlyph(),
                                         e.target.text, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(e.checked ? Qt::Checked : Qt::Unchecked);
        item->setData(kRootRole, e.target.root);
        item->setData(kKindRole, int(e.target.kind));
        item->setToolTip(e.target.text);
    }
    updateStartControl(list);
}

ScanTarget driveListTarget(const QListWidgetItem* item) {
    ScanTarget t;
    if (!item) return t;
    t.kind = ScanTarget::Kind(item->data(kKindRole).toInt());
    t.root = item->data(kRootRole).toByteArray();
    t.text = item->text();
    return t;
}

std::vector<ScanTarget> checkedTargets(const QListWidget* list) {
    std::vector<ScanTarget> targets;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            targets.push_back(driveListTarget(list->item(i)));
    return targets;
}

bool anyChecked(const QListWidget* list) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) return true;
    return false;
}

void bindStartControl(QListWidget* list, QWidget* startControl) {
    list->setProperty(kStartControl, QVariant::fromValue<QObject*>(startControl));
    updateStartControl(list);
    QObject::connect(list, &QListWidget::itemChanged, startControl,
                     [list] { updateStartControl(list); });
}

void addFolderToDriveList(QWidget* parent, QListWidget* list, const DriveSource& source) {
    {
        TfrmAddNewFolder dialog(parent);
        dialog.exec();
    }
    fillDriveList(list, source, true);
}

QAction* addFolderMenuItem(QMenu* menu, QListWidget* list, const DriveSource& source) {
    QAction* action = menu->addAction(QStringLiteral("Add a folder to the list of drives"));
    action->setObjectName(QStringLiteral("Addafoldertothelistofdrives1"));
    QObject::connect(action, &QAction::triggered, list,
                     [list, source] { addFolderToDriveList(list->window(), list, source); });
    return action;
}

}  // namespace vastel
