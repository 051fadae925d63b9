#include "platform/ScriptedDialogs.h"

#include <optional>
#include <utility>

namespace vastel {

namespace {

// The next scripted answer, taken off the script; nothing when the script has run out.
template <typename T>
std::optional<T> takeNext(std::deque<T>& script) {
    if (script.empty()) return std::nullopt;
    std::optional<T> next(std::move(script.front()));
    script.pop_front();
    return next;
}

QStringList textsOf(const QList<ScriptedDialogs::Record>& records, ScriptedDialogs::Kind kind) {
    QStringList out;
    for (const ScriptedDialogs::Record& r : records)
        if (r.kind == kind) out << r.text;
    return out;
}

}  // namespace

ScriptedDialogs::ScriptedDialogs(bool install) : installed_(install) {
    if (installed_) {
        previous_ = &dialogs();
        setDialogs(this);
    }
}

ScriptedDialogs::~ScriptedDialogs() {
    if (installed_ && &dialogs() == this) setDialogs(previous_);
}

QStringList ScriptedDialogs::messages() const { return textsOf(records_, Kind::Message); }

QStringList ScriptedDialogs::questions() const { return textsOf(records_, Kind::Question); }

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
    if (const std::optional<Answer> a = takeNext(answers_)) return *a;
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
    return takeNext(texts_).value_or(std::nullopt);
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
    return takeNext(fonts_).value_or(std::nullopt);
}

bool ScriptedDialogs::printDialog(QPrinter&, bool allowSelection) {
    records_.append(
        {Kind::Print, {}, Beep::None, BoxIcon::None, Buttons::OkCancel, {}, allowSelection});
    return takeNext(prints_).value_or(false);
}

bool ScriptedDialogs::printerSetupDialog(QPrinter&) {
    records_.append({Kind::PrinterSetup, {}, Beep::None, BoxIcon::None, Buttons::OkCancel, {}});
    return takeNext(prints_).value_or(false);
}

bool ScriptedDialogs::printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    records_.append({Kind::Preview, {}, Beep::None, BoxIcon::None, Buttons::OkCancel, {}});
    const bool printed = takeNext(prints_).value_or(false);
    if (printed) paint(printer);
    return printed;
}

}  // namespace vastel
