#include "protect/TfrmSelectExtension.h"

#include "core/CountedList.h"
#include "core/Utility.h"
#include "protect/FileTypeRows.h"
#include "protect/ui/TabbedListDelegate.h"
#include "widgets/DialogRows.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

TfrmSelectExtension::TfrmSelectExtension(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelectExtension"));
    setWindowTitle(QStringLiteral("Select a file extension"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(460, 440);

    auto* prompt = new QLabel(
        QStringLiteral("Type in a new file extension or select one or many from the list below:"),
        this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setWordWrap(true);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    lBox = new QListWidget(this);
    lBox->setObjectName(QStringLiteral("lBox"));
    lBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lBox->setUniformItemSizes(true);
    lBox->setItemDelegate(new TabbedListDelegate(110, lBox));
    auto* hint = new QLabel(
        QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file extensions."),
        this);
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);

    cbWildCard = new QComboBox(this);
    cbWildCard->setObjectName(QStringLiteral("cbWildCard"));
    cbWildCard->hide();
    lblWild = new QLabel(QStringLiteral("All files"), this);
    lblWild->setObjectName(QStringLiteral("lblWild"));
    lblWild->hide();

    std::tie(btOK, btCancel) = okCancelButtons(this);

    auto* buttons = rightAlignedRow({btOK, btCancel});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(prompt);
    layout->addWidget(Edit1);
    layout->addWidget(lBox, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    connect(btOK, &QPushButton::clicked, this, &TfrmSelectExtension::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lBox, &QListWidget::itemClicked, this, &TfrmSelectExtension::lBoxClick);
    connect(lBox, &QListWidget::itemDoubleClicked, this, &TfrmSelectExtension::lBoxDblClick);
    connect(cbWildCard, &QComboBox::currentIndexChanged, this,
            &TfrmSelectExtension::cbWildCardChange);
}

void TfrmSelectExtension::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && !filled_) FormShow();
}

void TfrmSelectExtension::FormShow() {
    filled_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList patterns;
    fillWildcardList(patterns, false);
    patterns.removeAll(QStringLiteral("*.*"));
    cbWildCard->addItems(patterns);
    QStringList rows;
    rows.reserve(patterns.size());
    for (const QString& p : patterns) rows.append(p + QLatin1Char('\t') + fileTypeText(p.mid(1)));
    lBox->addItems(rows);
    if (!patterns.isEmpty()) Edit1->setText(patterns.first());
    QApplication::restoreOverrideCursor();
}

QStringList TfrmSelectExtension::selectedRows() const {
    QStringList rows;
    for (int i = 0; i < lBox->count(); ++i)
        if (lBox->item(i)->isSelected()) rows.append(lBox->item(i)->text());
    return rows;
}

void TfrmSelectExtension::lBoxClick() {
    if (QListWidgetItem* item = lBox->currentItem())
        Edit1->setText(patternOfDisplayEntry(item->text()));
}

void TfrmSelectExtension::cbWildCardChange() {
    lblWild->setText(typeDescription(cbWildCard->currentText()));
}

void TfrmSelectExtension::chooseTyped() {
    multipleChosen = false;
    chosenPattern.clear();
    chosenDescription.clear();
    // "*.*", ".*" and "*" choose nothing, and the caller adds nothing.
    const QString pattern = normaliseTypePattern(Edit1->text());
    if (!pattern.isEmpty()) {
        chosenPattern = pattern;
        chosenDescription = typeDescription(pattern);
    }
    accept();
}

void TfrmSelectExtension::btOKClick() {
    if (lBox->selectedItems().size() > 1) {
        multipleChosen = true;
        accept();
        return;
    }
    chooseTyped();
}

void TfrmSelectExtension::lBoxDblClick() {
    // Several selected rows are taken only with the OK button.
    if (lBox->selectedItems().size() > 1) {
        multipleChosen = true;
        return;
    }
    lBoxClick();
    chooseTyped();
}

}  // namespace vastel
