#pragma once

#include "core/StopToken.h"
#include "finders/DupPairs.h"
#include "finders/FileChecksum.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vastel {

class AppContext;
class TfrmDup;

// "Compare file pairs": the modeless window that shows two neighbouring duplicates of the
// finder side by side with their differences highlighted, steps from pair to pair, and marks,
// opens, views or browses either file. Made once at start and reused; each showing copies the
// finder's grid.
class TfrmDupCompare : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmDupCompare(QWidget* parent = nullptr);
    ~TfrmDupCompare() override;

    // One side's controls (left 1, right 2).
    struct Side {
        QGroupBox* GroupBox = nullptr;  // caption: the file name
        QLabel *lblFolder = nullptr, *lblType = nullptr, *lblSizeBytes = nullptr,
               *lblCreate = nullptr, *lblModify = nullptr, *lblAccess = nullptr,
               *lblAttributes = nullptr, *lblCRC = nullptr, *lblDel = nullptr;
        QLabel* Image = nullptr;
        QListWidget* tlBox = nullptr;
        QPushButton *btMark = nullptr, *btLaunch = nullptr, *btView = nullptr, *btBrowse = nullptr;
        QByteArray path;  // the exact path of the row shown
        // For the arrows: packed stamps (0: none); the access stamp's day only.
        quint32 created = 0, modified = 0, accessDay = 0;
    };
    Side side1, side2;
    QLabel *imgCreate = nullptr, *imgModify = nullptr, *imgAccess = nullptr;  // the arrows
    QPushButton *sbL1 = nullptr, *sbR1 = nullptr, *btCompute = nullptr, *btPrint = nullptr,
                *btClose = nullptr;
    QCheckBox* cbCRC = nullptr;
    QWidget* pnlButtons = nullptr;

    // Shows the window for a finder, on the finder's current row (FormShow).
    void showFor(TfrmDup& finder, AppContext& context);
    // The left file's row in the copy of the grid (model rows: 0 is the first data row).
    int currentRow() const { return row_; }
    const DupPairs& grid() const { return pairs_; }

    // Reads both files of the pair for "&CRC" (a test seam).
    std::function<PairChecksums(const QByteArray& left, const QByteArray& right,
                                const StopToken* stop)>
        readPair = comparePair;

  public Q_SLOTS:
    void sbL1Click();
    void sbR1Click();
    void btComputeClick();
    void btPrintClick();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildSide(Side& side, int number);
    void connectControls();
    void showPair(int row);
    void GetValues(Side& side, int row);
    void HighlightDifferences(bool checksums = true);
    void computeCRCValues();
    bool knownIdentical() const;
    void showKnownIdentical();
    void resizeIt();
    void placeArrows();
    void paintVersionLines();
    void setColours(bool white);
    void markFile(int row);
    void launch(const Side& side);
    void view(const Side& side);
    void browse(const Side& side);

    QPointer<TfrmDup> finder_;
    AppContext* context_ = nullptr;
    DupPairs pairs_;
    int row_ = -1;
    bool computing_ = false;
    StopToken stop_;
};

}  // namespace vastel
