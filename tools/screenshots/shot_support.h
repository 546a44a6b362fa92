#pragma once

// What every screenshot program does: let the window settle, find a control,
// write a picture and say where it went.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>

namespace shots {

// Lets events, timers and painting run for `ms` milliseconds.
inline void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

template <typename T>
T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
}

// Writes `picture` as `name`.png into `folder` and prints the path.
inline bool SavePicture(const QPixmap& picture, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

inline bool SaveWindow(QWidget* window, const QDir& folder, const QString& name) {
    return SavePicture(window->grab(), folder, name);
}

}  // namespace shots
