#include "support/TestContext.h"

namespace vastel::test {

void TestContext::openViewer(QWidget* parent, const QByteArray& path) {
    if (viewer)
        viewer(parent, path);
    else
        ProgramContext::openViewer(parent, path);
}

void TestContext::openDetails(QWidget* parent, const QByteArray& path) {
    if (details)
        details(parent, path);
    else
        ProgramContext::openDetails(parent, path);
}

bool TestContext::runReview(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                            qint64 savings) {
    return review ? review(parent, paths, tag, savings)
                  : ProgramContext::runReview(parent, paths, tag, savings);
}

void TestContext::runFinder(QWidget* parent, bool duplicates) {
    if (finder)
        finder(parent, duplicates);
    else
        ProgramContext::runFinder(parent, duplicates);
}

void TestContext::openBrowser(QWidget* parent, const QByteArray& folder, const QByteArray& file,
                              const QString& pattern) {
    if (browser)
        browser(parent, folder, file, pattern);
    else
        ProgramContext::openBrowser(parent, folder, file, pattern);
}

}  // namespace vastel::test
