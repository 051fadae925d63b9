// Not a test: shows the restore window with an archive on view ("window") or its destination
// dialog ("destination"), to look at them under Xvfb.
//   restore_showcase window|destination ARCHIVE_FOLDER ARCHIVE_NAME
#include "platform/Dialogs.h"
#include "restore/TfrmUnZipIt.h"
#include "restore/TfrmZipDirectory.h"
#include "support/TestContext.h"
#include "widgets/WidgetDialogs.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace vastel;

namespace {
class ShowcaseContext : public test::TestContext {
  public:
    QByteArray folder;
    QByteArray archiveFolder() const override { return folder; }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) return 2;
    WidgetDialogs boxes;
    setDialogs(&boxes);
    ShowcaseContext context;
    context.folder = argv[2];
    TfrmUnZipIt window(context);
    window.show();
    const QList<QListWidgetItem*> found =
        window.FileListBox1->findItems(QString::fromLocal8Bit(argv[3]), Qt::MatchExactly);
    if (!found.isEmpty()) {
        window.FileListBox1->setCurrentItem(found.first());
        window.FileListBox1Click();
        window.FileListBox1DblClick();
    }
    if (QByteArray(argv[1]) == "destination")
        QTimer::singleShot(300, &window, [&] { window.btExtract->click(); });
    return app.exec();
}
