// The Deleted page of the statistics window: the cumulative totals of removed files.
#include "stats/TfrmStatistics.h"

#include "core/DateTexts.h"
#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "stats/RemovalTotalsView.h"
#include "widgets/AppContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vastel {

namespace {

QLineEdit* totalEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(170);
    return edit;
}

void showRow(QLineEdit* count, QLineEdit* bytes, qint64 n, qint64 size) {
    if (n > 0) {
        count->setText(thousandsText(n) + QStringLiteral(" files"));
        bytes->setText(thousandsText(size > 0 ? size : 0) + QStringLiteral(" bytes"));
    } else {
        count->setText(QStringLiteral("n/a"));
        bytes->setText(QStringLiteral("n/a"));
    }
}

QString sinceText(qint64 day) {
    return day < 0 ? QString()
                   : QStringLiteral("Since ") +
                         dateText(QDateTime(dateOfDayNumber(int(day)), QTime(0, 0)));
}

}  // namespace

QWidget* TfrmStatistics::buildDeletedPage() {
    auto* page = new QWidget;
    auto* heading = new QLabel(QStringLiteral("Files processed by Vastel 99"), page);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);

    edNdelete = totalEdit(QStringLiteral("edNdelete"), page);
    edSzDelete = totalEdit(QStringLiteral("edSzDelete"), page);
    edNWaste = totalEdit(QStringLiteral("edNWaste"), page);
    edSzWaste = totalEdit(QStringLiteral("edSzWaste"), page);
    edNZip = totalEdit(QStringLiteral("edNZip"), page);
    edSzZip = totalEdit(QStringLiteral("edSzZip"), page);
    lblSince1 = new QLabel(page);
    lblSince1->setObjectName(QStringLiteral("lblSince1"));
    lblZipSince = new QLabel(page);
    lblZipSince->setObjectName(QStringLiteral("lblZipSince"));
    Button1 = new QPushButton(QStringLiteral("Reset these numbers"), page);
    Button1->setObjectName(QStringLiteral("Button1"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Number of files"), page), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Total size"), page), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Deleted files"), page), 1, 0);
    grid->addWidget(edNdelete, 1, 1);
    grid->addWidget(edSzDelete, 1, 2);
    grid->addWidget(lblSince1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Files sent to the recycle bin"), page), 2, 0);
    grid->addWidget(edNWaste, 2, 1);
    grid->addWidget(edSzWaste, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Zipped files"), page), 3, 0);
    grid->addWidget(edNZip, 3, 1);
    grid->addWidget(edSzZip, 3, 2);
    grid->addWidget(lblZipSince, 3, 3);
    grid->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(heading);
    layout->addSpacing(16);
    layout->addLayout(grid);
    layout->addSpacing(24);
    layout->addWidget(Button1, 0, Qt::AlignLeft);
    layout->addStretch(1);

    connect(Button1, &QPushButton::clicked, this, &TfrmStatistics::Button1Click);
    return page;
}

void TfrmStatistics::showFilesDeleted() {
    const RemovalTotalsView t = RemovalTotalsView::read();
    lblSince1->setText(sinceText(t.delDate));
    lblZipSince->setText(sinceText(t.zipDate));
    showRow(edNdelete, edSzDelete, t.nDelete, t.sizeDelete);
    showRow(edNWaste, edSzWaste, t.nWaste, t.sizeWaste);
    showRow(edNZip, edSzZip, t.nZip, t.sizeZip);
}

void TfrmStatistics::Button1Click() {
    if (context_.dialogs().question(QStringLiteral("Reset cumulative totals?"), Buttons::YesNo,
                                    BoxIcon::Information, Beep::None) != Answer::Yes)
        return;
    RemovalTotalsView::reset();
    lblSince1->clear();
    lblZipSince->clear();
    for (QLineEdit* e : {edNdelete, edSzDelete, edNWaste, edSzWaste, edNZip, edSzZip})
        e->setText(QStringLiteral("n/a"));
}

}  // namespace vastel
