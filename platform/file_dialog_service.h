#pragma once

#include <QString>
#include <vector>

#include "platform/service_slot.h"

class QFileDialog;
class QWidget;

namespace velmor::platform {

// Open and save file dialogs. A filter is given as the program writes it everywhere: pairs of a
// description and its patterns separated by "|" ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*").
// An empty answer means the user cancelled.
class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    virtual QString openFileName(QWidget* parent, const QString& fileName, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& fileName, const QString& filter) = 0;
};

// A pattern list of a filter entry that stands for the files the user may run: programs on Linux carry no
// extension, so while that entry is chosen the open dialog lists the executable files.
inline constexpr const char* kExecutableFiles = "<executable>";

// The program's file dialogs: QFileDialog unless a test has put a fake in place.
ServiceSlot<FileDialogService>& fileDialogs();

// The "|"-separated filter as Qt writes it: "Text Files (*.txt);;All Files (*.*)". A description that does
// not already show its patterns in parentheses gets them appended; patterns separated by ";" are joined by
// blanks, as Qt expects.
QString qtFilter(const QString& filter);

// Gives an open dialog the entries of `filter`. An entry whose patterns are kExecutableFiles shows as
// "<description> (*)" and, while chosen, lists only the executable files (and the folders).
void setOpenDialogFilter(QFileDialog& dialog, const QString& filter);

// A fake for tests: records each request and answers from `answers` (an empty name, that is a cancelled
// dialog, when none is left).
class RecordingFileDialogs : public FileDialogService {
  public:
    struct Request {
        bool save;
        QString fileName;
        QString filter;
    };

    QString openFileName(QWidget* parent, const QString& fileName, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& fileName, const QString& filter) override;

    std::vector<Request> requests;
    std::vector<QString> answers;  // taken from the front

  private:
    QString answer(bool save, const QString& fileName, const QString& filter);
    ServiceSlot<FileDialogService>::ScopedOverride override_{fileDialogs(), *this};
};

}  // namespace velmor::platform
