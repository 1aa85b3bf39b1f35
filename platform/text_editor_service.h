#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/service_slot.h"

class QWidget;

namespace velmor::platform {

// Starts the external text editor on a file without waiting for it.
class TextEditorService {
  public:
    virtual ~TextEditorService() = default;
    // Starts `editorPath` with `fileName` as its argument; false when the process cannot be started.
    virtual bool start(const QString& editorPath, const QString& fileName) = 0;
    // After a failed start: the command that was tried and the system's reason, for the user to see.
    virtual QString failure() const { return {}; }
};

// The program's editor launcher: a detached process unless a test has put a fake in place.
ServiceSlot<TextEditorService>& textEditor();

// The message after a failed start: "An error occurred in running the Word Processor", then on a second
// line the command that was tried and the system's reason, so a wrong editor setting can be found.
QString editorFailureMessage(const TextEditorService& editor);

// Starts the program's editor on `fileName`; when it cannot be started, tells the user so over `parent`
// with editorFailureMessage. False after a failed start.
bool startTextEditor(QWidget* parent, const QString& editorPath, const QString& fileName);

// The editor used when the settings name none: xdg-open (the desktop's handler for the file) on Linux, the
// Windows directory's notepad.exe on Windows.
QString defaultEditorPath();

// The editor the program uses for text files. The main window sets it from its settings; windows that open
// a file in the editor read it here. It starts as `defaultEditorPath()`.
QString editorPath();
void setEditorPath(const QString& path);

// How an editor setting becomes a program and its arguments: a setting that names an existing file is that
// program (blanks in its path included); otherwise it is split as a command line, so "kate -n" works. The
// file name is always the last argument, passed whole.
struct EditorCommand {
    QString program;
    QStringList arguments;
};
EditorCommand editorCommand(const QString& editorPath, const QString& fileName);

// A fake for tests: records every start and answers `succeed`.
class RecordingTextEditor : public TextEditorService {
  public:
    struct Start {
        QString editorPath;
        QString fileName;
    };

    bool start(const QString& editorPath, const QString& fileName) override {
        starts.push_back({editorPath, fileName});
        return succeed;
    }

    QString failure() const override { return succeed ? QString() : failureText; }

    std::vector<Start> starts;
    bool succeed = true;
    QString failureText;

  private:
    ServiceSlot<TextEditorService>::ScopedOverride override_{textEditor(), *this};
};

}  // namespace velmor::platform
