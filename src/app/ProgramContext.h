#pragma once

#include "protect/SafeHarbor.h"
#include "widgets/AppContext.h"

#include <memory>

namespace vastel {

// The program's context: it owns the Safe Harbor and the run-long windows (statistics, find,
// pair comparison, stand-by, made in that order and hidden) and opens the real windows.
class ProgramContext : public AppContext {
  public:
    ProgramContext();
    ~ProgramContext() override;

    SafeHarbor& safeHarbor() override { return harbor_; }

    TfrmStandBy& standBy() override { return *standBy_; }
    TFindDlg& findDialog() override { return *findDialog_; }
    TfrmDupCompare& dupCompare() override { return *dupCompare_; }
    TfrmStatistics& statistics() override { return *statistics_; }

    void openViewer(QWidget* parent, const QByteArray& path) override;
    void openDetails(QWidget* parent, const QByteArray& path) override;
    bool runReview(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                   qint64 savings) override;
    bool runFolderRemoval(QWidget* parent, const QByteArray& folder) override;
    void runFinder(QWidget* parent, bool duplicates) override;
    void openBrowser(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                     const QString& pattern) override;
    void runQuickClean(QWidget* parent) override;
    void runFilesByDate(QWidget* parent) override;
    void runFolderHogs(QWidget* parent) override;
    void runCacheCleaner(QWidget* parent) override;
    void runRestore(QWidget* parent) override;

  private:
    // Members go in reverse order: the windows before the Safe Harbor they use.
    SafeHarbor harbor_;
    std::unique_ptr<TfrmStatistics> statistics_;
    std::unique_ptr<TFindDlg> findDialog_;
    std::unique_ptr<TfrmDupCompare> dupCompare_;
    std::unique_ptr<TfrmStandBy> standBy_;
};

}  // namespace vastel
