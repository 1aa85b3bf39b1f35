#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

// The folder the pictures go to, given when the program runs.
namespace velmor::shots {

QString& Folder();

// The file `Name` in the pictures' folder (the folder is made when missing).
inline QString Path(const QString& Name) {
    QDir().mkpath(Folder());
    return Folder() + "/" + Name;
}

// Shows `Window`, writes its picture to <folder>/<Name>.png and hides it again.
bool Save(QWidget& Window, const QString& Name);

}  // namespace velmor::shots
