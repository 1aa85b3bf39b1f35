#pragma once

#include <QDir>
#include <QString>

namespace velmor::windows {

// A file under screenshots/ in the build tree, for a person to look at.
inline QString screenshotPath(const QString& name) {
    const QString dir = QString(VELMOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name;
}

}  // namespace velmor::windows
