// A copy of the client's start-up for the self-update's end-to-end test: the
// real login window start-up with the real version check, update window,
// download, unpacking, start of the new program and end of this one, against
// the update host given as the one argument. Exit code 3 means no update ran.

#include <QApplication>
#include <memory>

#include "api/server_lines.h"
#include "ui/login_window.h"
#include "ui/update_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    auto login = std::make_unique<lanxun::LoginWindow>(lanxun::ServerLines{},
                                                       lanxun::LoginWindow::OpenMainWindow{});
    lanxun::InstallSelfUpdate(*login, QString::fromLocal8Bit(argv[1]));
    if (!login->RunStartup()) {
        return 0;
    }
    return 3;
}
