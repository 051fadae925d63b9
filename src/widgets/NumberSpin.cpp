#include "widgets/NumberSpin.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

namespace vastel {

namespace {

constexpr int kDigits = 10;

bool allDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.isDigit() && c < u'\x80'; });
}

}  // namespace

NumberSpin::NumberSpin(QWidget* parent) : QAbstractSpinBox(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(true);
    lineEdit()->setMaxLength(kDigits);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumberSpin::textEdited);
    // An emptied field shows the last number again when the user leaves it.
    connect(this, &QAbstractSpinBox::editingFinished, this, &NumberSpin::showValue);
    showValue();
}

void NumberSpin::setValue(qint64 value) {
    value = std::clamp<qint64>(value, 0, kMaximum);
    const bool changed = value != value_;
    value_ = value;
    showValue();
    if (changed) Q_EMIT valueChanged(value_);
}

void NumberSpin::stepBy(int steps) {
    // Saturate instead of wrapping at either end.
    const qint64 next = value_ + qint64(steps);
    setValue(std::clamp<qint64>(next, 0, kMaximum));
    selectAll();
}

QValidator::State NumberSpin::validate(QString& input, int&) const {
    if (input.isEmpty()) return QValidator::Intermediate;
    if (input.size() > kDigits || !allDigits(input)) return QValidator::Invalid;
    return QValidator::Acceptable;
}

void NumberSpin::fixup(QString& input) const {
    if (input.isEmpty()) input = QString::number(value_);
}

QAbstractSpinBox::StepEnabled NumberSpin::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    StepEnabled enabled = StepNone;
    if (value_ > 0) enabled |= StepDownEnabled;
    if (value_ < kMaximum) enabled |= StepUpEnabled;
    return enabled;
}

QSize NumberSpin::sizeHint() const {
    ensurePolished();
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(QString(kDigits, u'9')) + 6;
    const int textHeight = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, QSize(textWidth, textHeight),
                                     this);
}

QSize NumberSpin::minimumSizeHint() const { return sizeHint(); }

void NumberSpin::textEdited(const QString& text) {
    if (text.isEmpty() || !allDigits(text)) return;
    const qint64 value = std::min(text.toLongLong(), kMaximum);
    if (value == value_) return;
    value_ = value;
    Q_EMIT valueChanged(value_);
}

void NumberSpin::showValue() {
    const QString text = QString::number(value_);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

}  // namespace vastel
