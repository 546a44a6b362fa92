#include "ui/menus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace lanxun {

namespace {

struct MenuEntry {
    const char* name;
    std::initializer_list<const char*> items;
};

const MenuEntry kMainMenus[] = {
    {"短信收藏项目", {"收藏(S)"}},
    {"取消收藏项目", {"取消收藏(A)"}},
    {"暂停对接", {"复制对接码", "暂停对接(Z)", "删除对接(T)", "刷新(W)"}},
    {"恢复对接", {"复制对接码(Y)", "恢复对接(H)", "删除对接(P)", "刷新(K)"}},
    {"专属刷新", {"刷新(Q)"}},
    {"公开加入专属", {"加入专属(J)", "刷新(R)"}},
    {"专属", {"加入专属"}},
    {"取号功能",
     {"复制手机号码(A)", "复制验证码(B)", "复制全部手机号码(D)", "复制短信内容(C)", "再次使用号码",
      "释放号码", "拉黑号码"}},
    {"安全中心", {"修改密码", "个人信息", "安全设置"}},
    {"资金操作", {"提现", "提现记录", "充值记录", "短信记录", "推荐人奖励明细"}},
    {"资金明细复制", {"复制手机号码(E)", "复制短信内容(W)"}},
    {"复制订单", {"复制订单号(F)", "刷新(Y)"}},
    {"提现刷新", {"刷新(S)"}},
};

}  // namespace

void CreateMainMenus(QWidget* window) {
    for (const auto& entry : kMainMenus) {
        const QString name = QString::fromUtf8(entry.name);
        if (MainMenu(window, name) != nullptr) {
            continue;
        }
        auto* menu = new QMenu(name, window);
        menu->setObjectName(name);
        for (const char* caption : entry.items) {
            const QString text = QString::fromUtf8(caption);
            auto* action = new QAction(text, menu);
            action->setObjectName(text);
            menu->addAction(action);
        }
    }
}

QMenu* MainMenu(QWidget* window, const QString& name) {
    return window->findChild<QMenu*>(name, Qt::FindDirectChildrenOnly);
}

QAction* MainMenuItem(QWidget* window, const QString& menu, const QString& item) {
    QMenu* found = MainMenu(window, menu);
    return found == nullptr ? nullptr
                            : found->findChild<QAction*>(item, Qt::FindDirectChildrenOnly);
}

}  // namespace lanxun
