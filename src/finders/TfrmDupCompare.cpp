#include "finders/TfrmDupCompare.h"

namespace vastel {

TfrmDupCompare::TfrmDupCompare(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmDupCompare"));
    setWindowTitle(QStringLiteral("Compare file pairs"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 400);
}

}  // namespace vastel
