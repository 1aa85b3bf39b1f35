#include "windows/project_file_dialogs.h"

#include <QFileDialog>

namespace velmor::windows {

namespace {

const char* const kFilters[] = {"Velmor 2013 (*.vm4d)", "Velmor 3.0 (*.vmd)", "Velmor 2.0 (*.vmd)", "All Files (*.*)"};

class QtProjectDialogs : public ProjectFileDialogs {
  public:
    bool open(QWidget* parent, QString& fileName, int& filterIndex) override {
        QFileDialog dialog(parent, "Open", QString(), projectFileFilter());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        fileName = dialog.selectedFiles().first();
        filterIndex = 1;
        for (int i = 0; i < 4; ++i) {
            if (dialog.selectedNameFilter() == kFilters[i]) filterIndex = i + 1;
        }
        return true;
    }

    bool save(QWidget* parent, const QString& title, QString& fileName) override {
        QFileDialog dialog(parent, title, QString(), projectFileFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A typed name without extension is saved as a current-layout file, never as ".vmd".
        dialog.setDefaultSuffix("vm4d");
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        fileName = dialog.selectedFiles().first();
        return true;
    }
};

}  // namespace

QString projectFileFilter() {
    return QString("%1;;%2;;%3;;%4").arg(kFilters[0], kFilters[1], kFilters[2], kFilters[3]);
}

platform::ServiceSlot<ProjectFileDialogs>& projectFileDialogs() {
    static QtProjectDialogs standard;
    static platform::ServiceSlot<ProjectFileDialogs> slot(standard);
    return slot;
}

bool ScriptedProjectDialogs::open(QWidget*, QString& fileName, int& filterIndex) {
    ++opens;
    if (openAnswers.empty()) return false;
    fileName = openAnswers.front().fileName;
    filterIndex = openAnswers.front().filterIndex;
    openAnswers.pop_front();
    return true;
}

bool ScriptedProjectDialogs::save(QWidget*, const QString& title, QString& fileName) {
    saveTitles.push_back(title);
    proposedNames.push_back(fileName);
    if (saveAnswers.empty()) return false;
    fileName = saveAnswers.front();
    saveAnswers.pop_front();
    return true;
}

}  // namespace velmor::windows
