#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;
class QTableView;
class QWidget;

namespace vastel {

class AppContext;
class GridModel;

// How a column of a result grid sorts.
enum class SortKind { Text, Number, Date };

// One item of a result window's "Sort" menu. The direction flag belongs to the window's unit
// and lasts for the whole run: it is used for the next sort by this item and then flipped.
struct ResultSortItem {
    QString text;        // "&Size"
    QString objectName;  // "Sortbysize1"
    int column = 0;      // model column
    SortKind kind = SortKind::Text;
    bool* descending = nullptr;
};

// The behaviour that every result window shares: marks in the grid's mark column with the
// marked paths in marking order (lbDeleted), the marked count and bytes of the files that
// exist, the status text, the row actions (mark, open, view, details), mark all and unmark
// all, shrinking the top panel, printing, the two clipboard forms, sorting from the menu and
// the header, and the hand-off of the marked files to the deletion review.
//
// Rows are model rows (0 is the first data row; the grid's header row is the view's header).
// A row's full path is the exact path the model carries for it (GridModel::path).
class ResultList : public QObject {
    Q_OBJECT
  public:
    // The window's own parameters.
    struct Parts {
        QWidget* window = nullptr;                   // closed after a removal ran
        QTableView* grid = nullptr;                  // its model is `model`
        GridModel* model = nullptr;                  // mark column: model->markColumn()
        QAbstractButton* btDelete = nullptr;         // "Clean?"
        QWidget* topPanel = nullptr;                 // the panel with the scan options
        std::function<void(const QString&)> status;  // the status bar (pnlSel)
        QString sourceName;                          // the review's archiveTag ("Duplicates", ...)
        std::function<QString()> printTitle;         // built when "Print" is chosen
    };

    // The row actions open their windows through the context's factory.
    ResultList(AppContext& context, const Parts& parts, QObject* parent = nullptr);
    ~ResultList() override;

    // The menu items, made once with their object names; the window puts them into its pop-up
    // menu in its own order. Shrink and Restore start enabled and disabled.
    QAction* Details1 = nullptr;                    // "Details"
    QAction* Markall1 = nullptr;                    // "Mark all"
    QAction* Unmarkall1 = nullptr;                  // "Unmark all"
    QAction* Shrink1 = nullptr;                     // "Shrink top panel"
    QAction* Grow1 = nullptr;                       // "Restore top panel"
    QAction* Run1 = nullptr;                        // "Open"
    QAction* View1 = nullptr;                       // "View"
    QAction* Print1 = nullptr;                      // "Print"
    QAction* Filenamesonly1 = nullptr;              // "Filenames only"
    QAction* Entiregridseparatedbytabs1 = nullptr;  // "Entire grid separated by tabs"
    QMenu* Sort1 = nullptr;                         // "Sort": items from setSortItems

    // The "Sort" submenu's items; header clicks on their columns sort the same way while
    // header sorting is on. The first item is the one checked after clearGrid.
    void setSortItems(const std::vector<ResultSortItem>& items);
    void setHeaderSorting(bool on);
    // Sorts by item i (the menu's behaviour); nothing with fewer than two rows.
    void sortBy(int item);
    // Checks item i and unchecks the others (-1: none).
    void checkSortItem(int item);

    // Marks. deleteOneFile toggles a row's mark, counting the file when it exists.
    void deleteOneFile(int row);
    void clearAllMarks();
    void showStatus();  // "%d files %s bytes"
    const QList<QByteArray>& lbDeleted() const { return lbDeleted_; }
    qint64 markedCount() const { return markedCount_; }
    qint64 markedBytes() const { return markedBytes_; }

    // Empties the grid for a new scan: no rows, no marks, first sort item checked.
    void clearGrid();
    // The selected (current) row, -1 when there is none.
    int currentRow() const;

    // Minimum window size: the top panel's right edge + 3 wide and twice its bottom edge high,
    // scaled to the screen and capped at its width, plus the frame.
    void applyMinimumSize();

    // The windows that the row actions open (by default the context's viewer, details window
    // and deletion review, each modal); tests may replace them. The review returns true when a
    // removal ran.
    std::function<void(QWidget* parent, const QByteArray& path)> openViewer;
    std::function<void(QWidget* parent, const QByteArray& path)> openDetails;
    std::function<bool(QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                       qint64 savings)>
        runReview;

  public Q_SLOTS:
    void gridDblClick();
    void DeleteAllFiles();  // "&Mark" and the Delete key: toggle, then the next row
    void Markall1Click();
    void Unmarkall1Click();
    void MarkThisFile(int row);  // for another window (the pair comparison)
    void Run1Click();
    void View1Click();
    void Details1Click();
    void btDeleteClick();
    void Shrink1Click();
    void Grow1Click();
    void btPrintClick();
    void btClipClick(bool filenamesOnly);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateCleanButton();
    QStringList clipboardLines(bool filenamesOnly) const;

    Parts parts_;
    QList<QByteArray> lbDeleted_;
    // Per entry of lbDeleted_: the bytes its mark added to the totals, -1 when it added none.
    QList<qint64> counted_;
    qint64 markedCount_ = 0;
    qint64 markedBytes_ = 0;
    int savedPanelHeight_ = -1;  // the top panel's maximum height while it is shrunk
    int savedPanelMinHeight_ = 0;
    std::vector<ResultSortItem> sortItems_;
    std::vector<QAction*> sortActions_;
    bool headerSorting_ = false;
};

}  // namespace vastel
