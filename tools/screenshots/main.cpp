// Renders every window of the client to <folder>/<name>.png, as the X server shows it:
//   lanxun-screenshots <folder>
// The windows are shown with their forms as they open; the main window after its first
// activation (status bar, region pickers) with a sample login. No request is sent.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTabWidget>
#include <QTextStream>
#include <functional>
#include <memory>

#include "account/login_state.h"
#include "shot_support.h"
#include "ui/developer_api_window.h"
#include "ui/docking_help_window.h"
#include "ui/forms.h"
#include "ui/frameless_window.h"
#include "ui/main_window.h"

// Both docking tabs and the registration window filled in, against the local platform.
bool ShootWithPlatform(const QDir& folder,
                       bool (*save)(QWidget* window, const QDir& folder, const QString& name));

namespace {

using shots::Child;
using shots::Settle;

using lanxun::FramelessWindow;

// A window holding just the form.
FramelessWindow* FormOnly(lanxun::FormId id) {
    const lanxun::FormDefinition& form = lanxun::Form(id);
    auto* window = new FramelessWindow(
        nullptr, form.systemFrame ? FramelessWindow::Frame::System : FramelessWindow::Frame::None);
    lanxun::SetUpFormOnly(form, window);
    return window;
}

struct Shot {
    const char* name;
    std::function<FramelessWindow*()> create;
    const char* pages = nullptr;  // page control whose every page gets a picture of its own
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder)) {
        return failed;
    }

    lanxun::LoginState& login = lanxun::CurrentLogin();
    login.userName = QStringLiteral("demo");
    login.balance = QStringLiteral("128.50");
    login.withdrawable = QStringLiteral("36.00");
    login.serviceQq = QStringLiteral("800012345");

    const Shot shots[] = {
        {"login", [] { return FormOnly(lanxun::FormId::Login); }},
        {"registration", [] { return FormOnly(lanxun::FormId::Registration); }},
        {"main",
         [] {
             return new lanxun::MainWindow(QPointer<QWidget>(),
                                           std::vector<lanxun::WorkerFactory>{});
         },
         "高级选择夹1"},
        {"recharge", [] { return FormOnly(lanxun::FormId::Recharge); }, "高级选择夹1"},
        {"change_password", [] { return FormOnly(lanxun::FormId::ChangePassword); }},
        {"personal_info", [] { return FormOnly(lanxun::FormId::PersonalInfo); }},
        {"security", [] { return FormOnly(lanxun::FormId::Security); }},
        {"withdrawal", [] { return FormOnly(lanxun::FormId::Withdrawal); }},
        {"apply_project", [] { return FormOnly(lanxun::FormId::ApplyProject); }, "高级选择夹2"},
        {"announcement", [] { return FormOnly(lanxun::FormId::Announcement); }},
        {"update", [] { return FormOnly(lanxun::FormId::Update); }},
        {"developer_api", [] { return new lanxun::DeveloperApiWindow; }},
        {"docking_help", [] { return new lanxun::DockingHelpWindow; }},
    };

    bool ok = true;
    for (const Shot& shot : shots) {
        QPointer<FramelessWindow> window = shot.create();
        window->show();
        window->activateWindow();
        Settle(400);
        const QString name = QString::fromUtf8(shot.name);
        ok = shots::SaveWindow(window, folder, name) && ok;
        if (shot.pages) {
            if (auto* pages = window->findChild<QTabWidget*>(QString::fromUtf8(shot.pages))) {
                const int shown = pages->currentIndex();
                for (int page = 0; page < pages->count(); ++page) {
                    if (page == shown) {
                        continue;  // that is the window's own picture
                    }
                    pages->setCurrentIndex(page);
                    Settle(100);
                    ok = shots::SaveWindow(window, folder,
                                           name + QStringLiteral("-page%1").arg(page)) &&
                         ok;
                }
                pages->setCurrentIndex(shown);
            }
        }
        delete window.data();
    }
    ok = ShootWithPlatform(folder, &shots::SaveWindow) && ok;
    return ok ? 0 : 1;
}
