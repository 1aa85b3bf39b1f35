#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>

#include "platform/file_dialog_service.h"
#include "platform/text_editor_service.h"

namespace velmor::platform {
namespace {

TEST(TextEditor, AFailedStartNamesTheCommandAndTheSystemsReason) {
    TextEditorService& editor = textEditor().get();
    EXPECT_FALSE(editor.start("/nonexistent/velmor-editor -n", "/tmp/wall one.vm4o"));
    const QStringList lines = editorFailureMessage(editor).split('\r');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "An error occurred in running the Word Processor");
    EXPECT_TRUE(lines[1].startsWith("/nonexistent/velmor-editor -n \"/tmp/wall one.vm4o\": "))
        << lines[1].toStdString();
    EXPECT_GT(lines[1].size(), QString("/nonexistent/velmor-editor -n \"/tmp/wall one.vm4o\": ").size());
}

TEST(ProgramDialog, TheProgramsEntryListsExecutableFilesWhileChosen) {
    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    setOpenDialogFilter(dialog, QString("Programs|") + kExecutableFiles + "|All Files (*)|*");
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"Programs (*)", "All Files (*)"}));
    EXPECT_TRUE(dialog.filter().testFlag(QDir::Executable));
    emit dialog.filterSelected("All Files (*)");
    EXPECT_FALSE(dialog.filter().testFlag(QDir::Executable));
    emit dialog.filterSelected("Programs (*)");
    EXPECT_TRUE(dialog.filter().testFlag(QDir::Executable));
}

}  // namespace
}  // namespace velmor::platform
