// The Types page of the statistics window: the type listing, its sorts, totals and pies.
#include "stats/TfrmStatistics.h"

#include <QWidget>

namespace vastel {

QWidget* TfrmStatistics::buildTypesPage() { return new QWidget; }
void TfrmStatistics::writeTypesHeading() {}
void TfrmStatistics::doFileTypes() {}
void TfrmStatistics::rgTypesClick() {}
void TfrmStatistics::SortbyExtensionClick(QAction*) {}
void TfrmStatistics::doTotals() {}
void TfrmStatistics::ScrollBar2Change(int) {}

}  // namespace vastel
