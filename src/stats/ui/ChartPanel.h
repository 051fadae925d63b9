#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QAbstractBarSeries;
class QBarCategoryAxis;
class QChart;
class QChartView;
class QPrinter;
class QToolBar;
class QAction;

namespace vastel {

class Dialogs;

// A chart of a statistics page with its toolbar beside it: the two are one widget, so the
// toolbar is shown exactly when the chart is. The toolbar prints the chart (through a preview),
// copies it as an image and undoes a zoom. The chart view has the chart's own name, the panel
// that name + "Panel".
class ChartPanel : public QWidget {
    Q_OBJECT
  public:
    ChartPanel(const QString& name, Dialogs& dialogs, QWidget* parent = nullptr);

    QChart* chart() const { return chart_; }
    QChartView* view() const { return view_; }
    QToolBar* toolBar() const { return toolBar_; }
    QAction* printAction() const { return print_; }
    QAction* copyAction() const { return copy_; }

    // The chart drawn on white at the given size (its shown size when empty).
    QImage image(QSize size = {}) const;
    // The preview with the chart as an image on the page, kept in proportion; true when printed.
    bool printPreview();
    // Draws the chart on a printer's page (what the preview shows).
    void paintOn(QPrinter& printer) const;
    void copyImage() const;
    // Undoes a zoom of the chart.
    void undoZoom();

  private:
    Dialogs& dialogs_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* print_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* zoom_ = nullptr;
};

// One bar of a chart whose bars each have their own colour.
struct ColouredBar {
    QString label;
    double value = 0;
    QColor colour;
};

// Fills a stacked bar series (QStackedBarSeries or QHorizontalStackedBarSeries) with one bar
// per entry, each in its colour: one bar set per bar, holding its value in its own slot. The
// category axis, when given, gets the labels. Value labels, when shown, use `labelFormat`
// (Qt Charts' "@value" form) and are drawn only on the bars that have a value.
void fillColouredBars(QAbstractBarSeries* series, QBarCategoryAxis* axis,
                      const std::vector<ColouredBar>& bars, const QString& labelFormat = {});

// The colour table of the charts (entries 1..12; 0 unused): the palette, or one colour in
// every entry.
struct ChartColours {
    QColor entry[13];
    void init(bool palette, const QColor& colour = {});
};

}  // namespace vastel
