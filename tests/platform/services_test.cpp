#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/clipboard_service.h"
#include "platform/file_dialog_service.h"
#include "platform/text_editor_service.h"

namespace velmor::platform {
namespace {

TEST(FileDialogs, FiltersBecomeQtFilters) {
    struct Case {
        const char* filter;
        const char* expected;
    };
    const Case cases[] = {
        {"Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|All Files (*.*)|*.*",
         "Text Files (*.txt);;Data Files (*.dat);;All Files (*.*)"},
        {"Input files|*.vm4d;*.vmd", "Input files (*.vm4d *.vmd)"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(qtFilter(c.filter), c.expected) << c.filter;
}

TEST(FileDialogs, FakeRecordsRequestsAndCancelsWhenOutOfAnswers) {
    RecordingFileDialogs dialogs;
    dialogs.answers = {"/tmp/a.txt"};
    EXPECT_EQ(fileDialogs().get().openFileName(nullptr, "x", "F|*.f"), "/tmp/a.txt");
    EXPECT_EQ(fileDialogs().get().saveFileName(nullptr, "y", "G|*.g"), "");
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_FALSE(dialogs.requests[0].save);
    EXPECT_TRUE(dialogs.requests[1].save);
    EXPECT_EQ(dialogs.requests[1].fileName, "y");
}

TEST(TextEditor, SettingBecomesProgramAndArguments) {
    QTemporaryDir dir;
    const QString withBlank = dir.filePath("my editor");
    QFile program(withBlank);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();

    struct Case {
        QString setting;
        QString program;
        QStringList arguments;
    };
    const Case cases[] = {
        {"xdg-open", "xdg-open", {"/data/a b.txt"}},
        {"kate -n", "kate", {"-n", "/data/a b.txt"}},
        {withBlank, withBlank, {"/data/a b.txt"}},
        {"", "", {"/data/a b.txt"}},
    };
    for (const Case& c : cases) {
        const EditorCommand command = editorCommand(c.setting, "/data/a b.txt");
        EXPECT_EQ(command.program, c.program) << c.setting.toStdString();
        EXPECT_EQ(command.arguments, c.arguments) << c.setting.toStdString();
    }
}

TEST(TextEditor, ProgramThatDoesNotExistFailsToStart) {
    EXPECT_FALSE(textEditor().get().start("/nonexistent/editor", "file.txt"));
    EXPECT_FALSE(textEditor().get().start("", "file.txt"));
}

TEST(TextEditor, EditorPathStartsAsDefaultAndCanBeChanged) {
    const QString saved = editorPath();
    EXPECT_EQ(saved, defaultEditorPath());
    setEditorPath("kate");
    EXPECT_EQ(editorPath(), "kate");
    setEditorPath(saved);
}

TEST(Clipboard, FakeReplacesTheSystemClipboardWhileAlive) {
    {
        FakeClipboard fake;
        EXPECT_FALSE(clipboard().get().text().has_value());
        clipboard().get().setText("1 2\r\n");
        EXPECT_EQ(fake.content, QString("1 2\r\n"));
    }
    clipboard().get().setText("system");
    EXPECT_EQ(clipboard().get().text().value_or(""), "system");
}

}  // namespace
}  // namespace velmor::platform
