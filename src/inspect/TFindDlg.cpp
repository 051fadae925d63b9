#include "inspect/TFindDlg.h"

namespace vastel {

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("Find"));
}

}  // namespace vastel
