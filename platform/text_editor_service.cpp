#include "platform/text_editor_service.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include "platform/message_service.h"

namespace velmor::platform {

namespace {

class ProcessTextEditor : public TextEditorService {
  public:
    bool start(const QString& editorPath, const QString& fileName) override {
        const EditorCommand command = editorCommand(editorPath, fileName);
        QStringList shown{command.program.isEmpty() ? QString("(no program)") : command.program};
        for (const QString& argument : command.arguments)
            shown << (argument.contains(' ') ? '"' + argument + '"' : argument);
        failure_ = shown.join(' ') + ": ";
        if (command.program.isEmpty()) {
            failure_ += "no text editor is set";
            return false;
        }
        QProcess process;
        process.setProgram(command.program);
        process.setArguments(command.arguments);
        if (process.startDetached()) {
            failure_.clear();
            return true;
        }
        failure_ += process.errorString();
        return false;
    }
    QString failure() const override { return failure_; }

  private:
    QString failure_;
};

QString& currentEditorPath() {
    static QString path = defaultEditorPath();
    return path;
}

}  // namespace

ServiceSlot<TextEditorService>& textEditor() {
    static ProcessTextEditor standard;
    static ServiceSlot<TextEditorService> slot(standard);
    return slot;
}

QString editorFailureMessage(const TextEditorService& editor) {
    QString message = "An error occurred in running the Word Processor";
    const QString failure = editor.failure();
    if (!failure.isEmpty()) message += "\r" + failure;
    return message;
}

bool startTextEditor(QWidget* parent, const QString& editorPath, const QString& fileName) {
    TextEditorService& editor = textEditor().get();
    if (editor.start(editorPath, fileName)) return true;
    messages().get().information(parent, editorFailureMessage(editor));
    return false;
}

QString defaultEditorPath() {
#ifdef Q_OS_WIN
    const QString windows = qEnvironmentVariable("WINDIR", "C:\\Windows");
    return QDir::toNativeSeparators(windows + "/notepad.exe");
#else
    return "xdg-open";
#endif
}

QString editorPath() {
    return currentEditorPath();
}

void setEditorPath(const QString& path) {
    currentEditorPath() = path;
}

EditorCommand editorCommand(const QString& editorPath, const QString& fileName) {
    EditorCommand command;
    const QString setting = editorPath.trimmed();
    if (QFileInfo(setting).isFile()) {
        command.program = setting;
    } else {
        command.arguments = QProcess::splitCommand(setting);
        if (!command.arguments.isEmpty()) command.program = command.arguments.takeFirst();
    }
    command.arguments << fileName;
    return command;
}

}  // namespace velmor::platform
