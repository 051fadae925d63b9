#pragma once

#include "app/ProgramContext.h"

#include <functional>

namespace vastel::test {

// The program's context for window tests: its own Safe Harbor and run-long windows and the
// real windows, unless a test intercepts one of them here.
class TestContext : public ProgramContext {
  public:
    std::function<void(QWidget* parent, const QByteArray& path)> viewer;
    std::function<void(QWidget* parent, const QByteArray& path)> details;
    std::function<bool(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                       qint64 savings)>
        review;
    std::function<void(QWidget* parent, bool duplicates)> finder;
    std::function<void(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                       const QString& pattern)>
        browser;

    void openViewer(QWidget* parent, const QByteArray& path) override;
    void openDetails(QWidget* parent, const QByteArray& path) override;
    bool runReview(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                   qint64 savings) override;
    void runFinder(QWidget* parent, bool duplicates) override;
    void openBrowser(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                     const QString& pattern) override;
};

}  // namespace vastel::test
