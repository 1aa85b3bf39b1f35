#include "platform/file_dialog_service.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace velmor::platform {

namespace {

class QtFileDialogs : public FileDialogService {
  public:
    QString openFileName(QWidget* parent, const QString& fileName, const QString& filter) override {
        if (!filter.contains(kExecutableFiles))
            return QFileDialog::getOpenFileName(parent, QString(), fileName, qtFilter(filter));
        QFileDialog dialog(parent, QString(), fileName);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        setOpenDialogFilter(dialog, filter);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        return dialog.selectedFiles().first();
    }

    QString saveFileName(QWidget* parent, const QString& fileName, const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, QString(), fileName, qtFilter(filter));
    }
};

}  // namespace

ServiceSlot<FileDialogService>& fileDialogs() {
    static QtFileDialogs standard;
    static ServiceSlot<FileDialogService> slot(standard);
    return slot;
}

QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        entries << (description.contains('(') ? description : description + " (" + patterns + ")");
    }
    if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty()) entries << parts.back().trimmed();
    return entries.join(";;");
}

void setOpenDialogFilter(QFileDialog& dialog, const QString& filter) {
    QString plain = filter;
    plain.replace(kExecutableFiles, "*");
    const QStringList entries = qtFilter(plain).split(";;");
    // The entries that list executable files, by their place in the filter.
    QStringList executable;
    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (parts[i + 1].trimmed() == kExecutableFiles && i / 2 < entries.size()) executable << entries[i / 2];
    dialog.setNameFilters(entries);
    const QDir::Filters normal = dialog.filter() & ~QDir::Executable;
    const auto choose = [&dialog, executable, normal](const QString& entry) {
        dialog.setFilter(executable.contains(entry) ? normal | QDir::Executable | QDir::AllDirs : normal);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, choose);
    choose(dialog.selectedNameFilter());
}

QString RecordingFileDialogs::openFileName(QWidget*, const QString& fileName, const QString& filter) {
    return answer(false, fileName, filter);
}

QString RecordingFileDialogs::saveFileName(QWidget*, const QString& fileName, const QString& filter) {
    return answer(true, fileName, filter);
}

QString RecordingFileDialogs::answer(bool save, const QString& fileName, const QString& filter) {
    requests.push_back({save, fileName, filter});
    if (answers.empty()) return QString();
    QString name = answers.front();
    answers.erase(answers.begin());
    return name;
}

}  // namespace velmor::platform
