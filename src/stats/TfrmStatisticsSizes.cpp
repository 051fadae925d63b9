// The Sizes and Overhang pages of the statistics window.
#include "stats/TfrmStatistics.h"

#include <QWidget>

namespace vastel {

QWidget* TfrmStatistics::buildSizesPage() { return new QWidget; }
QWidget* TfrmStatistics::buildOverhangPage() { return new QWidget; }
void TfrmStatistics::doFileSizes() {}
void TfrmStatistics::fillGridSizes() {}
void TfrmStatistics::rgSizesClick() {}
void TfrmStatistics::doOverHang() {}
void TfrmStatistics::drawClusterArrow() {}

}  // namespace vastel
