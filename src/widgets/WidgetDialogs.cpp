#include "widgets/WidgetDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vastel {

namespace {
QWidget* parentWindow() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

void sound(Beep beep) {
    // The desktop has one bell; both kinds of beep ring it.
    if (beep != Beep::None) QApplication::beep();
}

QMessageBox::Icon boxIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return QMessageBox::Critical;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString boxTitle(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return QObject::tr("Error");
        case BoxIcon::Warning:
            return QObject::tr("Warning");
        case BoxIcon::Information:
            return QObject::tr("Information");
        case BoxIcon::Question:
            return QObject::tr("Confirm");
        case BoxIcon::None:
            break;
    }
    return QApplication::applicationDisplayName();
}
}  // namespace

void WidgetDialogs::message(Beep beep, BoxIcon icon, const QString& text) {
    sound(beep);
    QMessageBox box(boxIcon(icon), boxTitle(icon), text, QMessageBox::Ok, parentWindow());
    box.exec();
}

Answer WidgetDialogs::question(const QString& text, Buttons buttons, BoxIcon icon, Beep beep) {
    sound(beep);
    QMessageBox::StandardButtons set;
    QMessageBox::StandardButton escape = QMessageBox::Cancel;
    switch (buttons) {
        case Buttons::Ok:
            set = QMessageBox::Ok;
            escape = QMessageBox::Ok;
            break;
        case Buttons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case Buttons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            escape = QMessageBox::No;
            break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    QMessageBox box(boxIcon(icon), boxTitle(icon), text, set, parentWindow());
    box.setEscapeButton(escape);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<QString> WidgetDialogs::inputBox(const QString& caption, const QString& prompt,
                                               const QString& value) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parentWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::pickFolder(const QString& caption, const QString& start) {
    const QString folder = QFileDialog::getExistingDirectory(parentWindow(), caption, start);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

std::optional<QString> WidgetDialogs::openFile(const QString& caption, const QString& start,
                                               const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(parentWindow(), caption, start, filter);
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QString> WidgetDialogs::pickFont(const QString& initial, bool fixedPitchOnly) {
    QFont start;
    start.fromString(initial);
    bool ok = false;
    const QFont font = QFontDialog::getFont(
        &ok, start, parentWindow(), QString(),
        fixedPitchOnly ? QFontDialog::MonospacedFonts : QFontDialog::FontDialogOptions());
    if (!ok) return std::nullopt;
    return font.toString();
}

bool WidgetDialogs::printDialog(QPrinter& printer, bool allowSelection) {
    QPrintDialog dialog(&printer, parentWindow());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, allowSelection);
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetDialogs::printerSetupDialog(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parentWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetDialogs::printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parentWindow());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vastel
