#pragma once

#include <QAbstractSpinBox>
#include <QValidator>

namespace vastel {

// A spin box for whole numbers of up to ten digits (0 to 9,999,999,999). QSpinBox stops at
// 2,147,483,647, and sizes in this program are 64-bit.
class NumberSpin : public QAbstractSpinBox {
    Q_OBJECT
  public:
    static constexpr qint64 kMaximum = 9'999'999'999;

    explicit NumberSpin(QWidget* parent = nullptr);

    qint64 value() const { return value_; }
    void setValue(qint64 value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    void valueChanged(qint64 value);

  protected:
    StepEnabled stepEnabled() const override;

  private:
    void textEdited(const QString& text);
    void showValue();

    qint64 value_ = 0;
};

}  // namespace vastel
