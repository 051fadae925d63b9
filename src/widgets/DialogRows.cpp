#include "widgets/DialogRows.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace vastel {

std::pair<QPushButton*, QPushButton*> okCancelButtons(QWidget* parent, const QString& okName,
                                                      const QString& cancelName) {
    auto* ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(okName);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), parent);
    cancel->setObjectName(cancelName);
    return {ok, cancel};
}

QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons) row->addWidget(button);
    return row;
}

QToolButton* folderBrowseButton(const QString& name, const QString& toolTip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setToolTip(toolTip);
    return button;
}

QHBoxLayout* browseRow(QLineEdit* edit, QToolButton* browse) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    return row;
}

}  // namespace vastel
