#pragma once

#include <QString>
#include <deque>

#include "platform/service_slot.h"

class QWidget;

namespace velmor::windows {

// The Open and Save As dialogs of the project file. The filter's index chooses the layout read.
class ProjectFileDialogs {
  public:
    virtual ~ProjectFileDialogs() = default;
    // True when confirmed; `fileName` and `filterIndex` (1 based) then hold the choice.
    virtual bool open(QWidget* parent, QString& fileName, int& filterIndex) = 0;
    // `fileName` holds the proposed name on entry and the chosen one when confirmed.
    virtual bool save(QWidget* parent, const QString& title, QString& fileName) = 0;
};

platform::ServiceSlot<ProjectFileDialogs>& projectFileDialogs();

// "Velmor 2013 (*.vm4d)", "Velmor 3.0 (*.vmd)", "Velmor 2.0 (*.vmd)", "All Files (*.*)".
QString projectFileFilter();

// A fake for tests: answers from queues (a dialog without a queued answer is cancelled) and records the
// save dialogs' titles and proposed names.
class ScriptedProjectDialogs : public ProjectFileDialogs {
  public:
    struct OpenAnswer {
        QString fileName;
        int filterIndex = 1;
    };
    bool open(QWidget* parent, QString& fileName, int& filterIndex) override;
    bool save(QWidget* parent, const QString& title, QString& fileName) override;

    std::deque<OpenAnswer> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> saveTitles, proposedNames;
    int opens = 0;

  private:
    platform::ServiceSlot<ProjectFileDialogs>::ScopedOverride override_{projectFileDialogs(), *this};
};

}  // namespace velmor::windows
