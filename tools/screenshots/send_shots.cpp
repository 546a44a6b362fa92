// Renders the tab "发短信" after a whole send against the local platform, run in this process
// on loopback: a send project and its sending number picked, a number obtained, a text sent and
// the result "成功" reported.
//   lanxun-send-screenshot <folder>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/send_result_poller.h"
#include "platform/message_box.h"
#include "platform_sim.h"
#include "projects/project_pickers_controller.h"
#include "shot_platform.h"
#include "shot_support.h"
#include "ui/main_window.h"

namespace {

using shots::Child;
using shots::Settle;

// The submission's reply box would cover the tab; nothing is shown.
class NoBoxes : public lanxun::MessageBoxService {
public:
    bool Show(const lanxun::Message&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder)) {
        return failed;
    }

    platformsim::PlatformSim sim;
    if (!shots::StartDemoPlatform(sim)) {
        return 1;
    }
    NoBoxes boxes;
    lanxun::InstallMessageBoxes(&boxes);

    sim.Script("yh_qh", shots::GbkReply(QStringLiteral("1|13812345678")));
    sim.Script("fdx_tj", shots::GbkReply(QStringLiteral("发送内容提交成功等待卡商发送短信")));
    sim.Script("yh_qm", shots::GbkReply(QStringLiteral("1|13812345678|短信发送成功")));

    bool ok = true;
    {
        const std::vector<lanxun::WorkerFactory> loaders = {
            [](lanxun::MainWindow& w) { return w.pickers().CreateSendLoader(); }};
        lanxun::MainWindow window(QPointer<QWidget>(), loaders);
        window.show();
        window.activateWindow();
        Settle(1500);  // the send picker loads from the favourites
        Child<QPushButton>(&window, "超级按钮_发短信")->click();

        auto* projects = Child<QComboBox>(&window, "组合框_发短信_项目列表");
        projects->setCurrentIndex(projects->count() - 1);
        emit projects->activated(projects->currentIndex());
        Child<QPushButton>(&window, "按钮_发短信_获取号码")->click();
        Child<QPlainTextEdit>(&window, "编辑框_发短信_发送内容")
            ->setPlainText(QStringLiteral("CXYE"));
        Child<QPushButton>(&window, "按钮_发短信_提交发短信内容")->click();

        lanxun::SendResultPoller poller(lanxun::SendResultPoller::Widgets{
            .projectPicker = projects,
            .number = Child<QLineEdit>(&window, "编辑框_发短信_获取号码"),
            .status = Child<QLineEdit>(&window, "编辑框_发短信_取码状态"),
            .obtainedAt = Child<QLineEdit>(&window, "编辑框_发短信_取号时间"),
            .resultLine = Child<QLabel>(&window, "透明标签40"),
            .smsText = Child<QPlainTextEdit>(&window, "编辑框_发短信_短信内容")});
        poller.Start();
        Settle(1500);
        ok = shots::SaveWindow(&window, folder, QStringLiteral("send-sms-finished"));
        poller.Stop();
    }
    lanxun::InstallMessageBoxes(nullptr);
    return ok ? 0 : 1;
}
