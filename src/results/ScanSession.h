#pragma once

#include "core/TreeWalk.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAbstractButton;
class QWidget;

namespace vastel {

// The window side of a scan, shared by every finder: the idle and scanning states, the walk of
// the checked targets with the window kept painted and its Abort button live, the warnings of an
// abort and of a full collection, and "Can't open drive " for a target that cannot be opened.
// The walk runs on the user-interface thread and lets pending events run once per time slice.
class ScanSession : public QObject, private WalkProgress {
    Q_OBJECT
  public:
    static const QString kAbortedWarning;         // "LIST INCOMPLETE ... ABORTED BY USER"
    static const QString kCollectionFullWarning;  // the duplicate finder's text
    static const QString kCantOpenDrive;          // "Can't open drive "

    // The controls of the window that take part in a scan.
    struct Parts {
        QWidget* window = nullptr;
        QAbstractButton* abortButton = nullptr;      // "&Abort": shown only while scanning
        QWidget* grid = nullptr;                     // shows the hourglass while scanning
        QList<QWidget*> disabled;                    // disabled while scanning, enabled after
        QList<QWidget*> hidden;                      // hidden when a scan starts
        std::function<void(const QString&)> status;  // shows the folder being walked
        bool* abortFlag = nullptr;                   // the window's program-wide abort flag
        QString fullWarning = kCollectionFullWarning;
        bool escapeAborts = false;  // Esc acts as Abort (else it is ignored while scanning)
    };

    explicit ScanSession(const Parts& parts, QObject* parent = nullptr);
    ~ScanSession() override;

    // Idle to scanning: the abort flag cleared, Abort shown, the other controls hidden or
    // disabled, the hourglass over the grid, hints off. Closing the window waits for the end.
    void begin();
    // The walk of the targets in list order (ScanAllDrives).
    TreeWalk::Summary walk(const std::vector<ScanTarget>& targets, const WalkOptions& options,
                           WalkSink& sink);
    // A walk of the window's own making (one that keeps its own collection and limits), run
    // the same way: it reports to the session and stops on the token the session keeps in step
    // with the window's abort flag.
    void run(const std::function<void(WalkProgress& progress, StopToken& stop)>& job);
    // Runs work that follows the walk (grouping, sorting) on a helper thread while the window
    // stays painted; Abort is hidden, since the walk it stops is over. Returns when it is done.
    void runAside(const std::function<void()>& work);
    // Scanning to idle: the normal cursor, Abort hidden, the controls enabled, hints on. What
    // to show then is the window's own business.
    void end();
    bool scanning() const { return scanning_; }

  public Q_SLOTS:
    // Abort: the flag set, the button hidden, the warning shown; the walk stops at its next
    // folder or file.
    void btAbortClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pump(const QByteArray& folder) override;
    void targetFailed(const ScanTarget& target) override;
    void collectionFull() override;
    bool belongsToWindow(QObject* object) const;
    void syncAbortFlag();

    Parts parts_;
    bool scanning_ = false;
    QByteArray shownFolder_;
    StopToken* stop_ = nullptr;  // of the running walk
};

}  // namespace vastel
