#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPointer>

#include "account/store_lock.h"
#include "api/server_lines.h"
#include "lanxun/build_config.h"
#include "ui/login_window.h"
#include "ui/main_window.h"
#include "ui/update_window.h"
#include "ui/window_factory.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Message boxes and anything else without a font of its own must render Chinese.
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));

    // The table store's one lock exists before any window can use the store.
    lanxun::StoreLock();

    auto* login = new lanxun::LoginWindow(
        lanxun::ServerLines::FromBuild(), [](QPointer<QWidget> loginWindow) {
            // Deletes itself on close; the program ends with it.
            auto* mainWindow = new lanxun::MainWindow(loginWindow);
            mainWindow->show();
            // Its first activation finishes the start, so ask
            // for it even where no window manager gives it.
            mainWindow->activateWindow();
        });
    login->SetRegistrationWindow([login] {
        return lanxun::CreateRegistrationWindow(
            login->findChild<QLineEdit*>(QStringLiteral("编辑框_用户名")),
            login->findChild<QLineEdit*>(QStringLiteral("编辑框_密码")));
    });
    lanxun::InstallSelfUpdate(*login, QString::fromUtf8(lanxun::build::kUpdateHost));
    if (!login->RunStartup()) {
        return 0;
    }
    login->show();
    return app.exec();
}
