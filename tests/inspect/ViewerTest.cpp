#include "results/PrintIt.h"
#include "results/TextDevice.h"
#include "core/WindowPlacement.h"
#include "inspect/ui/FileViewer.h"
#include "inspect/TFindDlg.h"
#include "inspect/TfrmView.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <fcntl.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Records the lines that reach it.
class RecordingDevice : public TextDevice {
  public:
    bool open(const QFont& f, const QString&) override {
        font = f;
        return true;
    }
    bool writeLine(const QString& text) override {
        lines << text;
        return lines.size() != failAtLine;
    }
    bool close() override { return true; }
    QFont font;
    QStringList lines;
    int failAtLine = -1;
};

// Runs `action` on the next modal window as soon as it is up.
void onNextModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            onNextModal(action);
            return;
        }
        action(modal);
    });
}

// A sparse file: large on the file system, no blocks on disk.
QByteArray sparseFile(const QByteArray& path, qint64 size, const QByteArray& tail) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return QByteArray();
    const bool ok =
        ::ftruncate(fd, size) == 0 &&
        ::pwrite(fd, tail.constData(), size_t(tail.size()), size - tail.size()) == tail.size();
    ::close(fd);
    return ok ? path : QByteArray();
}

}  // namespace

// The viewer window and its control as the user meets them.
class ViewerTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    std::unique_ptr<ScriptedDialogs> script;
    std::unique_ptr<test::TestContext> context;
    QByteArray threeLines;

    std::unique_ptr<TfrmView> open(const QByteArray& path, bool waitForCount = true) {
        auto view = std::make_unique<TfrmView>(*context);
        view->viewFile = path;
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get())) return nullptr;
        if (waitForCount) {
            QElapsedTimer t;
            t.start();
            while (!view->Viewer1->lineCount() && t.elapsed() < 10000) QTest::qWait(5);
            QCoreApplication::processEvents();
        }
        return view;
    }
    static QStringList headers(const TfrmView& view) {
        QStringList out;
        for (int i = 0; i < 5; ++i) out << view.headerText(i);
        return out;
    }

  private Q_SLOTS:
    void initTestCase() {
        tree = std::make_unique<TempTree>();
        script = std::make_unique<ScriptedDialogs>();
        context = std::make_unique<test::TestContext>();
        threeLines = tree->createFileWith("three.txt", "first line\nsecond\tline\nthird\n");
    }
    void cleanupTestCase() {
        context.reset();
        script.reset();
        tree.reset();
    }
    void init() { script->clear(); }

    void showsTheFileWithItsStatus() {
        TfrmView fresh(*context);
        QCOMPARE(fresh.windowTitle(), QStringLiteral("View file"));
        auto view = open(threeLines);
        QVERIFY(view);
        QCOMPARE(view->windowTitle(),
                 QStringLiteral("View File : ") + QString::fromUtf8(threeLines));
        QCOMPARE(headers(*view),
                 (QStringList{"1:1     ", "Total: 3", "Top: 1    ", "Bytes: 29", ""}));
        QCOMPARE(view->Viewer1->lineText(0), QStringLiteral("first line"));
        QVERIFY(view->Find1->isEnabled());
        QVERIFY(view->GotoLine1->isEnabled());
        QVERIFY(view->SelectAll1->isEnabled());
        QVERIFY(!view->Copy1->isEnabled());
        QVERIFY(view->TabExpansion1->isChecked());
        QVERIFY(view->rbAscii->isChecked());
        QCOMPARE(view->btStrings->toolTip(), QStringLiteral("Peek inside file for ASCII strings"));

        // The caret moves and the status follows.
        QTest::keyClick(view->Viewer1, Qt::Key_Down);
        QTest::keyClick(view->Viewer1, Qt::Key_End);
        QCOMPARE(view->headerText(0), QStringLiteral("2:13    "));
        QTest::keyClick(view->Viewer1, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view->headerText(0), QStringLiteral("3:6     "));
    }

    void emptyAndUnreadableFilesOfferNothing() {
        const QByteArray empty = tree->createFileWith("empty.txt", "");
        for (const QByteArray& path : {empty, tree->path("missing.txt")}) {
            auto view = open(path);
            QVERIFY(view);
            QCOMPARE(view->headerText(1), QStringLiteral("Total: 0"));
            QCOMPARE(view->headerText(3), QStringLiteral("Bytes: 0"));
            view->File1Click();
            view->Search1Click();
            QVERIFY(!view->Print1->isEnabled());
            QVERIFY(!view->Find1->isEnabled());
            QVERIFY(!view->GotoLine1->isEnabled());
            QVERIFY(!view->FindNext1->isEnabled());
            QVERIFY(!view->SelectAll1->isEnabled());
        }
        auto missing = open(tree->path("missing.txt"));
        QVERIFY(!missing->Viewer1->isActive());
        QVERIFY(missing->Viewer1->errorText().contains(QStringLiteral("missing.txt")));
    }

    void goToLine() {
        auto view = open(threeLines);
        script->answerText(QStringLiteral("3"));
        view->GotoLine1Click();
        QCOMPARE(script->records().last().caption, QStringLiteral("Go to line number"));
        QCOMPARE(script->records().last().text, QStringLiteral("Enter line number (1 to 3)"));
        QCOMPARE(view->Viewer1->caretLine(), 2);
        QCOMPARE(view->headerText(0), QStringLiteral("3:1     "));
        // Entries that are not whole numbers, and Cancel, leave the caret.
        for (const std::optional<QString>& entry :
             {std::optional<QString>("two"), std::optional<QString>("1.5"),
              std::optional<QString>()}) {
            script->answerText(entry);
            view->GotoLine1Click();
            QCOMPARE(view->Viewer1->caretLine(), 2);
        }
        // Numbers outside the file land on its first or last line.
        script->answerText(QStringLiteral("1"));
        view->GotoLine1Click();
        QCOMPARE(view->Viewer1->caretLine(), 0);
        script->answerText(QStringLiteral("99"));
        view->GotoLine1Click();
        QCOMPARE(view->Viewer1->caretLine(), 2);
    }

    void tabOptions() {
        auto view = open(threeLines);
        const qint64 second = view->Viewer1->nextLineStart(0);
        QCOMPARE(view->Viewer1->lineText(second), QStringLiteral("second  line"));
        script->answerText(QStringLiteral("4"));
        view->TabSize1Click();
        QCOMPARE(script->records().last().caption, QStringLiteral("Tab Size"));
        QCOMPARE(script->records().last().text, QStringLiteral("Enter tab size"));
        QCOMPARE(view->Viewer1->tabSize(), 4);
        QCOMPARE(view->Viewer1->lineText(second), QStringLiteral("second  line"));
        script->answerText(QStringLiteral("3"));
        view->TabSize1Click();
        QCOMPARE(view->Viewer1->lineText(second), QStringLiteral("second   line"));
        for (const char* ignored : {"256", "-1", "x", ""}) {
            script->answerText(QString::fromLatin1(ignored));
            view->TabSize1Click();
            QCOMPARE(view->Viewer1->tabSize(), 3);
        }
        view->TabExpansion1->trigger();
        QVERIFY(!view->Viewer1->tabExpansion());
        QCOMPARE(view->Viewer1->lineText(second), QString::fromUtf8("second»line"));
    }

    void findAndFindNext() {
        const QByteArray path =
            tree->createFileWith("find.txt", "alpha beta\ngamma BETA\nbeta end\n");
        auto view = open(path);
        const auto find = [&](const QString& text, bool backward, bool matchCase, bool global) {
            onNextModal([=](QWidget* modal) {
                auto* dialog = qobject_cast<TFindDlg*>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
                dialog->Edit1->setText(text);
                (backward ? dialog->RadioButton2 : dialog->RadioButton1)->setChecked(true);
                dialog->CheckBox1->setChecked(matchCase);
                dialog->CheckBox2->setChecked(global);
                dialog->OKBtn->click();
            });
            view->Find1Click();
        };
        const auto selected = [&] { return view->Viewer1->selectedText(1 << 20).value_or("?"); };

        find("beta", false, false, false);
        QCOMPARE(selected(), QStringLiteral("beta"));
        QCOMPARE(view->headerText(0), QStringLiteral("1:11    "));
        view->Search1Click();
        QVERIFY(view->FindNext1->isEnabled());
        view->FindNext1Click();
        QCOMPARE(selected(), QStringLiteral("BETA"));
        view->FindNext1Click();
        QCOMPARE(view->Viewer1->caretLine(), 2);
        view->FindNext1Click();
        QCOMPARE(script->messages(), QStringList{"Search string 'beta' not found"});
        QCOMPARE(view->Viewer1->caretLine(), 2);  // the caret stays

        // Match case skips "BETA"; backward goes up from the selection.
        find("beta", true, true, false);
        QCOMPARE(view->Viewer1->caretLine(), 0);
        // Global search starts from the end (backward) whatever the caret.
        find("BETA", true, true, true);
        QCOMPARE(view->Viewer1->caretLine(), 1);
        QCOMPARE(selected(), QStringLiteral("BETA"));
        // Find next never searches globally: above this "BETA" there is no other.
        script->clear();
        view->FindNext1Click();
        QCOMPARE(script->messages(), QStringList{"Search string 'BETA' not found"});
        QCOMPARE(view->Viewer1->caretLine(), 1);
    }

    void findNextNeedsAText() {
        auto view = open(threeLines);
        view->Search1Click();
        context->findDialog().Edit1->clear();
        view->Search1Click();
        QVERIFY(!view->FindNext1->isEnabled());
        view->FindNext1Click();
        QVERIFY(script->messages().isEmpty());
    }

    void hexMode() {
        auto view = open(threeLines);
        view->HexMode1->trigger();
        QVERIFY(view->Viewer1->hexMode());
        QVERIFY(view->rbHex->isChecked());
        QVERIFY(!view->rbAscii->isChecked());
        QCOMPARE(view->headerText(1), QStringLiteral("Total: 2"));
        QVERIFY(view->Viewer1->lineText(0).startsWith(QStringLiteral("00000000  66 69 72 73")));
        QVERIFY(view->Viewer1->lineText(0).endsWith(QStringLiteral("first line.secon")));
        view->rbAscii->click();
        QVERIFY(!view->Viewer1->hexMode());
        QVERIFY(!view->HexMode1->isChecked());
        view->rbHex->click();
        QVERIFY(view->Viewer1->hexMode());
        QVERIFY(view->HexMode1->isChecked());
        view->HexMode1->trigger();
        QVERIFY(!view->Viewer1->hexMode());
        QVERIFY(view->rbAscii->isChecked());
    }

    void selectAllAndCopy() {
        auto view = open(threeLines);
        view->SelectAll1->trigger();
        view->Clipboard1Click();
        QVERIFY(view->Copy1->isEnabled());
        view->Copy1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("first line\nsecond  line\nthird"));
    }

    void printsTheLinesOrTheSelection() {
        const QByteArray path =
            tree->createFileWith("print.txt", "line one\nline two here\nline three\nline four\n");
        auto view = open(path);
        RecordingDevice all;
        QVERIFY(view->printTo(all, false));
        QCOMPARE(all.lines, (QStringList{"line one", "line two here", "line three", "line four"}));
        QCOMPARE(all.font, view->Viewer1->font());

        // From line 2, column 4 to line 3, column 2.
        view->Viewer1->setCaretPosition(1, 4);
        QTest::keyClick(view->Viewer1, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view->Viewer1, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(view->Viewer1, Qt::Key_Left, Qt::ShiftModifier);
        RecordingDevice selection;
        QVERIFY(view->printTo(selection, true));
        QCOMPARE(selection.lines, (QStringList{"     two here", "li"}));

        // A line that cannot be written ends the printing with the message.
        RecordingDevice failing;
        failing.failAtLine = 2;
        QVERIFY(!view->printTo(failing, false));
        QCOMPARE(failing.lines.size(), 2);
        QCOMPARE(script->messages(), QStringList{"Error printing report ... quitting"});
    }

    void printsToThePrinterChosenInTheDialog() {
        const QByteArray path =
            tree->createFileWith("pdf.txt", "Printed viewer line\nsecond one\n");
        auto view = open(path);
        const QString pdf = QDir::tempPath() + QStringLiteral("/viewer.pdf");
        QPrinter& printer = currentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);

        printer.setPrintRange(QPrinter::PageRange);  // pages: nothing is printed
        script->answerPrint(true);
        view->Print1Click();
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(!script->records().last().allowSelection);  // nothing selected, nothing offered

        script->answerPrint(false);  // cancelled
        printer.setPrintRange(QPrinter::AllPages);
        view->BitBtn1->click();
        QVERIFY(!QFileInfo::exists(pdf));

        script->answerPrint(true);
        view->Print1Click();
        QVERIFY(QFileInfo::exists(pdf));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("Printed viewer line\nsecond one")),
                 qPrintable(printed));
        QFile::remove(pdf);

        // With a selection the dialog offers to print just that.
        view->Viewer1->selectAll();
        script->answerPrint(false);
        view->Print1Click();
        QVERIFY(script->records().last().allowSelection);

        // The setup dialog works on the same printer.
        view->btPrint->click();
        QCOMPARE(script->records().last().kind, ScriptedDialogs::Kind::PrinterSetup);
    }

    void peekAtStrings() {
        const QByteArray path =
            tree->createFileWith("strings.bin", QByteArray("Hello world!\0abcde\0abcdef\0", 26));
        auto view = open(path);
        QByteArray shown;
        QStringList lines;
        bool hidden = false;
        onNextModal([&](QWidget* modal) {
            auto* strings = qobject_cast<TfrmView*>(modal);
            QVERIFY(strings);
            shown = strings->viewFile;
            hidden = strings->btStrings->isHidden() && strings->rbAscii->isHidden() &&
                     strings->rbHex->isHidden() && !strings->HexMode1->isVisible();
            for (qint64 s = 0; s < strings->Viewer1->fileSize();
                 s = strings->Viewer1->nextLineStart(s))
                lines << strings->Viewer1->lineText(s);
            strings->reject();
        });
        view->btStrings->click();
        QVERIFY(QFileInfo(QString::fromUtf8(shown)).fileName().startsWith(QStringLiteral("str")));
        QCOMPARE(QFileInfo(QString::fromUtf8(shown)).absolutePath(), QDir::tempPath());
        QVERIFY(hidden);
        QCOMPARE(lines, (QStringList{"Hello world", "abcdef"}));
        QVERIFY(!QFileInfo::exists(QString::fromUtf8(shown)));  // gone after the showing

        // A file that cannot be read: the error box, then an empty strings viewer.
        view->viewFile = tree->path("vanished.bin");
        qint64 size = -1;
        onNextModal([&](QWidget* modal) {
            size = qobject_cast<TfrmView*>(modal)->Viewer1->fileSize();
            modal->close();
        });
        view->btStrings->click();
        QCOMPARE(size, 0);
        QCOMPARE(script->messages().size(), 1);
        QVERIFY(script->messages().first().startsWith(QStringLiteral("Could not open file ")));
    }

    void otherFilesByDropAndByOpenDialog() {
        auto view = open(threeLines);
        const QString caption = view->windowTitle();
        // A dropped name that is not UTF-8 arrives whole and exact.
        const QByteArray dropped = tree->createFileWith("caf\xe9 dropped.txt", "dropped\n");
        QMimeData data;
        data.setUrls({QUrl::fromEncoded("file://" + dropped.toPercentEncoding("/"))});
        // The drag enters first; the drop goes where the entering drag was accepted.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(view->Viewer1->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->Viewer1->viewport(), &drop);
        QCOMPARE(view->Viewer1->fileName(), dropped);
        QCOMPARE(view->Viewer1->lineText(0), QStringLiteral("dropped"));
        QCOMPARE(view->windowTitle(), caption);

        const QByteArray other = tree->createFileWith("other.txt", "other file\n");
        script->answerText(QString::fromUtf8(other));
        view->Open1->trigger();
        QCOMPARE(view->Viewer1->lineText(0), QStringLiteral("other file"));
        QCOMPARE(view->windowTitle(), QStringLiteral("View File : ") + QString::fromUtf8(other));
        QCOMPARE(view->viewFile, threeLines);  // the window's own file stays
        script->answerText(std::nullopt);
        view->Open1->trigger();
        QCOMPARE(view->Viewer1->fileName(), other);
    }

    void fontDialogOffersFixedPitchFonts() {
        auto view = open(threeLines);
        QCOMPARE(view->Viewer1->font().pointSize(), 8);
        QFont chosen(QStringLiteral("DejaVu Sans Mono"), 12);
        script->answerFont(chosen.toString());
        view->btFont->click();
        QCOMPARE(script->records().last().kind, ScriptedDialogs::Kind::Font);
        QCOMPARE(view->Viewer1->font().pointSize(), 12);
    }

    void placementIsKeptBetweenShowings() {
        QRect placed;
        {
            auto view = open(threeLines, false);
            view->setGeometry(100, 120, 640, 420);
            QCoreApplication::processEvents();
            placed = view->geometry();
        }
        const std::optional<WindowPlacement> saved =
            readPlacement("vastel.ini", programSectionName(), "frmView");
        QVERIFY(saved);
        QCOMPARE(saved->normalRect(), placed);
        auto again = open(threeLines, false);
        QCOMPARE(again->geometry().size(), placed.size());
    }

    void scrollingAndJumpingByLines() {
        QByteArray text;
        for (int i = 1; i <= 10000; ++i) text += "line " + QByteArray::number(i) + '\n';
        auto view = open(tree->createFileWith("many.txt", text));
        FileViewer* v = view->Viewer1;
        QCOMPARE(v->lineCount(), 10000);
        QTest::keyClick(v, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(v->caretLine(), 9999);
        QVERIFY(v->topLine() > 9000);
        QCOMPARE(v->lineText(v->topLineStart()), QStringLiteral("line %1").arg(*v->topLine() + 1));
        v->verticalScrollBar()->setValue(5000);
        QCOMPARE(v->topLine(), 5000);
        QCOMPARE(view->headerText(2), QStringLiteral("Top: 5001 "));
        QCOMPARE(v->lineText(v->topLineStart()), QStringLiteral("line 5001"));
        v->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(v->topLine(), 5001);
        QTest::keyClick(v, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(v->topLine(), 0);
        QCOMPARE(v->caretLine(), 0);
        QTest::keyClick(v, Qt::Key_PageDown);
        QVERIFY(*v->caretLine() > 5);
    }

    void hugeFilesOpenAtOnceAndCountLater() {
        // 64 GiB, sparse: all of it reads as zero bytes but for a line at the end. Counting it
        // takes far longer than this test.
        const qint64 size = qint64(64) << 30;
        const QByteArray path = sparseFile(tree->path("huge.bin"), size, "\nthe end\n");
        QVERIFY(!path.isEmpty());
        QElapsedTimer shown;
        shown.start();
        auto view = open(path, false);
        QVERIFY(view);
        QVERIFY(shown.elapsed() < 5000);
        FileViewer* v = view->Viewer1;
        QCOMPARE(view->headerText(1), QStringLiteral("Total: ?"));
        QCOMPARE(view->headerText(3), QStringLiteral("Bytes: 68,719,476,736"));
        QCOMPARE(v->lineText(0), QString(1024, QChar(0x00B7)));

        // The end, at once: no line number yet, but the last line and its text.
        QTest::keyClick(v, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(v->lineText(v->caret().lineStart), QStringLiteral("the end"));
        QCOMPARE(view->headerText(0), QStringLiteral("?:8     "));
        QCOMPARE(view->headerText(2), QStringLiteral("Top: ?    "));
        QVERIFY(v->topLineStart() > size - (1 << 20));
        // The bar is proportional until the lines are counted.
        v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum() / 2);
        QVERIFY(qAbs(v->topLineStart() - size / 2) < (1 << 20));
        // The hex view numbers its lines without counting; its offsets grow a digit.
        v->setHexMode(true);
        QCOMPARE(v->lineCount(), size / 16);
        bool hex = false;
        QCOMPARE(v->lineText(v->topLineStart()).left(9).toLongLong(&hex, 16), v->topLineStart());
        QVERIFY(hex);
    }
};

VASTEL_QTEST_MAIN(ViewerTest)
#include "ViewerTest.moc"
