#include "ui/menus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace lanxun {

namespace {

// Adds the menus and items of one window in creation order, so the order of the calls below is
// the order of the menus and of their items.
class MenuBuilder {
public:
    explicit MenuBuilder(QWidget* window) : window_(window) {}

    QMenu* Menu(const char* name) {
        const QString title = QString::fromUtf8(name);
        menu_ = new QMenu(title, window_);
        menu_->setObjectName(title);
        return menu_;
    }

    QAction* Item(const char* caption) {
        const QString text = QString::fromUtf8(caption);
        auto* action = new QAction(text, menu_);
        action->setObjectName(text);
        menu_->addAction(action);
        return action;
    }

private:
    QWidget* window_;
    QMenu* menu_ = nullptr;
};

}  // namespace

MainMenus CreateMainMenus(QWidget* window) {
    MenuBuilder b(window);
    // Each brace list runs left to right, so every item lands in the menu created just before.
    return MainMenus{
        .addFavourite = {.menu = b.Menu("短信收藏项目"), .addFavourite = b.Item("收藏(S)")},
        .removeFavourite = {.menu = b.Menu("取消收藏项目"),
                            .removeFavourite = b.Item("取消收藏(A)")},
        .runningDocking = {.menu = b.Menu("暂停对接"),
                           .copyCode = b.Item("复制对接码"),
                           .pause = b.Item("暂停对接(Z)"),
                           .remove = b.Item("删除对接(T)"),
                           .refresh = b.Item("刷新(W)")},
        .pausedDocking = {.menu = b.Menu("恢复对接"),
                          .copyCode = b.Item("复制对接码(Y)"),
                          .resume = b.Item("恢复对接(H)"),
                          .remove = b.Item("删除对接(P)"),
                          .refresh = b.Item("刷新(K)")},
        .dockingRefresh = {.menu = b.Menu("专属刷新"), .refresh = b.Item("刷新(Q)")},
        .publicDocking = {.menu = b.Menu("公开加入专属"),
                          .join = b.Item("加入专属(J)"),
                          .refresh = b.Item("刷新(R)")},
        .filteredDocking = {.menu = b.Menu("专属"), .join = b.Item("加入专属")},
        .numberList = {.menu = b.Menu("取号功能"),
                       .copyPhone = b.Item("复制手机号码(A)"),
                       .copyCode = b.Item("复制验证码(B)"),
                       .copyAllPhones = b.Item("复制全部手机号码(D)"),
                       .copySmsText = b.Item("复制短信内容(C)"),
                       .useAgain = b.Item("再次使用号码"),
                       .release = b.Item("释放号码"),
                       .blacklist = b.Item("拉黑号码")},
        .securityCentre = {.menu = b.Menu("安全中心"),
                           .changePassword = b.Item("修改密码"),
                           .personalInfo = b.Item("个人信息"),
                           .securitySettings = b.Item("安全设置")},
        .funds = {.menu = b.Menu("资金操作"),
                  .withdraw = b.Item("提现"),
                  .withdrawalRecords = b.Item("提现记录"),
                  .rechargeRecords = b.Item("充值记录"),
                  .smsRecords = b.Item("短信记录"),
                  .referralRecords = b.Item("推荐人奖励明细")},
        .smsRecords = {.menu = b.Menu("资金明细复制"),
                       .copyPhone = b.Item("复制手机号码(E)"),
                       .copySmsText = b.Item("复制短信内容(W)")},
        .rechargeRecords = {.menu = b.Menu("复制订单"),
                            .copyOrderNumber = b.Item("复制订单号(F)"),
                            .refresh = b.Item("刷新(Y)")},
        .withdrawalRecords = {.menu = b.Menu("提现刷新"), .refresh = b.Item("刷新(S)")},
    };
}

}  // namespace lanxun
