#include "platform/text_editor_service.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace velmor::platform {

namespace {

class ProcessTextEditor : public TextEditorService {
  public:
    bool start(const QString& editorPath, const QString& fileName) override {
        const EditorCommand command = editorCommand(editorPath, fileName);
        if (command.program.isEmpty()) return false;
        return QProcess::startDetached(command.program, command.arguments);
    }
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
