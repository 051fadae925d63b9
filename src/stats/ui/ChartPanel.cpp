#include "stats/ui/ChartPanel.h"

#include "platform/Dialogs.h"
#include "results/PrintIt.h"

#include <QAbstractBarSeries>
#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

namespace vastel {

ChartPanel::ChartPanel(const QString& name, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(name + QStringLiteral("Panel"));
    chart_ = new QChart;
    chart_->setBackgroundRoundness(0);
    chart_->legend()->hide();
    view_ = new QChartView(chart_, this);
    view_->setObjectName(name);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(320, 220);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(name + QStringLiteral("Tools"));
    toolBar_->setOrientation(Qt::Vertical);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QStyle* s = style();
    print_ = toolBar_->addAction(s->standardIcon(QStyle::SP_FileDialogDetailedView),
                                 QStringLiteral("Print chart..."));
    print_->setObjectName(name + QStringLiteral("Print"));
    print_->setToolTip(QStringLiteral("Print this chart (with preview)"));
    copy_ = toolBar_->addAction(s->standardIcon(QStyle::SP_DialogSaveButton),
                                QStringLiteral("Copy chart"));
    copy_->setObjectName(name + QStringLiteral("Copy"));
    copy_->setToolTip(QStringLiteral("Copy this chart to the clipboard as an image"));
    zoom_ =
        toolBar_->addAction(s->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Undo zoom"));
    zoom_->setObjectName(name + QStringLiteral("Zoom"));
    zoom_->setToolTip(QStringLiteral("Undo zooming"));
    connect(print_, &QAction::triggered, this, [this] { printPreview(); });
    connect(copy_, &QAction::triggered, this, [this] { copyImage(); });
    connect(zoom_, &QAction::triggered, this, [this] { undoZoom(); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(view_, 1);
    layout->addWidget(toolBar_, 0, Qt::AlignTop);
}

QImage ChartPanel::image(QSize size) const {
    if (size.isEmpty()) size = view_->size();
    if (size.isEmpty()) size = QSize(640, 400);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The chart's scene is laid out for the view; rendering it scales it to the image.
    view_->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), view_->viewport()->rect());
    return image;
}

void ChartPanel::paintOn(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer)) {
        printError();
        return;
    }
    const QRect page = painter.viewport();
    QSize shown = view_->size();
    if (shown.isEmpty()) shown = QSize(640, 400);
    // Draw at twice the shown size for a sharp page, then fit it to the page in proportion.
    const QImage picture = image(shown * 2);
    const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), fitted), picture);
    painter.end();
}

bool ChartPanel::printPreview() {
    return dialogs_.printPreview(currentPrinter(), [this](QPrinter& printer) { paintOn(printer); });
}

void ChartPanel::copyImage() const { QApplication::clipboard()->setImage(image()); }

void ChartPanel::undoZoom() { chart_->zoomReset(); }

void fillColouredBars(QAbstractBarSeries* series, QBarCategoryAxis* axis,
                      const std::vector<ColouredBar>& bars, const QString& labelFormat) {
    series->clear();
    QStringList labels;
    const int n = int(bars.size());
    for (int i = 0; i < n; ++i) {
        labels << bars[size_t(i)].label;
        auto* set = new QBarSet(bars[size_t(i)].label);
        QList<qreal> values(n, 0.0);
        values[i] = bars[size_t(i)].value;
        set->append(values);
        set->setColor(bars[size_t(i)].colour);
        set->setBorderColor(bars[size_t(i)].colour.darker(140));
        series->append(set);
    }
    if (!labelFormat.isEmpty()) {
        series->setLabelsFormat(labelFormat);
        series->setLabelsVisible(true);
    }
    if (axis) {
        axis->clear();
        axis->append(labels.isEmpty() ? QStringList{QString()} : labels);
    }
}

void ChartColours::init(bool palette, const QColor& colour) {
    static const QColor kPalette[12] = {
        QColor(255, 0, 0), QColor(128, 0, 0),   QColor(0, 0, 255),     QColor(255, 255, 0),
        QColor(0, 128, 0), QColor(0, 255, 0),   QColor(255, 0, 255),   QColor(0, 128, 128),
        QColor(0, 0, 128), QColor(0, 255, 255), QColor(255, 255, 255), QColor(128, 128, 128)};
    for (int i = 1; i <= 12; ++i) entry[i] = palette ? kPalette[i - 1] : colour;
}

}  // namespace vastel
