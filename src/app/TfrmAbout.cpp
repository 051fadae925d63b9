#include "app/TfrmAbout.h"

#include "widgets/DialogRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vastel {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("How to contact us"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* product = new QLabel(QStringLiteral("Vastel 99"), this);
    product->setObjectName(QStringLiteral("lblProduct"));
    QFont f = product->font();
    f.setPointSize(18);
    f.setBold(true);
    product->setFont(f);
    auto* version = new QLabel(QStringLiteral("Version 3.0b"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* maker = new QLabel(QStringLiteral("Tessivo Corporation"), this);
    maker->setObjectName(QStringLiteral("lblMaker"));
    QFont mf = maker->font();
    mf.setBold(true);
    maker->setFont(mf);
    auto* contact = new QLabel(QStringLiteral("410 Harbor View Road, Suite 99\n"
                                              "Port Alden, ME 04999\n"
                                              "Telephone: (555) 010-4299\n"
                                              "www.tessivo.example"),
                               this);
    contact->setObjectName(QStringLiteral("lblContact"));
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(version);
    text->addSpacing(10);
    text->addWidget(maker);
    text->addWidget(contact);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = rightAlignedRow({btOK});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vastel
