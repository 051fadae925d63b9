#include "stats/TfrmStatistics.h"

namespace vastel {

TfrmStatistics::TfrmStatistics(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(QStringLiteral("File Statistics Not Yet Collected"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 480);
}

}  // namespace vastel
