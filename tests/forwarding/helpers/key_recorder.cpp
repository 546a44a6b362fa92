// A stand-in for a chat window in another process: a text box that writes every key it
// receives to a file, as it arrives. Characters are written as they are; Enter is written
// "[Enter]", with its modifiers in front ("[S-Enter]" for Shift+Enter, "[C-Enter]" ...).
//
//     key_recorder <log file> <window title> [--close-after <characters>] [--at <x>,<y>]
//
// Once the window is on the screen its X11 window ID is written, as decimal text, to
// "<log file>.id". With --close-after the window closes itself after that many characters,
// as a chat window closed in the middle of typing.

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>
#include <QWindow>

namespace {

class Recorder : public QObject {
public:
    Recorder(QString logPath, int closeAfter) : log_(std::move(logPath)), closeAfter_(closeAfter) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return QObject::eventFilter(watched, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        QString entry;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QString modifiers;
            if (key->modifiers() & Qt::ShiftModifier)
                modifiers += QStringLiteral("S-");
            if (key->modifiers() & Qt::ControlModifier)
                modifiers += QStringLiteral("C-");
            if (key->modifiers() & Qt::AltModifier)
                modifiers += QStringLiteral("A-");
            entry = QStringLiteral("[") + modifiers + QStringLiteral("Enter]");
        } else {
            entry = key->text();
            characters_ += int(entry.toUcs4().size());
        }
        QFile file(log_);
        if (file.open(QIODevice::Append)) {
            file.write(entry.toUtf8());
        }
        file.close();
        if (closeAfter_ > 0 && characters_ >= closeAfter_) {
            QCoreApplication::exit(0);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString log_;
    int closeAfter_;
    int characters_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        return 2;
    }
    const QString logPath = args.at(1);
    int closeAfter = 0;
    const qsizetype closeAt = args.indexOf(QStringLiteral("--close-after"));
    if (closeAt > 0 && closeAt + 1 < args.size()) {
        closeAfter = args.at(closeAt + 1).toInt();
    }

    QFile(logPath).open(QIODevice::WriteOnly);  // the log starts empty
    Recorder recorder(logPath, closeAfter);
    QPlainTextEdit window;
    window.setWindowTitle(args.at(2));
    window.resize(360, 240);
    const qsizetype at = args.indexOf(QStringLiteral("--at"));
    if (at > 0 && at + 1 < args.size()) {
        const QStringList xy = args.at(at + 1).split(QLatin1Char(','));
        window.move(xy.value(0).toInt(), xy.value(1).toInt());
    }
    window.installEventFilter(&recorder);
    window.show();

    // The ID goes out once the window is exposed, so that whoever reads it can act on it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!window.windowHandle()->isExposed()) {
            return;
        }
        poll.stop();
        QSaveFile id(logPath + QStringLiteral(".id"));
        if (id.open(QIODevice::WriteOnly)) {
            id.write(QByteArray::number(quint64(window.winId())));
            id.commit();
        }
    });
    poll.start(10);
    return app.exec();
}
