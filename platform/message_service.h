#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "platform/service_slot.h"

class QWidget;

namespace velmor::platform {

// Message boxes and questions. Every message of the program is an information box with one OK button;
// questions offer Yes and No, and Cancel where the caller allows it.
class MessageService {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~MessageService() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual Answer question(QWidget* parent, const QString& text, bool withCancel) = 0;
};

// The program's message service: QMessageBox unless a test has put a fake in place.
ServiceSlot<MessageService>& messages();

// A fake for tests: records every text shown or asked, and answers questions from a queue (Cancel when the
// queue is empty, so an unexpected question never goes on as if answered Yes).
class RecordingMessages : public MessageService {
  public:
    void information(QWidget* parent, const QString& text) override;
    Answer question(QWidget* parent, const QString& text, bool withCancel) override;

    std::vector<QString> shown;  // information texts, in order
    std::vector<QString> asked;  // question texts, in order
    std::deque<Answer> answers;  // answers for the next questions

  private:
    ServiceSlot<MessageService>::ScopedOverride override_{messages(), *this};
};

}  // namespace velmor::platform
