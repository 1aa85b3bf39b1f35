#pragma once

#include <QApplication>
#include <filesystem>
#include <string>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "support/test_support.h"
#include "windows/main_form.h"

namespace velmor::windows {

// Copies the real engine library from the build's bin directory into a program directory.
inline void installEngine(const std::filesystem::path& programDir) {
    namespace fs = std::filesystem;
    fs::create_directories(programDir);
    fs::copy_file(fs::path(QApplication::applicationDirPath().toStdString()) / "Velmor2013_DLL.so",
                  programDir / "Velmor2013_DLL.so", fs::copy_options::overwrite_existing);
}

// A scratch directory with the real engine in its program directory, messages and settings faked, and one
// example project copied in (`project` is its path).
struct EngineRunSetup {
    explicit EngineRunSetup(const std::string& example) {
        namespace fs = std::filesystem;
        installEngine(dir.path() / "bin");
        TMainForm::SetProgramDirectory(QString::fromStdString((dir.path() / "bin").string()));
        fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / example, dir.path() / example);
        project = QString::fromStdString(dir.file(example));
    }
    ~EngineRunSetup() { TMainForm::SetProgramDirectory(QString()); }

    test::ScratchDir dir;
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    QString project;
};

}  // namespace velmor::windows
