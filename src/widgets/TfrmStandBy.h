#pragma once

#include "results/JobRunner.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace vastel {

class AppContext;

// The stand-by window: "Loading files ... standby" with a progress bar, shown by a caller
// around a long loop. Showing or hiding it forgets the Safe Harbor test's last folder, so each
// loop starts with a fresh look-up.
class TfrmStandBy : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmStandBy(AppContext& context, QWidget* parent = nullptr);

    // A loop of `steps` steps: the bar runs from 0 to steps - 1; the window is shown and painted.
    void begin(int steps);
    // Before step `index`: the bar's position, and pending events run (on a time slice).
    void step(int index);
    // The loop is done: the window is hidden.
    void finish();

    QLabel* lblMessage = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void forgetLastTestedFolder();

    AppContext& context_;
    JobRunner runner_;  // lets pending events run on the job time slice
};

}  // namespace vastel
