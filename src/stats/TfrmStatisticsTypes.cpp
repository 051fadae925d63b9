// The Types page of the statistics window: the type listing, its sorts, totals and pies.
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "stats/StatRules.h"
#include "stats/StatTexts.h"
#include "stats/TfrmStatistics.h"
#include "stats/ui/StatGrid.h"
#include "widgets/AppContext.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace vastel {

namespace {

enum TypeColumn { colExtension, colType, colSize, colFiles, colAverage };

const char* const kTypeChoices[] = {"Listing", "Pie by Size", "Pie by # Files",
                                    "Pie by Average Size"};
const char* const kPieTitles[] = {"", "File types by size", "File types by number of files",
                                  "File types by average file size"};

// Slices below this share keep their label off the pie, where it would overlap its
// neighbours; their share still shows as the slice's tool tip.
constexpr double kLabelledShare = 0.02;

// fileTypeText asks the MIME database, which is slow for thousands of types; the database
// does not change while the program runs.
QString cachedTypeText(const QByteArray& extension) {
    static QHash<QByteArray, QString> cache;
    auto it = cache.constFind(extension);
    if (it != cache.constEnd()) return *it;
    return *cache.insert(extension, fileTypeText(QString::fromUtf8(extension)));
}

// "##0.# %": at most one decimal.
QString shareText(double fraction) {
    const double percent = std::round(fraction * 1000.0) / 10.0;
    const QLocale locale;
    const bool whole = percent == std::floor(percent);
    return locale.toString(percent, 'f', whole ? 0 : 1) + QStringLiteral(" %");
}

}  // namespace

QWidget* TfrmStatistics::buildTypesPage() {
    auto* page = new QWidget;

    gridTypes =
        new StatGrid(QStringLiteral("gridTypes"),
                     {QStringLiteral("Extension"), QStringLiteral("Type"), QStringLiteral("Size"),
                      QStringLiteral("# Files"), QStringLiteral("Avg File Size")},
                     page);
    writeTypesHeading();
    gridTypes->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(page);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const QString& text, const QString& name) {
        QAction* a = PopupMenu1->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { SortbyExtensionClick(a); });
        return a;
    };
    SortbyExtension = item(QStringLiteral("Sort by &Extension"), QStringLiteral("SortbyExtension"));
    SortbyType = item(QStringLiteral("Sort by &Type"), QStringLiteral("SortbyType"));
    SortbySize = item(QStringLiteral("Sort by &Size"), QStringLiteral("SortbySize"));
    SortbyNumber = item(QStringLiteral("Sort by &Number of files"), QStringLiteral("SortbyNumber"));
    SortbyAverage =
        item(QStringLiteral("Sort by &Average File Size"), QStringLiteral("SortbyAverage"));
    SortbyExtension->setChecked(true);
    sortedBy_ = SortbyExtension;
    connect(gridTypes, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(gridTypes->viewport()->mapToGlobal(at));
    });

    btSort = new QToolButton(page);
    btSort->setObjectName(QStringLiteral("btSort"));
    btSort->setText(QStringLiteral("&Sort"));
    btSort->setToolTip(QStringLiteral("Sort the listing"));
    btSort->setMenu(PopupMenu1);
    btSort->setPopupMode(QToolButton::InstantPopup);
    btSort->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btSort->setMinimumWidth(90);

    chartPie = new ChartPanel(QStringLiteral("chartPie"), context_.dialogs(), page);
    QChart* chart = chartPie->chart();
    chart->setMargins(QMargins(8, 8, 8, 8));
    Series2 = new QPieSeries(chart);
    Series2->setObjectName(QStringLiteral("Series2"));
    Series2->setPieSize(0.7);
    chart->addSeries(Series2);
    chart->legend()->hide();
    chartPie->view()->setToolTip(QStringLiteral("Click on pie to toggle animation"));
    connect(Series2, &QPieSeries::clicked, this, [this](QPieSlice*) { pie1Click(); });
    connect(Series2, &QPieSeries::hovered, this, [this](QPieSlice* slice, bool state) {
        chartPie->view()->setToolTip(state && slice
                                         ? slice->property("share").toString()
                                         : QStringLiteral("Click on pie to toggle animation"));
    });
    pieNote = new QGraphicsSimpleTextItem(QStringLiteral("No files"), chart);
    QFont noteFont = pieNote->font();
    noteFont.setPointSizeF(noteFont.pointSizeF() * 1.5);
    pieNote->setFont(noteFont);
    pieNote->setBrush(QColor(90, 90, 90));
    pieNote->hide();
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        placePieNote();
        arrangePieLabels();
    });

    ScrollBar2 = new QScrollBar(Qt::Horizontal, page);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    ScrollBar2->setRange(0, 360);
    ScrollBar2->setPageStep(15);
    ScrollBar2->setToolTip(QStringLiteral("Turn the pie"));
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TfrmStatistics::ScrollBar2Change);

    rgTypes = new QGroupBox(QStringLiteral("Display"), page);
    rgTypes->setObjectName(QStringLiteral("rgTypes"));
    rgTypesGroup = new QButtonGroup(rgTypes);
    auto* choices = new QHBoxLayout(rgTypes);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QLatin1String(kTypeChoices[i]), rgTypes);
        b->setObjectName(QStringLiteral("rgTypes%1").arg(i));
        rgTypesGroup->addButton(b, i);
        choices->addWidget(b);
    }
    rgTypesGroup->button(1)->setChecked(true);
    connect(rgTypesGroup, &QButtonGroup::idClicked, this, [this] { rgTypesClick(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(rgTypes);
    bottom->addStretch(1);
    bottom->addWidget(btSort, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(gridTypes, 1);
    layout->addWidget(chartPie, 1);
    auto* turn = new QHBoxLayout;
    turnCaption_ = new QLabel(QStringLiteral("Turn the pie:"), page);
    turn->addWidget(turnCaption_);
    turn->addWidget(ScrollBar2, 1);
    layout->addLayout(turn);
    layout->addLayout(bottom);
    gridTypes->hide();
    btSort->hide();
    return page;
}

void TfrmStatistics::writeTypesHeading() {
    gridTypes->grid().setHeaders({QStringLiteral("Extension"), QStringLiteral("Type"),
                                  QStringLiteral("Size"), QStringLiteral("# Files"),
                                  QStringLiteral("Avg File Size")});
    // gridTypesGetAlignment: the figures right-aligned.
    for (int c = colSize; c <= colAverage; ++c)
        gridTypes->grid().setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
}

void TfrmStatistics::doFileTypes() {
    // A chosen type gets its row even when no file has it.
    if (includeTypes)
        for (const QString& line : PickList2)
            tallies_.insertType(extractExtension(line).toUtf8(), 0, true);

    std::vector<GridRow> rows;
    rows.reserve(tallies_.types.size() + 1);
    for (const TypeRecord& record : tallies_.types) {
        GridRow row;
        row.cells =
            QStringList{QString::fromUtf8(record.extension), cachedTypeText(record.extension),
                        numberText(double(record.bytes)), numberText(double(record.count)),
                        averageText(record.count, record.bytes)};
        rows.push_back(std::move(row));
    }
    GridRow totals;
    totals.cells = QStringList(5, QString());
    rows.push_back(std::move(totals));
    GridModel& grid = gridTypes->grid();
    grid.clear();
    grid.appendRows(std::move(rows));
    gridTypes->fitColumns();
    // Fitted, not stretched: the printed report takes its widths from these columns.
    gridTypes->scrollToTop();
    rgTypesClick();
}

void TfrmStatistics::rgTypesClick() {
    const int choice = std::max(rgTypesGroup->checkedId(), 0);
    const bool listing = choice == 0;
    btSort->setVisible(listing);
    if (btSort->isHidden())
        Timer1->start();
    else
        Timer1->stop();

    int column = colSize;
    if (choice == 1) {
        SortbyExtensionClick(SortbySize);
    } else if (choice == 2) {
        SortbyExtensionClick(SortbyNumber);
        column = colFiles;
    } else if (choice == 3) {
        SortbyExtensionClick(SortbyAverage);
        column = colAverage;
    }

    gridTypes->setVisible(listing);
    chartPie->setVisible(!listing);
    ScrollBar2->setVisible(!listing);
    turnCaption_->setVisible(!listing);
    if (listing) {
        doTotals();
        return;
    }

    initAColors(true);
    Series2->clear();
    chartPie->chart()->setTitle(QLatin1String(kPieTitles[choice]));
    const int dataRows = gridTypes->rowCount() - 1;  // the last row holds the totals
    const int n = std::min(dataRows, 12);
    for (int row = 0; row < n; ++row) {
        const double value = digitsOnly(gridTypes->cell(row, column)).toDouble();
        if (!(value > 0)) continue;
        // Files without an extension have no type text; their slice still needs a name.
        const QString type = gridTypes->cell(row, colExtension).isEmpty()
                                 ? fileTypeText(QStringLiteral("*."))
                                 : gridTypes->cell(row, colType);
        QPieSlice* slice = Series2->append(type, value);
        const QColor colour = AColors.entry[row + 1];
        slice->setColor(colour);
        slice->setBorderColor(colour == Qt::white ? QColor(128, 128, 128) : colour.darker(130));
    }
    // Labels once every slice is in, so that the shares are final.
    for (QPieSlice* slice : Series2->slices()) {
        const QString share = shareText(slice->percentage());
        const QString type = slice->label();
        const QString text = type.isEmpty() ? share : type + QStringLiteral(": ") + share;
        slice->setProperty("share", text);
        slice->setLabel(text);
        slice->setLabelPosition(QPieSlice::LabelOutside);
        slice->setLabelArmLengthFactor(0.12);
    }
    ScrollBar2Change(ScrollBar2->value());
    pieNote->setVisible(Series2->count() == 0);
    placePieNote();
}

void TfrmStatistics::arrangePieLabels() {
    // Where the pie puts a label outside: at the end of an arm from the slice's middle, above
    // a line as wide as the text that runs away from the pie. Labels are taken largest slice
    // first; one that would overlap a label already placed stays off.
    const QRectF area = chartPie->chart()->plotArea();
    const QPointF centre = area.center();
    const double radius = std::min(area.width(), area.height()) / 2 * Series2->pieSize();
    std::vector<QRectF> placed;
    for (QPieSlice* slice : Series2->slices()) {
        if (slice->percentage() < kLabelledShare || radius <= 0) {
            slice->setLabelVisible(false);
            continue;
        }
        const double middle = std::fmod(slice->startAngle() + slice->angleSpan() / 2, 360.0);
        const double rad = qDegreesToRadians(middle);
        const double reach = radius * (1 + slice->labelArmLengthFactor());
        const QPointF end(centre.x() + std::sin(rad) * reach, centre.y() - std::cos(rad) * reach);
        const QFontMetricsF metrics(slice->labelFont());
        const double width = metrics.horizontalAdvance(slice->label()) + 4;
        const double height = metrics.height() + 2;
        const bool right = middle >= 0 && middle < 180;
        const QRectF box(right ? end.x() : end.x() - width, end.y() - height, width, height);
        const bool clear = std::none_of(placed.begin(), placed.end(), [&box](const QRectF& other) {
            return other.intersects(box);
        });
        slice->setLabelVisible(clear);
        if (clear) placed.push_back(box);
    }
}

void TfrmStatistics::placePieNote() {
    const QRectF area = chartPie->chart()->plotArea();
    const QRectF box = pieNote->boundingRect();
    pieNote->setPos(area.center() - box.center());
}

void TfrmStatistics::showTallies(const StatTallies& t) {
    tallies_ = t;
    redrawPages();
}

void TfrmStatistics::SortbyExtensionClick(QAction* item) {
    QAction* const items[] = {SortbyExtension, SortbyType, SortbySize, SortbyNumber, SortbyAverage};
    GridModel& grid = gridTypes->grid();
    // Two data rows and the totals row at least; the totals row stays last.
    if (!item || grid.rowCount() < 3) {
        for (QAction* a : items) a->setChecked(a == sortedBy_);
        return;
    }
    for (QAction* a : items) a->setChecked(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int last = grid.rowCount() - 2;
    if (item == SortbyExtension)
        sortGridByText(grid, 0, last, false, colExtension);
    else if (item == SortbyType)
        sortGridByText(grid, 0, last, false, colType);
    else if (item == SortbySize)
        sortGridByNumber(grid, 0, last, true, colSize);
    else if (item == SortbyNumber)
        sortGridByNumber(grid, 0, last, true, colFiles);
    else
        sortGridByNumber(grid, 0, last, true, colAverage);
    QApplication::restoreOverrideCursor();
    item->setChecked(true);
    sortedBy_ = item;
}

void TfrmStatistics::doTotals() {
    const int last = gridTypes->rowCount() - 1;
    if (last < 0) return;
    double bytes = 0, files = 0;
    for (int row = 0; row < last; ++row) {
        bytes += digitsOnly(gridTypes->cell(row, colSize)).toDouble();
        files += digitsOnly(gridTypes->cell(row, colFiles)).toDouble();
    }
    gridTypes->setCell(last, colType, QStringLiteral("Totals"));
    gridTypes->setCell(last, colSize, numberText(bytes));
    gridTypes->setCell(last, colFiles, numberText(files));
}

void TfrmStatistics::ScrollBar2Change(int value) {
    Series2->setPieStartAngle(value);
    Series2->setPieEndAngle(value + 360);
    arrangePieLabels();
}

}  // namespace vastel
