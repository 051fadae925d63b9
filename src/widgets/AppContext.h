#pragma once

#include "removal/SafeHarborCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

namespace vastel {

class Dialogs;
class SafeHarbor;
class TFindDlg;
class TfrmDupCompare;
class TfrmStandBy;
class TfrmStatistics;

// What the windows share for the whole run: the Safe Harbor, the dialog seam, the archive
// folder, the run-long windows, and the factory through which one window opens another. The
// program builds one (app/ProgramContext) and hands it to each window; tests subclass it to
// intercept the windows a window opens.
class AppContext {
  public:
    virtual ~AppContext();

    // The program's Safe Harbor, with its memory of the last tested folder.
    virtual SafeHarbor& safeHarbor() = 0;
    // The test the removal windows start with: the Safe Harbor above.
    virtual SafeHarborCheck safeHarborCheck();
    // Every message box, question and file dialog; by default the installed seam.
    virtual Dialogs& dialogs();
    // The folder in which archives of removed files are made.
    virtual QByteArray archiveFolder() const;

    // The run-long windows, made once and hidden until wanted.
    virtual TfrmStandBy& standBy() = 0;
    virtual TFindDlg& findDialog() = 0;
    virtual TfrmDupCompare& dupCompare() = 0;
    virtual TfrmStatistics& statistics() = 0;

    // The window factory: each opens its window modally over `parent` and returns when it
    // closes. New feature windows get their method here.
    virtual void openViewer(QWidget* parent, const QByteArray& path) = 0;
    virtual void openDetails(QWidget* parent, const QByteArray& path) = 0;
    // The deletion review; true when a removal ran.
    virtual bool runReview(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                           qint64 savings) = 0;
    // The folder-tree removal; true when an operation ran.
    virtual bool runFolderRemoval(QWidget* parent, const QByteArray& folder) = 0;
    // The duplicate finder (true) or the file-hog finder (false); sets duplicateMode.
    virtual void runFinder(QWidget* parent, bool duplicates) = 0;
    // The folder browser at `folder` (empty: its own start), with `file` selected in its grid
    // and `pattern` as its mask (empty: all files).
    virtual void openBrowser(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                             const QString& pattern) = 0;
    // The launcher's other feature windows.
    virtual void runQuickClean(QWidget* parent) = 0;
    virtual void runFilesByDate(QWidget* parent) = 0;
    virtual void runFolderHogs(QWidget* parent) = 0;
    virtual void runCacheCleaner(QWidget* parent) = 0;
    virtual void runRestore(QWidget* parent) = 0;

    // Which finder the launcher opened last: it chooses the finder window's mode.
    bool duplicateMode = true;
};

}  // namespace vastel
