#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <deque>
#include <variant>

namespace vastel {

// Records every dialog the program raises and answers from a script. Without a scripted
// answer a question is answered No (or Cancel when there is no No), and every picker and
// print dialog is cancelled, so that nothing proceeds by accident.
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind {
        Message,
        Question,
        Input,
        Folder,
        OpenFile,
        Font,
        Print,
        PrinterSetup,
        Preview
    };
    struct Record {
        Kind kind;
        QString text;  // message or question text, prompt, caption
        Beep beep = Beep::None;
        BoxIcon icon = BoxIcon::None;
        Buttons buttons = Buttons::Ok;
        QString caption;
        bool allowSelection = false;  // print dialogs: whether "selection" was offered
    };

    explicit ScriptedDialogs(bool install = true);  // installs itself unless told not to
    ~ScriptedDialogs() override;                    // restores the previous implementation

    void answerQuestion(Answer answer) { answers_.push_back(answer); }
    void answerText(std::optional<QString> text) { texts_.push_back(std::move(text)); }
    void answerPrint(bool accepted) { prints_.push_back(accepted); }
    void answerFont(std::optional<QString> font) { fonts_.push_back(std::move(font)); }

    const QList<Record>& records() const { return records_; }
    QStringList messages() const;   // texts of message boxes, in order
    QStringList questions() const;  // texts of questions, in order
    void clear();

    void message(Beep beep, BoxIcon icon, const QString& text) override;
    Answer question(const QString& text, Buttons buttons, BoxIcon icon, Beep beep) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& value) override;
    std::optional<QString> pickFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& start,
                                    const QString& filter) override;
    std::optional<QString> pickFont(const QString& initial, bool fixedPitchOnly) override;
    bool printDialog(QPrinter& printer, bool allowSelection) override;
    bool printerSetupDialog(QPrinter& printer) override;
    // Answered from the print answers: on true the pages are drawn on the printer.
    bool printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

  private:
    std::optional<QString> nextText();
    Dialogs* previous_ = nullptr;
    bool installed_ = false;
    QList<Record> records_;
    std::deque<Answer> answers_;
    std::deque<std::optional<QString>> texts_;
    std::deque<bool> prints_;
    std::deque<std::optional<QString>> fonts_;
};

}  // namespace vastel
