// The pair comparison window over a duplicate scan: sides, highlights, checksums, stepping,
// marking, and the row actions.
#include "../inspect/PeFixture.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/FileChecksum.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "platform/ScriptedDialogs.h"
#include "results/PrintIt.h"
#include "results/ResultList.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

constexpr time_t kOlder = 1'600'000'000;
constexpr time_t kNewer = 1'650'000'000;

bool highlighted(const QLabel* label) {
    return label->palette().color(QPalette::Window) == QPalette().color(QPalette::Highlight);
}

QByteArray program(const QString& version) {
    vastel::test::PeFixture pe;
    pe.strings = {{QStringLiteral("CompanyName"), QStringLiteral("Example Works")},
                  {QStringLiteral("FileVersion"), version}};
    return pe.build();
}

}  // namespace

class DupCompareTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;
    std::unique_ptr<TfrmDup> finder;
    TfrmDupCompare* pairs = nullptr;

    // The finder after a duplicate scan of the fixture, every size, by file name unless told.
    std::unique_ptr<TfrmDup> scanned(int mode = 0) {
        writeExtraFolders({tree->root()});
        context->duplicateMode = true;
        auto w = std::make_unique<TfrmDup>(*context);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        for (int i = 0; i < w->pckDrive->count(); ++i) {
            QListWidgetItem* item = w->pckDrive->item(i);
            item->setCheckState(driveListTarget(item).root == tree->root() ? Qt::Checked
                                                                           : Qt::Unchecked);
        }
        w->num1->setValue(0);
        w->cbDup->setCurrentIndex(mode);
        w->btScanClick();
        return w;
    }
    void openPairsAt(int row) {
        finder->grid->setCurrentIndex(finder->model->index(row, 0));
        finder->btCompare->click();
    }
    QString name(int side) const {
        return (side == 1 ? pairs->side1 : pairs->side2).GroupBox->title();
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = new TempTree;
        const QByteArray a(2048, 'a'), b(2048, 'b');
        // Sorted by name: diff, prog.exe, same, size, swap.
        tree->createFileWith("a/diff.bin", a + a, kOlder, kOlder);
        tree->createFileWith("b/diff.bin", a + b, kNewer, kNewer);
        tree->createFileWith("a/same.bin", a + b + "end", kOlder, kOlder);
        tree->createFileWith("b/same.bin", a + b + "end", kOlder, kOlder);
        tree->createFileWith("a/size.bin", a, kOlder, kOlder);
        tree->createFileWith("b/size.bin", a + b, kOlder, kOlder);
        tree->createFileWith("a/swap.bin", a + b, kOlder, kOlder);
        tree->createFileWith("b/swap.bin", b + a, kOlder, kOlder);
        tree->createFileWith("a/prog.exe", program(QStringLiteral("1.0.0.1")), kOlder, kOlder);
        tree->createFileWith("b/prog.exe", program(QStringLiteral("2.5.0.0")), kOlder, kOlder);
        finder = scanned();
        QVERIFY(finder);
        QCOMPARE(finder->model->rowCount(), 10);
        pairs = &context->dupCompare();
    }
    void cleanupTestCase() {
        finder.reset();
        delete tree;
        english.reset();
        context.reset();
        delete script;
    }
    void init() {
        script->clear();
        pairs->cbCRC->setChecked(false);
    }

    void pairsButtonOpensTheWindowOnTheCurrentRow() {
        QVERIFY(finder->btCompare->isVisible());
        openPairsAt(0);
        QVERIFY(pairs->isVisible());
        QVERIFY(!pairs->isModal());
        QCOMPARE(pairs->windowTitle(), QStringLiteral("Compare file pairs"));
        QCOMPARE(pairs->currentRow(), 0);
        QCOMPARE(name(1), QStringLiteral("diff.bin"));
        QCOMPARE(name(2), QStringLiteral("diff.bin"));
        QCOMPARE(pairs->side1.lblFolder->text() + QStringLiteral("/diff.bin"),
                 QFile::decodeName(pairs->side1.path));
        QCOMPARE(pairs->side1.lblSizeBytes->text(), QStringLiteral("4,096 bytes"));
        QVERIFY(!highlighted(pairs->side1.lblSizeBytes));
        QVERIFY(highlighted(pairs->side1.lblModify) && highlighted(pairs->side2.lblModify));
        QVERIFY(pairs->imgModify->isVisible() && pairs->imgAccess->isVisible());
        QCOMPARE(pairs->side1.tlBox->item(0)->text(), QStringLiteral("Extended profile absent"));
        QVERIFY(pairs->side1.tlBox->isHidden());
        QVERIFY(pairs->side1.lblCRC->text().isEmpty());
        // On the last row the pair is the last two.
        pairs->hide();
        openPairsAt(9);
        QCOMPARE(pairs->currentRow(), 8);
    }

    void checksumsTellIdenticalFromDiffering_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("sameSums");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("differing") << 0 << "diff.bin" << false << " file contents differ";
        QTest::newRow("identical") << 4 << "same.bin" << true << " file contents are identical";
        // Blocks in another order sum to the same checksum; the bytes still differ.
        QTest::newRow("reordered blocks") << 8 << "swap.bin" << true << " file contents differ";
    }
    void checksumsTellIdenticalFromDiffering() {
        QFETCH(int, row);
        QFETCH(QString, file);
        QFETCH(bool, sameSums);
        QFETCH(QString, verdict);
        openPairsAt(row);
        QCOMPARE(name(1), file);
        QTest::mouseClick(pairs->btCompute, Qt::LeftButton);
        const QString left = pairs->side1.lblCRC->text(), right = pairs->side2.lblCRC->text();
        QVERIFY2(left.endsWith(verdict), qPrintable(left));
        QVERIFY2(right.endsWith(verdict), qPrintable(right));
        QCOMPARE(left.size(), 8 + verdict.size());
        QCOMPARE(left == right, sameSums);
        QCOMPARE(highlighted(pairs->side1.lblCRC), !sameSums);
    }

    void nextAndPreviousStepByTheMatchRule() {
        openPairsAt(0);
        const QList<int> forward = {2, 4, 6, 8, 8};  // nothing after the last pair
        for (int expected : forward) {
            QTest::keyRelease(pairs->cbCRC, Qt::Key_PageDown);
            QCOMPARE(pairs->currentRow(), expected);
            QCOMPARE(finder->resultList->currentRow(), expected);
            QCOMPARE(name(1), name(2));
        }
        for (int expected : {6, 4, 2, 0, 0}) {
            pairs->sbL1->click();
            QCOMPARE(pairs->currentRow(), expected);
        }
        QTest::keyRelease(pairs->btCompute, Qt::Key_PageDown);
        QCOMPARE(pairs->currentRow(), 2);
        QTest::keyRelease(pairs->btCompute, Qt::Key_PageUp);
        QCOMPARE(pairs->currentRow(), 0);
    }

    void autoCompareOnlyWhenSizesAgree() {
        openPairsAt(0);
        pairs->cbCRC->setChecked(true);
        pairs->sbR1->click();  // prog.exe: equal sizes
        QVERIFY(pairs->side1.lblCRC->text().endsWith(QStringLiteral(" file contents differ")));
        pairs->sbR1->click();
        pairs->sbR1->click();  // size.bin: 2,048 and 4,096 bytes
        QCOMPARE(name(1), QStringLiteral("size.bin"));
        QVERIFY(pairs->side1.lblCRC->text().isEmpty());
        QVERIFY(pairs->side2.lblCRC->text().isEmpty());
        QVERIFY(highlighted(pairs->side1.lblSizeBytes));
    }

    // Identical content: the scan compared every byte of a group, so a pair of one group is
    // identical without reading the files again; a pair across two groups is compared.
    void contentGroupsNeedNoSecondReading() {
        pairs->hide();
        auto content = scanned(7);
        QVERIFY(content);
        // diff.bin (b), size.bin (b) and swap.bin (a) hold the same 4,096 bytes; same.bin twice.
        QCOMPARE(content->model->rowCount(), 5);
        int reads = 0;
        const auto restore = qScopeGuard([this] { pairs->readPair = comparePair; });
        pairs->readPair = [&](const QByteArray& l, const QByteArray& r, const StopToken* stop) {
            ++reads;
            return comparePair(l, r, stop);
        };
        pairs->cbCRC->setChecked(true);
        content->grid->setCurrentIndex(content->model->index(0, 0));
        content->btCompare->click();
        const QString identical = QStringLiteral("file contents are identical");
        // Next steps through the group of three one row at a time, then to the next group.
        for (int expected : {0, 1, 3, 3}) {
            if (expected != 0) pairs->sbR1->click();
            QCOMPARE(pairs->currentRow(), expected);
            QCOMPARE(content->resultList->currentRow(), expected);
            QTest::mouseClick(pairs->btCompute, Qt::LeftButton);
            QCOMPARE(pairs->side1.lblCRC->text(), identical);
            QCOMPARE(pairs->side2.lblCRC->text(), identical);
            QVERIFY(!highlighted(pairs->side1.lblCRC));
        }
        QCOMPARE(name(1), QStringLiteral("same.bin"));
        for (int expected : {1, 0, 0}) {
            QTest::keyRelease(pairs->btCompute, Qt::Key_PageUp);
            QCOMPARE(pairs->currentRow(), expected);
            QCOMPARE(pairs->side2.lblCRC->text(), identical);
        }
        QCOMPARE(reads, 0);

        // Opened on the last row of the first group: its neighbour is of the other group.
        pairs->hide();
        pairs->cbCRC->setChecked(false);
        content->grid->setCurrentIndex(content->model->index(2, 0));
        content->btCompare->click();
        QCOMPARE(pairs->currentRow(), 2);
        QVERIFY(pairs->side1.lblCRC->text().isEmpty());
        QTest::mouseClick(pairs->btCompute, Qt::LeftButton);
        QCOMPARE(reads, 1);
        QVERIFY(pairs->side1.lblCRC->text().endsWith(QStringLiteral(" file contents differ")));
        content.reset();
    }

    void versionListsOfProgramFiles() {
        openPairsAt(2);
        QCOMPARE(name(1), QStringLiteral("prog.exe"));
        QVERIFY(pairs->side1.tlBox->isVisible() && pairs->side2.tlBox->isVisible());
        QListWidget* list = pairs->side1.tlBox;
        int differing = 0;
        for (int i = 0; i < list->count(); ++i) {
            const bool aqua = list->item(i)->background().color() == QColor(0, 255, 255);
            QCOMPARE(aqua, list->item(i)->text() != pairs->side2.tlBox->item(i)->text());
            differing += aqua;
        }
        QVERIFY(differing >= 1);  // the file version
        pairs->sbR1->click();
        QVERIFY(pairs->side1.tlBox->isHidden());
    }

    void markTogglesEitherFileInTheFinder() {
        openPairsAt(4);
        finder->resultList->Unmarkall1Click();
        pairs->side1.btMark->click();
        QCOMPARE(finder->resultList->markedCount(), 1);
        QCOMPARE(finder->resultList->lbDeleted(), QList<QByteArray>{pairs->side1.path});
        pairs->side1.btMark->click();
        QCOMPARE(finder->resultList->markedCount(), 0);
        pairs->side2.btMark->click();
        QCOMPARE(finder->resultList->lbDeleted(), QList<QByteArray>{finder->model->path(5)});
        finder->resultList->Unmarkall1Click();
    }

    void viewAndBrowseTheSideFile() {
        openPairsAt(6);
        QByteArray viewed, folder, file;
        QString pattern = QStringLiteral("unset");
        context->viewer = [&](QWidget*, const QByteArray& p) { viewed = p; };
        context->browser = [&](QWidget*, const QByteArray& d, const QByteArray& f,
                               const QString& m) {
            folder = d;
            file = f;
            pattern = m;
        };
        pairs->side2.btView->click();
        QCOMPARE(viewed, finder->model->path(7));
        pairs->side1.btBrowse->click();
        QCOMPARE(folder + '/' + file, finder->model->path(6));
        QCOMPARE(file, QByteArray("size.bin"));
        QVERIFY(pattern.isEmpty());
        context->viewer = nullptr;
        context->browser = nullptr;
    }

    void printsTheWindowAndKeepsItsHighlights() {
        openPairsAt(0);
        const QString pdf = QDir(QDir::tempPath()).filePath(QStringLiteral("pairs.pdf"));
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        script->answerPrint(false);
        pairs->btPrint->click();
        QVERIFY(!QFile::exists(pdf));
        script->answerPrint(true);
        pairs->btPrint->click();
        QVERIFY(QFileInfo(pdf).size() > 1000);
        QVERIFY(highlighted(pairs->side1.lblModify));
        QVERIFY(!highlighted(pairs->side1.lblSizeBytes));
        QCOMPARE(pairs->palette().color(QPalette::Window), QPalette().color(QPalette::Window));
    }

    // The finder is modal; its pair window must still take the user's clicks.
    void worksBesideTheModalFinder() {
        pairs->hide();
        finder->hide();
        int before = -1, after = -1;
        QTimer::singleShot(0, [&] {
            openPairsAt(0);
            before = pairs->currentRow();
            QVERIFY(QTest::qWaitForWindowExposed(pairs));
            const QPoint at = pairs->sbR1->mapTo(pairs, pairs->sbR1->rect().center());
            QTest::mouseClick(pairs->windowHandle(), Qt::LeftButton, {}, at);
            after = pairs->currentRow();
            QTest::keyClick(pairs, Qt::Key_Escape);
            finder->reject();
        });
        finder->exec();
        QCOMPARE(before, 0);
        QCOMPARE(after, 2);
        QVERIFY(!pairs->isVisible());
    }

    void hiddenAndKeptWhenTheFinderGoes() {
        openPairsAt(0);
        QVERIFY(pairs->isVisible());
        finder.reset();
        QVERIFY(!pairs->isVisible());
        QVERIFY(!pairs->parentWidget());  // the program's, not the finder's
        QCOMPARE(&context->dupCompare(), pairs);
    }
};

VASTEL_QTEST_MAIN(DupCompareTest)
#include "DupCompareTest.moc"
