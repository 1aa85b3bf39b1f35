#include "platform/message_service.h"

#include <QApplication>
#include <QMessageBox>

namespace velmor::platform {

namespace {

// The program's texts break their lines with a carriage return, which a Qt label does not show as a break.
QString shownText(QString text) {
    return text.replace("\r\n", "\n").replace('\r', '\n');
}

class QtMessages : public MessageService {
  public:
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QApplication::applicationName(), shownText(text), QMessageBox::Ok);
    }

    Answer question(QWidget* parent, const QString& text, bool withCancel) override {
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (withCancel) buttons |= QMessageBox::Cancel;
        switch (QMessageBox::question(parent, QApplication::applicationName(), shownText(text), buttons)) {
            case QMessageBox::Yes:
                return Answer::Yes;
            case QMessageBox::No:
                return Answer::No;
            default:
                return withCancel ? Answer::Cancel : Answer::No;
        }
    }
};

}  // namespace

ServiceSlot<MessageService>& messages() {
    static QtMessages standard;
    static ServiceSlot<MessageService> slot(standard);
    return slot;
}

void RecordingMessages::information(QWidget*, const QString& text) {
    shown.push_back(text);
}

MessageService::Answer RecordingMessages::question(QWidget*, const QString& text, bool) {
    asked.push_back(text);
    if (answers.empty()) return Answer::Cancel;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace velmor::platform
