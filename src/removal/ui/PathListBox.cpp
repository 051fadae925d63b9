#include "removal/ui/PathListBox.h"

#include "platform/NativePath.h"

#include <QSet>
#include <algorithm>

namespace vastel {

namespace {

// Sorts by the shown text without regard to case; equal texts (names that differ only in
// bytes that are not UTF-8) keep a stable order by their bytes.
class PathItem : public QListWidgetItem {
  public:
    explicit PathItem(const QByteArray& path) : QListWidgetItem(PathListBox::rowText(path)) {
        setData(PathListBox::PathRole, path);
        setToolTip(text());
    }
    bool operator<(const QListWidgetItem& other) const override {
        const int c = text().compare(other.text(), Qt::CaseInsensitive);
        if (c != 0) return c < 0;
        return data(PathListBox::PathRole).toByteArray() <
               other.data(PathListBox::PathRole).toByteArray();
    }
};

}  // namespace

PathListBox::PathListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

QString PathListBox::rowText(const QByteArray& path) {
    // A tab or a line break inside a name would break the row; they are shown escaped.
    const QString text = displayPath(path);
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

void PathListBox::setPaths(const QList<QByteArray>& paths) {
    clear();
    addPaths(paths);
}

void PathListBox::addPaths(const QList<QByteArray>& paths) {
    if (paths.isEmpty()) return;
    setUpdatesEnabled(false);
    for (const QByteArray& path : paths) addItem(new PathItem(path));
    sortItems();
    setUpdatesEnabled(true);
}

QList<QByteArray> PathListBox::paths() const {
    QList<QByteArray> out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i) out.append(pathAt(i));
    return out;
}

QByteArray PathListBox::pathAt(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(PathRole).toByteArray() : QByteArray();
}

QList<QByteArray> PathListBox::takeSelectedPaths() {
    QList<QByteArray> taken;
    QList<QListWidgetItem*> kept;
    const QList<QListWidgetItem*> selectedList = selectedItems();
    const QSet<QListWidgetItem*> selected(selectedList.begin(), selectedList.end());
    setUpdatesEnabled(false);
    // Taking every row from the end and putting the kept ones back beats removing rows one by
    // one from the middle of a long list.
    while (count() > 0) {
        QListWidgetItem* it = takeItem(count() - 1);
        if (selected.contains(it)) {
            taken.prepend(it->data(PathRole).toByteArray());
            delete it;
        } else {
            kept.prepend(it);
        }
    }
    for (QListWidgetItem* it : kept) addItem(it);
    setUpdatesEnabled(true);
    return taken;
}

}  // namespace vastel
