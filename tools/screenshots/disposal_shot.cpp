// Renders the number list of the tab "取号" with its menu "取号功能" popped up over a row:
//   lanxun-disposal-screenshot <folder>
// The rows are put in as an acquisition and the code polling leave them; nothing is sent.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

#include "numbers/number_disposal_controller.h"
#include "numbers/number_list.h"
#include "shot_support.h"
#include "ui/main_window.h"
#include "ui/menus.h"

namespace {

using shots::Child;
using shots::Settle;

struct ShownRow {
    const char* phone;
    const char* region;
    const char* code;
    const char* status;
    const char* sms;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDir folder;
    if (const int failed = shots::OpenOutputFolder(argc, argv, folder)) {
        return failed;
    }

    QPointer<lanxun::MainWindow> window =
        new lanxun::MainWindow(QPointer<QWidget>(), std::vector<lanxun::WorkerFactory>{});
    window->show();
    window->activateWindow();
    Settle(400);
    Child<QPushButton>(window, "超级按钮_收短信")->click();
    auto* picker = Child<QComboBox>(window, "组合框_取号_项目列表");
    picker->clear();
    picker->addItem(QStringLiteral("[1001]星河注册-登录 - {价格}：0.10"));
    picker->setCurrentIndex(0);

    auto* view = Child<QTreeWidget>(window, "超级列表框_取码_列表框");
    lanxun::NumberList list(view);
    const ShownRow rows[] = {
        {"13812345601", "广东", "352156", "短信已达到",
         "【星河】你的注册验证码是352156，5分钟内有效。"},
        {"13812345602", "浙江", "", "没有收到短信", ""},
        {"13812345603", "江苏", "", "已停止获取原因:超时", ""},
        {"13812345604", "北京", "", "没有收到短信", ""},
    };
    for (const ShownRow& row : rows) {
        const lanxun::NumberRow added = list.Append(
            QString::fromUtf8(row.phone), QStringLiteral("2026年12月10日17时8分"), "1001");
        list.Write(added.identity,
                   {{lanxun::NumberList::kHomeRegion, QString::fromUtf8(row.region)},
                    {lanxun::NumberList::kCode, QString::fromUtf8(row.code)},
                    {lanxun::NumberList::kStatus, QString::fromUtf8(row.status)},
                    {lanxun::NumberList::kSmsText, QString::fromUtf8(row.sms)}});
    }
    view->setCurrentItem(view->topLevelItem(0));
    Settle(300);

    // As a right click on the first row: the menu at the pointer.
    const QPoint at = view->viewport()->mapToGlobal(
        view->visualItemRect(view->topLevelItem(0)).center() - QPoint(250, 0));
    window->disposal().ShowMenu(at);
    QMenu* menu = window->menus().numberList.menu;
    Settle(500);
    const QRect area = window->frameGeometry().united(menu->geometry());
    const bool ok = shots::SavePicture(
        window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()), folder,
        QStringLiteral("numbers-menu"));
    menu->hide();
    delete window.data();
    return ok ? 0 : 1;
}
