// The Safe Harbor window's build of the folder list from the software registry.
#include "protect/TfrmNoDelete.h"

#include "platform/Dialogs.h"
#include "protect/FolderEntry.h"
#include "protect/ui/FolderListModel.h"
#include "results/JobRunner.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace vastel {

namespace {

const char* const kBuildQuestion =
    "Vastel will now scan the registry for references to folders.  Those folders ending with "
    "*.* will not be discarded during the scan.  It may take a few minutes.  Continue? ";

// Swallows clicks and keys while the build runs: it cannot be stopped, and the list must not
// change under it. Scrolling the growing list with the wheel stays possible.
class InputGuard : public QObject {
  public:
    InputGuard() { qApp->installEventFilter(this); }
    ~InputGuard() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::Drop:
                return true;
            default:
                return false;
        }
    }
};

// Puts what the walk finds into the window's sorted list and lets the window repaint on a time
// slice.
class WindowSink : public RegistryFolderSink {
  public:
    explicit WindowSink(FolderListModel* folders) : folders_(folders) {}
    bool listed(const QByteArray& folder) override { return folders_->containsSorted(folder); }
    void add(const QByteArray& folder) override {
        folders_->insertSorted(folder);
        tick();
    }
    // All events, with input swallowed by the guard: on X11, Qt sends the painted window to
    // the display server only when it processes user input too.
    void tick() override { runner_.tick(); }

  private:
    FolderListModel* folders_;
    JobRunner runner_;
};

}  // namespace

void TfrmNoDelete::setBuilding(bool building) {
    building_ = building;
    for (QPushButton* b : {btBuild, btAdd, btDel, btEdit}) b->setEnabled(!building);
}

void TfrmNoDelete::btBuildClick() {
    if (building_) return;
    if (!confirmed(dialogs().question(QString::fromLatin1(kBuildQuestion), Buttons::YesNo,
                                      BoxIcon::Question, Beep::None)))
        return;

    // The user's tree entries survive the build; plain entries are found again or dropped.
    QByteArrayList kept;
    for (const QByteArray& e : folders->entries())
        if (isTreeEntry(e)) kept.append(e);
    reloadNeeded = true;
    const QString heading = lblHeading->text();
    lblHeading->setText(QStringLiteral("Building List ... standby"));
    setBuilding(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sortFolderEntries(kept);
    folders->setEntries(kept);
    lblCount->clear();
    {
        const InputGuard guard;
        repaint();
        QCoreApplication::processEvents();
        WindowSink sink(folders);
        RegistryFolderScan scan(branches);
        scan.run(sink);
    }

    QByteArrayList entries = folders->entries();
    mergeSubfolderEntries(entries);
    folders->setEntries(entries);
    updateCount();
    setBuilding(false);
    QApplication::restoreOverrideCursor();
    lblHeading->setText(heading);
    updateLastDate();
    listChanged = true;
}

}  // namespace vastel
