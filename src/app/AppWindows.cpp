#include "app/AppWindows.h"

#include "app/TfrmMain.h"
#include "core/TfrmStandBy.h"
#include "finders/TfrmDupCompare.h"
#include "inspect/TFindDlg.h"
#include "stats/TfrmStatistics.h"

namespace vastel {

TfrmMain* frmMain = nullptr;
TfrmStatistics* frmStatistics = nullptr;
TFindDlg* FindDlg = nullptr;
TfrmDupCompare* frmDupCompare = nullptr;
TfrmStandBy* frmStandBy = nullptr;
bool duplicateMode = true;

void createRunLongWindows() {
    frmMain = new TfrmMain();
    frmStatistics = new TfrmStatistics();
    FindDlg = new TFindDlg();
    frmDupCompare = new TfrmDupCompare();
    frmStandBy = new TfrmStandBy();
}

void destroyRunLongWindows() {
    delete frmStandBy;
    delete frmDupCompare;
    delete FindDlg;
    delete frmStatistics;
    delete frmMain;
    frmStandBy = nullptr;
    frmDupCompare = nullptr;
    FindDlg = nullptr;
    frmStatistics = nullptr;
    frmMain = nullptr;
}

}  // namespace vastel
