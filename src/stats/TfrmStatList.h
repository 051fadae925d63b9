#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vastel {

class AppContext;

// The editor of the statistics' "Include" or "Exclude" type list. Close (and Esc) stores the
// list and ends with OK; the window frame ends with Cancel and stores nothing.
class TfrmStatList : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmStatList(AppContext& context, QWidget* parent = nullptr);

    QString listSection;  // "Include" or "Exclude", set before showing

    QListWidget* PickList1 = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton *btAdd = nullptr, *btDelete = nullptr, *btClear = nullptr, *btClose = nullptr;

    QStringList lines() const;
    // Adds a line in its sorted place unless an equal one (ignoring case) is there.
    void addLine(const QString& line);

  public Q_SLOTS:
    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    void btCloseClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormShow();
    void updateCount();
    AppContext& context_;
};

}  // namespace vastel
