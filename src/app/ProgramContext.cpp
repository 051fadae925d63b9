#include "app/ProgramContext.h"

#include "finders/TfrmBrowse.h"
#include "finders/TfrmCache.h"
#include "finders/TfrmClean.h"
#include "finders/TfrmDirHog.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "finders/TfrmMods.h"
#include "inspect/TFindDlg.h"
#include "inspect/TfrmDetails.h"
#include "inspect/TfrmView.h"
#include "removal/TfrmDelDirectory.h"
#include "removal/TfrmReallyDelete.h"
#include "restore/TfrmUnZipIt.h"
#include "stats/TfrmStatistics.h"
#include "widgets/TfrmStandBy.h"

namespace vastel {

ProgramContext::ProgramContext()
    : statistics_(std::make_unique<TfrmStatistics>(*this)),
      findDialog_(std::make_unique<TFindDlg>()),
      dupCompare_(std::make_unique<TfrmDupCompare>()),
      standBy_(std::make_unique<TfrmStandBy>(*this)) {}

ProgramContext::~ProgramContext() = default;

void ProgramContext::openViewer(QWidget* parent, const QByteArray& path) {
    TfrmView view(*this, parent);
    view.viewFile = path;
    view.exec();
}

void ProgramContext::openDetails(QWidget* parent, const QByteArray& path) {
    TfrmDetails details(*this, parent);
    details.detailsFile = path;
    details.exec();
}

bool ProgramContext::runReview(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                               qint64 savings) {
    TfrmReallyDelete review(*this, parent);
    review.lb1->setPaths(paths);
    review.archiveTag = tag;
    review.potentialSavings = double(savings);
    return review.exec() == QDialog::Accepted;
}

bool ProgramContext::runFolderRemoval(QWidget* parent, const QByteArray& folder) {
    TfrmDelDirectory window(*this, parent);
    window.setFolder(folder);
    return window.exec() == QDialog::Accepted;
}

void ProgramContext::runFinder(QWidget* parent, bool duplicates) {
    duplicateMode = duplicates;
    TfrmDup finder(*this, parent);
    finder.exec();
}

void ProgramContext::openBrowser(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                                 const QString& pattern) {
    TfrmBrowse browser(*this, parent);
    browser.setStart(folder, file, pattern);
    browser.exec();
}

void ProgramContext::runQuickClean(QWidget* parent) {
    TfrmClean window(*this, parent);
    window.exec();
}

void ProgramContext::runFilesByDate(QWidget* parent) {
    TfrmMods window(*this, parent);
    window.exec();
}

void ProgramContext::runFolderHogs(QWidget* parent) {
    TfrmDirHog window(*this, parent);
    // The row is marked "RECYCLED" or "DELETED" by what the removal window did.
    window.removeFolder = [this](QWidget* owner, const QByteArray& folder) {
        TfrmDelDirectory removal(*this, owner);
        removal.setFolder(folder);
        if (removal.exec() != QDialog::Accepted) return TfrmDirHog::Removal::None;
        return removal.recycleMode ? TfrmDirHog::Removal::Recycled : TfrmDirHog::Removal::Deleted;
    };
    window.exec();
}

void ProgramContext::runCacheCleaner(QWidget* parent) {
    TfrmCache window(*this, parent);
    window.exec();
}

void ProgramContext::runRestore(QWidget* parent) {
    TfrmUnZipIt window(*this, parent);
    window.exec();
}

}  // namespace vastel
