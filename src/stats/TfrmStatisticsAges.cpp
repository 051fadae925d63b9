// The Access, Created, Modified and Combined pages of the statistics window.
#include "stats/TfrmStatistics.h"

#include <QWidget>

namespace vastel {

QWidget* TfrmStatistics::buildAgePage(int) { return new QWidget; }
QWidget* TfrmStatistics::buildCombinedPage() { return new QWidget; }
void TfrmStatistics::fillGridDates(StatGrid*, const QString&, const StatTallies::AgeTally&,
                                   const StatTallies::AgeTally&) {}
void TfrmStatistics::fillCombinedGridDates() {}
void TfrmStatistics::doFileAges() {}
void TfrmStatistics::fillAgeSeries(QAbstractBarSeries*, const StatTallies::AgeTally&,
                                   const StatTallies::AgeTally&, bool, const QColor&, bool) {}
void TfrmStatistics::rgAccessClick() {}
void TfrmStatistics::SpeedButton1Click() {}
void TfrmStatistics::SpeedButton2Click() {}
void TfrmStatistics::SpeedButton3Click() {}
void TfrmStatistics::SpeedButton4Click() {}

}  // namespace vastel
