#pragma once

class QAction;
class QMenu;
class QWidget;

namespace lanxun {

// The main window's pop-up menus. It has no menu bar; each menu is a hidden QMenu child of the
// window, popped up at the mouse by a right-click or a button. A menu's objectName and title
// are its name ("取号功能", ...); each item is a QAction child of its menu whose objectName and
// text are the item's caption ("复制手机号码(A)", ...). The wiring uses the members below, so a
// misspelt item does not compile.

// "短信收藏项目": a row of the project list that is not a favourite.
struct AddFavouriteMenu {
    QMenu* menu;
    QAction* addFavourite;  // "收藏(S)"
};

// "取消收藏项目": a favourite row of the project list.
struct RemoveFavouriteMenu {
    QMenu* menu;
    QAction* removeFavourite;  // "取消收藏(A)"
};

// "暂停对接": a running docking of the list "专属对接".
struct RunningDockingMenu {
    QMenu* menu;
    QAction* copyCode;  // "复制对接码"
    QAction* pause;     // "暂停对接(Z)"
    QAction* remove;    // "删除对接(T)"
    QAction* refresh;   // "刷新(W)"
};

// "恢复对接": a paused docking of the list "专属对接".
struct PausedDockingMenu {
    QMenu* menu;
    QAction* copyCode;  // "复制对接码(Y)"
    QAction* resume;    // "恢复对接(H)"
    QAction* remove;    // "删除对接(P)"
    QAction* refresh;   // "刷新(K)"
};

// "专属刷新": the list "专属对接" without a selected row.
struct DockingRefreshMenu {
    QMenu* menu;
    QAction* refresh;  // "刷新(Q)"
};

// "公开加入专属": the full public docking list.
struct PublicDockingMenu {
    QMenu* menu;
    QAction* join;     // "加入专属(J)"
    QAction* refresh;  // "刷新(R)"
};

// "专属": the filtered public docking list.
struct FilteredDockingMenu {
    QMenu* menu;
    QAction* join;  // "加入专属"
};

// "取号功能": the number list of the tab "取号".
struct NumberListMenu {
    QMenu* menu;
    QAction* copyPhone;      // "复制手机号码(A)"
    QAction* copyCode;       // "复制验证码(B)"
    QAction* copyAllPhones;  // "复制全部手机号码(D)"
    QAction* copySmsText;    // "复制短信内容(C)"
    QAction* useAgain;       // "再次使用号码"
    QAction* release;        // "释放号码"
    QAction* blacklist;      // "拉黑号码"
};

// "安全中心": the button of that name.
struct SecurityCentreMenu {
    QMenu* menu;
    QAction* changePassword;    // "修改密码"
    QAction* personalInfo;      // "个人信息"
    QAction* securitySettings;  // "安全设置"
};

// "资金操作": the button "超级按钮_启动服务5".
struct FundsMenu {
    QMenu* menu;
    QAction* withdraw;           // "提现"
    QAction* withdrawalRecords;  // "提现记录"
    QAction* rechargeRecords;    // "充值记录"
    QAction* smsRecords;         // "短信记录"
    QAction* referralRecords;    // "推荐人奖励明细"
};

// "资金明细复制": the SMS record list.
struct SmsRecordsMenu {
    QMenu* menu;
    QAction* copyPhone;    // "复制手机号码(E)"
    QAction* copySmsText;  // "复制短信内容(W)"
};

// "复制订单": the recharge record list.
struct RechargeRecordsMenu {
    QMenu* menu;
    QAction* copyOrderNumber;  // "复制订单号(F)"
    QAction* refresh;          // "刷新(Y)"
};

// "提现刷新": the withdrawal record list.
struct WithdrawalRecordsMenu {
    QMenu* menu;
    QAction* refresh;  // "刷新(S)"
};

// Every menu of the main window, in the order they are created.
struct MainMenus {
    AddFavouriteMenu addFavourite;
    RemoveFavouriteMenu removeFavourite;
    RunningDockingMenu runningDocking;
    PausedDockingMenu pausedDocking;
    DockingRefreshMenu dockingRefresh;
    PublicDockingMenu publicDocking;
    FilteredDockingMenu filteredDocking;
    NumberListMenu numberList;
    SecurityCentreMenu securityCentre;
    FundsMenu funds;
    SmsRecordsMenu smsRecords;
    RechargeRecordsMenu rechargeRecords;
    WithdrawalRecordsMenu withdrawalRecords;
};

// Creates the menus as children of `window`. Call it once per window.
MainMenus CreateMainMenus(QWidget* window);

}  // namespace lanxun
