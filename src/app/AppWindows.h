#pragma once

namespace vastel {

class TfrmMain;
class TfrmStatistics;
class TFindDlg;
class TfrmDupCompare;
class TfrmStandBy;

// The five windows that live for the whole run, made at start in this order.
extern TfrmMain* frmMain;
extern TfrmStatistics* frmStatistics;
extern TFindDlg* FindDlg;
extern TfrmDupCompare* frmDupCompare;
extern TfrmStandBy* frmStandBy;

// Program-wide values kept beside the launcher.
extern bool duplicateMode;

void createRunLongWindows();
void destroyRunLongWindows();

}  // namespace vastel
