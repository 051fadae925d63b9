#include "app/ProgramContext.h"

#include "finders/TfrmCache.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "inspect/TFindDlg.h"
#include "inspect/TfrmDetails.h"
#include "inspect/TfrmView.h"
#include "removal/TfrmDelDirectory.h"
#include "removal/TfrmReallyDelete.h"
#include "stats/TfrmStatistics.h"
#include "widgets/TfrmStandBy.h"

namespace vastel {

ProgramContext::ProgramContext()
    : statistics_(std::make_unique<TfrmStatistics>()),
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
    (void)parent, (void)folder, (void)file, (void)pattern;
}

void ProgramContext::runQuickClean(QWidget* parent) { (void)parent; }

void ProgramContext::runFilesByDate(QWidget* parent) { (void)parent; }

void ProgramContext::runFolderHogs(QWidget* parent) { (void)parent; }

void ProgramContext::runCacheCleaner(QWidget* parent) {
    TfrmCache window(*this, parent);
    window.exec();
}

void ProgramContext::runRestore(QWidget* parent) { (void)parent; }

}  // namespace vastel
