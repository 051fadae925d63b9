#pragma once

#include <QString>
#include <initializer_list>
#include <utility>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace vastel {

// Pieces the small dialogs build alike. Object names are what tests find the widgets by.

// OK, the default button, and Cancel, in that order.
std::pair<QPushButton*, QPushButton*> okCancelButtons(
    QWidget* parent, const QString& okName = QStringLiteral("btOK"),
    const QString& cancelName = QStringLiteral("btCancel"));

// The buttons at the right end of a row.
QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> buttons);

// A button that opens the folder picker.
QToolButton* folderBrowseButton(const QString& name, const QString& toolTip, QWidget* parent);

// An edit that takes the row's width, its browse button beside it.
QHBoxLayout* browseRow(QLineEdit* edit, QToolButton* browse);

}  // namespace vastel
