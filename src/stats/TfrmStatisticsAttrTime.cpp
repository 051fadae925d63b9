// The Attribute and Time pages of the statistics window.
#include "stats/TfrmStatistics.h"

#include <QWidget>

namespace vastel {

QWidget* TfrmStatistics::buildAttributePage() { return new QWidget; }
QWidget* TfrmStatistics::buildTimePage() { return new QWidget; }
void TfrmStatistics::doFileAttrs() {}
void TfrmStatistics::doFileTimes() {}
void TfrmStatistics::sbTimeChange(int) {}
void TfrmStatistics::SpeedButton5Click() {}

}  // namespace vastel
