#include "platform/ScriptedDialogs.h"

namespace vastel {

ScriptedDialogs::ScriptedDialogs(bool install) : installed_(install) {
    if (installed_) {
        previous_ = &dialogs();
        setDialogs(this);
    }
}

ScriptedDialogs::~ScriptedDialogs() {
    if (installed_ && &dialogs() == this) setDialogs(previous_);
}

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const Record& r : records_)
        if (r.kind == Kind::Message) out << r.text;
    return out;
}

QStringList ScriptedDialogs::questions() const {
    QStringList out;
    for (const Record& r : records_)
        if (r.kind == Kind::Question) out << r.text;
    return out;
}

void ScriptedDialogs::clear() {
    records_.clear();
    answers_.clear();
    texts_.clear();
    prints_.clear();
    fonts_.clear();
}

void ScriptedDialogs::message(Beep beep, BoxIcon icon, const QString& text) {
    records_.append({Kind::Message, text, beep, icon, Buttons::Ok, {}});
}

Answer ScriptedDialogs::question(const QString& text, Buttons buttons, BoxIcon icon, Beep beep) {
    records_.append({Kind::Question, text, beep, icon, buttons, {}});
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

std::optional<QString> ScriptedDialogs::nextText() {
    std::optional<QString> t;
    if (!texts_.empty()) {
        t.swap(texts_.front());
        texts_.pop_front();
    }
    return t;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& caption, const QString& prompt,
                                                 const QString& value) {
    records_.append({Kind::Input, prompt, Beep::None, BoxIcon::None, Buttons::OkCancel, caption});
    return nextText();
}

std::optional<QString> ScriptedDialogs::pickFolder(const QString& caption, const QString& start) {
    records_.append({Kind::Folder, start, Beep::None, BoxIcon::None, Buttons::OkCancel, caption});
    return nextText();
}

std::optional<QString> ScriptedDialogs::openFile(const QString& caption, const QString& start,
                                                 const QString& filter) {
    records_.append({Kind::OpenFile, start, Beep::None, BoxIcon::None, Buttons::OkCancel, caption});
    return nextText();
}

std::optional<QString> ScriptedDialogs::pickFont(const QString& initial, bool fixedPitchOnly) {
    const QString family = initial.section(u',', 0, 0);  // the description starts with it
    records_.append({Kind::Font, family, Beep::None, BoxIcon::None, Buttons::OkCancel, {}});
    std::optional<QString> f;
    if (!fonts_.empty()) {
        f.swap(fonts_.front());
        fonts_.pop_front();
    }
    return f;
}

bool ScriptedDialogs::printDialog(QPrinter&, bool allowSelection) {
    records_.append(
        {Kind::Print, {}, Beep::None, BoxIcon::None, Buttons::OkCancel, {}, allowSelection});
    if (prints_.empty()) return false;
    const bool ok = prints_.front();
    prints_.pop_front();
    return ok;
}

bool ScriptedDialogs::printerSetupDialog(QPrinter&) {
    records_.append({Kind::PrinterSetup, {}, Beep::None, BoxIcon::None, Buttons::OkCancel, {}});
    if (prints_.empty()) return false;
    const bool ok = prints_.front();
    prints_.pop_front();
    return ok;
}

}  // namespace vastel
