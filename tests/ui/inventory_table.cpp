#include "ui/inventory_table.h"

#include <QByteArray>

namespace lanxun::inventory {

namespace {

using K = Kind;

const std::vector<const char*> kQuestions = {"你初中的老师叫什么？", "你喜欢的颜色？",
                                             "你小学的学号是多少？", "你的梦想是什么？"};
const std::vector<const char*> kOperators = {"默认", "移动", "联通", "电信"};
const std::vector<const char*> kCardTypes = {"默认", "虚拟", "实卡"};
const char* const kDashes = "------------------------------------------------------------";

// A title box: 24 × 24 picture box at x (and y when the definitions give it).
Control Box(const char* name, int x, int y = kAny) {
    return {name, K::PictureBox, "", {x, y, 24, 24}};
}

std::vector<Control> LoginControls() {
    return {
        Box("图片框7", 504, 0),
        Box("图片框8", 528, 0),
        Box("图片框9", 552, 0),
        {"透明标签3", K::TransparentLabel, "岚讯短信平台", {48, 48, 192, 48}},
        {"图片框1", K::PictureBox, nullptr, {1, 32, 303, 360}},
        {"透明标签4", K::TransparentLabel, "账户登录", {376, 32, 136, 48}},
        {"透明标签55",
         K::TransparentLabel,
         "聚友之家论坛（网赚交流，平台交流）",
         {328, 88, 208, 32}},
        {"透明标签1", K::TransparentLabel, "用户名：", {309, 152, 43, 16}},
        {"编辑框_用户名", K::EditBox, "", {376, 147, 128, 24}},
        {"透明标签_注册", K::TransparentLabel, "密码：", {320, 208, 40, 16}},
        {"编辑框_密码", K::PasswordEdit, "", {376, 203, 128, 24}},
        {"按钮1", K::Button, "登录", {384, 248, 112, 32}},
        {"按钮_注册账户", K::Button, "注册账户", {309, 307, 72, 24}},
        {"按钮_找回密码", K::Button, "找回密码", {497, 307, 72, 24}},
        {"透明标签2", K::TransparentLabel, "当前线路：中国线路", {456, 336, 112, 32}},
    };
}

std::vector<Control> RegistrationControls() {
    std::vector<Control> controls = {
        {"透明标签6", K::TransparentLabel, "账户注册", {88, 8, 96, 16}},
        Box("图片框20", 176),
        Box("图片框21", 200),
        Box("图片框22", 224),
        {"按钮_注册", K::Button, "注册", {77, 275, 138, 32}},
    };
    struct Row {
        int labelY;
        const char* label;
        const char* labelText;
        int inputY;
        const char* input;
    };
    const Row rows[] = {
        {29, "透明标签1", "用户名：", 29, "编辑框_用户名"},
        {63, "透明标签2", "密  码：", 64, "编辑框_密码"},
        {90, "透明标签3", "确认密码：", 91, "编辑框_确认密码"},
        {117, "透明标签10", "联系QQ：", 118, "编辑框_联系QQ"},
        {145, "透明标签11", "真实姓名：", 145, "编辑框_真实姓名"},
        {170, "透明标签12", "支付宝：", 172, "编辑框_支付宝"},
        {198, "透明标签4", "安全问题：", 199, "组合框_安全问题"},
        {219, "透明标签5", "安全答案：", 222, "编辑框_安全答案"},
        {243, "透明标签7", "推荐人：", 248, "编辑框_推荐人ID"},
    };
    for (const Row& row : rows) {
        controls.push_back({row.label, K::TransparentLabel, row.labelText, {5, row.labelY, 48}});
        if (QByteArray(row.input).startsWith("组合框")) {
            controls.push_back({row.input,
                                K::ComboBox,
                                nullptr,
                                {56, row.inputY, 192},
                                nullptr,
                                false,
                                kQuestions});
        } else {
            controls.push_back({row.input, K::EditBox, "", {56, row.inputY, 192}});
        }
    }
    return controls;
}

std::vector<Control> ChangePasswordControls() {
    return {
        {"透明标签6", K::TransparentLabel, "修改密码"},
        Box("图片框77", 192),
        Box("图片框78", 216),
        Box("图片框79", 240),
        {"组合框_修改密码_安全问题", K::ComboBox, nullptr, {56, 43, 192}, nullptr, false, {}},
        {"编辑框_修改密码_安全答案", K::EditBox, "", {56, 68, 192}},
        {"编辑框_修改密码_新密码", K::EditBox, "", {56, 104, 192}},
        {"编辑框_修改密码_确认码", K::EditBox, "", {56, 140, 192}},
        {"按钮_修改密码_保存", K::Button, "确定", {80, 169, 125, 32}},
    };
}

std::vector<Control> PersonalInfoControls() {
    return {
        {"透明标签1", K::TransparentLabel, "个人信息", {120, 16}},
        Box("图片框60", 248),
        Box("图片框61", 272),
        Box("图片框62", 296),
        {"图片框8", K::PictureBox, "", {kAny, -8}},
        {"图片框9", K::PictureBox, "", {kAny, -16}},
        {"组合框_修改个人资料_安全问题", K::ComboBox, nullptr, {78, 56, 216}, nullptr, false, {}},
        {"编辑框_修改个人资_安全答案", K::EditBox, "", {78, 89, 216}},
        {"编辑框_修改个人资_联系QQ", K::EditBox, "", {78, 122, 216}},
        {"编辑框_修改个人资_真实姓名", K::EditBox, "", {78, 152, 216}},
        {"编辑框_修改个人资_支付宝", K::EditBox, "", {78, 184, 216}},
        {"按钮_修改个人资_保存", K::Button, "确定", {104, 221, 128, 32}},
    };
}

std::vector<Control> SecurityControls() {
    return {
        {"透明标签6", K::TransparentLabel, "安全设置"},
        Box("图片框50", 264),
        Box("图片框51", 288),
        Box("图片框52", 312),
        {"组合框_修改安全信息_旧问题",
         K::ComboBox,
         nullptr,
         {80, 35, 240},
         nullptr,
         false,
         kQuestions},
        {"编辑框_修改安全信息_旧答案", K::EditBox, "", {80, 73, 240}},
        {"组合框_修改安全信息_新问题",
         K::ComboBox,
         nullptr,
         {80, 112, 240},
         nullptr,
         false,
         kQuestions},
        {"编辑框_修改安全信息_新答案", K::EditBox, "", {80, 148, 240}},
        {"按钮_修改安全信息_保存", K::Button, "确定", {108, 189, 132, 32}},
    };
}

std::vector<Control> WithdrawalControls() {
    return {
        {"透明标签6", K::TransparentLabel, "开发者提现"},
        Box("图片框90", 328),
        Box("图片框91", 352),
        Box("图片框92", 376),
        {"透明标签29", K::TransparentLabel, "提现金额：", {9, 44}},
        {"编辑框4", K::EditBox, "", {64, 40, 262, 24}},
        {"按钮5", K::Button, "确定", {328, 40, 56, 24}},
        {"透明标签35",
         K::TransparentLabel,
         "1：申请提现10元起 [到账时间为当天]\n\n2：每次提现需要间隔10分钟才能在次发起提现申请。",
         {9, 71, 375, 53}},
    };
}

std::vector<Control> RechargeControls() {
    const char* p0 = "高级选择夹1:0";
    const char* p1 = "高级选择夹1:1";
    return {
        {"透明标签6", K::TransparentLabel, "支付宝充值"},
        Box("图片框40", 488),
        Box("图片框41", 512),
        Box("图片框42", 536),
        {"高级选择夹1",
         K::PageControl,
         nullptr,
         {5, 32, 555, 440},
         nullptr,
         false,
         {"手动充值", "扫码充值"}},
        {"透明标签55", K::TransparentLabel, "第一步：", {17, 28}, p0},
        {"图片框1", K::PictureBox, nullptr, {34, 71, 264, 244}, p0},
        {"按钮1", K::Button, "复制转账支付宝", {320, 36, 105, 24}, p0},
        {"透明标签1",
         K::TransparentLabel,
         "注意：转账时备注只能填平台登录用户名。低于10不一定自动到账。",
         {329, 104, 184, 184},
         p0},
        {"透明标签56",
         K::TransparentLabel,
         "第二步：使用支付宝交易号例子：2018010120003001110016521811****（平台会记录转账的金额）",
         {17, 312},
         p0},
        {"透明标签57",
         K::TransparentLabel,
         "第三步：输入完成转账交易的支付宝交易号再点击确认充值按钮，即可完成帐号充值",
         {16, 346},
         p0},
        {"透明标签58", K::TransparentLabel, "订单号：", {13, 388}, p0},
        {"编辑框_支付宝订单", K::EditBox, "", {68, 389, 387, 27}, p0},
        {"按钮_支付宝充值", K::Button, "充值", {457, 388, 80, 29}, p0},
        {"透明标签36", K::TransparentLabel, "支付宝充值金额：", {126, 36}, p1},
        {"编辑框_二维码充值金额", K::EditBox, "", {222, 32, 55, 24}, p1},
        {"按钮_二维码充值", K::Button, "充值", {286, 32, 56, 24}, p1},
        {"图片框2", K::PictureBox, "", {120, 70, 248, 224}, p1},
        {"透明标签2", K::TransparentLabel, "正在生成二维码请稍后..", {379, 161}, p1, true},
        {"透明标签103",
         K::TransparentLabel,
         "输入充值的金额最低10元起，点击【充值】按钮系统会自动分配付款二维码付款成功后1分钟内自动充"
         "值到"
         "平台账户中，充值如有问题请添加支付宝好友。",
         {56, 307, 402, 101},
         p1},
    };
}

std::vector<Control> ApplyProjectControls() {
    const char* p0 = "高级选择夹2:0";
    const char* p1 = "高级选择夹2:1";
    return {
        {"透明标签6", K::TransparentLabel, "申请项目"},
        Box("图片框100", 320),
        Box("图片框101", 344),
        Box("图片框102", 368),
        {"单选框1", K::RadioButton, "收短信", {111, 28}},
        {"单选框2", K::RadioButton, "发短信", {215, 28}},
        {"高级选择夹2",
         K::PageControl,
         nullptr,
         {2, 26, 392, 219},
         nullptr,
         false,
         {"收码短信", "发码短信 "}},
        {"透明标签30", K::TransparentLabel, "项目名称：", {6, 31}, p0},
        {"编辑框_收码项目名", K::EditBox, "", {62, 27, 236, 24}, p0},
        {"透明标签28", K::TransparentLabel, "短信模板：", {6, 84}, p0},
        {"编辑框_收码短信模板", K::MultiLineEdit, "", {62, 60, 236, 88}, p0},
        {"按钮_收码添加", K::Button, "确定", {317, 29, 72, 24}, p0},
        {"透明标签94",
         K::TransparentLabel,
         "    项目名称：项目名称必填(如XXX注册-登录)",
         {-21, 145},
         p0},
        {"透明标签90",
         K::TransparentLabel,
         "短信模板：用自己手机号去该网站或APP接收一条短信 如：\n\n"
         "(XXX你好感谢你注册XXX会员你获得的6位验证码是352156) ",
         {45, 172, 344, 40},
         p0},
        {"透明标签98", K::TransparentLabel, "", {}, p0},
        {"透明标签97", K::TransparentLabel, "", {}, p0},
        {"透明标签36", K::TransparentLabel, "项目名称：", {6, 7}, p1},
        {"编辑框_发码项目名称", K::EditBox, "", {62, 3, 236, 24}, p1},
        {"透明标签34", K::TransparentLabel, "发送号码：", {6, 28}, p1},
        {"编辑框_发码发送号码", K::MultiLineEdit, "", {62, 28, 236, 88}, p1},
        {"按钮_发码添加", K::Button, "确定", {318, 4, 71, 24}, p1},
        {"透明标签96",
         K::TransparentLabel,
         "发送号码：如（106**）\n\n多个发送号码用#隔开如（106**#106**）\n",
         {25, 144, 312, 48},
         p1},
        {"透明标签95", K::TransparentLabel, "项目名称：项目名称必填(如XXX注册-登录)", {9, 109}, p1},
        {"透明标签33", K::TransparentLabel, "", {}, p1},
        {"透明标签31", K::TransparentLabel, "", {}, p1},
    };
}

std::vector<Control> AnnouncementControls() {
    return {
        Box("图片框70", 344, 8),
        Box("图片框71", 368, 8),
        Box("图片框72", 392, 8),
        {"透明标签6", K::TransparentLabel, "岚讯公告", {160, 8, 96, 24}},
        {"编辑框1", K::MultiLineEdit, "", {1, 33, 415, 303}},
    };
}

std::vector<Control> UpdateControls() {
    return {
        {"进度条1", K::ProgressBar, nullptr, {4, 9, 381, 16}},
        {"透明标签3", K::TransparentLabel, "", {11, 32, 368, 24}},
    };
}

std::vector<Control> DeveloperApiControls() {
    return {
        {"透明标签6", K::TransparentLabel, "开发者API"},
        {"编辑框1", K::MultiLineEdit, nullptr, {0, 26, 696, 494}},
        Box("图片框11", kAny),
        Box("图片框12", kAny),
        Box("图片框13", kAny),
    };
}

std::vector<Control> DockingHelpControls() {
    return {
        {"透明标签6", K::TransparentLabel, "对接帮助"},
        {"编辑框1",
         K::MultiLineEdit,
         "\n\n"
         "   第一步：打开需要转发的QQ界面，将消息发送模式改成Enter发送。\n\n\n\n"
         "   "
         "第二步：鼠标移入光标图案处，一直按住鼠标左键，拖动鼠标至QQ窗口标题，松开鼠标左键。\n\n\n"
         "\n"
         "   第三步：当QQ界面标题正确出现在窗口标题，表示抓取成功。\n\n\n\n"
         "   第四步：选择整个或单个转码，启动运行即可。",
         {0, 32, 576, 248}},
        {"按钮1", K::Button, "关闭"},
        Box("图片框30", kAny),
        Box("图片框31", kAny),
        Box("图片框32", kAny),
    };
}

std::vector<Control> MainControls() {
    const char* pages = "高级选择夹1";
    std::vector<Control> controls = {
        Box("图片框1", 728, 9),
        Box("图片框2", 752, 9),
        Box("图片框3", 776, 9),
        {pages,
         K::PageControl,
         nullptr,
         {8, 8, 800, 480},
         nullptr,
         false,
         {"项目列表", "", "专属对接", "取号", "发短信", "短信明细", "提现记录", "推荐人明细",
          "充值记录", "公开专属"}},
        {"超级按钮_收短信", K::SuperButton, "收短信", {9, 496, 55, 24}},
        {"超级按钮_发短信", K::SuperButton, "发短信", {59, 496, 55, 24}},
        {"超级按钮_项目列表", K::SuperButton, "项目列表", {115, 496, 55, 24}},
        {"超级按钮_专属对接", K::SuperButton, "专属对接", {175, 496, 55, 24}},
        {"超级按钮_公开对接", K::SuperButton, "公开专属", {232, 496, 63, 24}},
        {"超级按钮_启动服务5", K::SuperButton, "明细统计", {296, 496, 56, 24}},
        {"超级按钮_开发者说明", K::SuperButton, "开发者API", {352, 496, 70, 24}},
        {"超级按钮_安全中心", K::SuperButton, "安全中心", {424, 496, 55, 24}},
        {"超级按钮_启动服务7", K::SuperButton, "客服中心", {480, 496, 63, 24}},
        {"超级按钮_启动服务1", K::SuperButton, "在线充值", {544, 496, 63, 24}},
        {"透明标签19", K::TransparentLabel, nullptr, {616, 488, 152, 40}},
        {"状态条1", K::StatusBar, nullptr, {0, 522, 814, 20}},
    };
    auto add = [&controls](std::vector<Control> more) {
        controls.insert(controls.end(), more.begin(), more.end());
    };

    // The title copy of every page but the empty page 1.
    const std::pair<const char*, const char*> titles[] = {
        {"透明标签20", "高级选择夹1:0"}, {"透明标签29", "高级选择夹1:2"},
        {"透明标签3", "高级选择夹1:3"},  {"透明标签35", "高级选择夹1:4"},
        {"透明标签36", "高级选择夹1:5"}, {"透明标签41", "高级选择夹1:6"},
        {"透明标签42", "高级选择夹1:7"}, {"透明标签43", "高级选择夹1:8"},
        {"透明标签44", "高级选择夹1:9"},
    };
    for (const auto& [name, page] : titles) {
        controls.push_back({name, K::TransparentLabel, "岚讯短信平台", {88, 0, 192, 48}, page});
    }

    const char* p0 = "高级选择夹1:0";
    add({
        {"超级列表框_项目列表_收短信",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p0,
         false,
         {},
         {{"项目ID", 60}, {"名称", 320}, {"价格", 100}, {"类型", 90}, {"收藏", 200}}},
        {"透明标签_项目列表_收短信_搜索标签",
         K::TransparentLabel,
         "搜索项目/ID:",
         {4, 454, 72, 16},
         p0},
        {"编辑框_项目列表_收短信_搜索项目", K::EditBox, "", {83, 450, 195, 24}, p0},
        {"按钮_项目列表_收短信_搜索", K::Button, "搜索", {288, 450, 80, 24}, p0},
        {"按钮_项目列表_收短信_刷新", K::Button, "刷新(R)", {373, 450, 80, 24}, p0},
        {"超级按钮1", K::SuperButton, "添加项目", {459, 450, 80, 24}, p0},
        {"选择框_已收藏项目列表", K::CheckBox, "查看已收藏项目列表", {549, 456, 128, 16}, p0},
        {"进度条1", K::ProgressBar, nullptr, {124, 180, 591, 16}, p0, true},
    });

    const char* p2 = "高级选择夹1:2";
    const char* join = "分组框_加入对接";
    add({
        {"超级列表框_专属列表",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p2,
         false,
         {},
         {{"对接码", 110},
          {"项目名称", 250},
          {"价格", 60},
          {"类型", 80},
          {"状态", 80},
          {"供卡数量", 178}}},
        {"超级按钮_加入对接", K::SuperButton, "加入对接(A)", {13, 454, 88, 24}, p2},
        {"超级按钮_删除对接", K::SuperButton, "删除对接(S)", {109, 454, 88, 24}, p2},
        {"超级按钮_专属_刷新", K::SuperButton, "刷新(R)", {203, 454, 88, 24}, p2},
        {join, K::GroupBox, nullptr, {201, 120, 363, 191}, p2, true},
        {"进度条3", K::ProgressBar, nullptr, {92, 188, 591, 16}, p2, true},
        {"透明标签12", K::TransparentLabel, "请输入卡商的对接码：", {11, 8, 117, 24}, join},
        {"编辑框_加入对接", K::EditBox, "", {12, 32, 210, 24}, join},
        {"按钮_加入对接", K::Button, "确定", {227, 32, 64, 24}, join},
        {"按钮_加入对接取消", K::Button, "取消", {293, 32, 64, 24}, join},
        {"分组框5", K::GroupBox, nullptr, {8, 64, 350, 116}, join},
        {"标签5",
         K::Label,
         "1、用户要和卡商对接时请与卡商联系，双方协定价格后由卡商建立对接项。",
         {6, 16, 336},
         "分组框5"},
        {"标签2",
         K::Label,
         "2、卡商将对接码发给用户，由用户加入专属对接。",
         {6, 45, 336},
         "分组框5"},
        {"标签3",
         K::Label,
         "3、加入对接后用户该项目的号码只能获取指定卡商",
         {6, 68, 336},
         "分组框5"},
        {"标签4",
         K::Label,
         "4、同个项目存在多个对接时，随机获取指定的对接",
         {6, 91, 336},
         "分组框5"},
    });

    const char* p3 = "高级选择夹1:3";
    add({
        {"透明标签15", K::TransparentLabel, "短信项目：", {7, 51, 56, 40}, p3},
        {"组合框_取号_项目列表", K::ComboBox, nullptr, {63, 59, 185, 20}, p3, false, {}},
        {"编辑框1", K::EditBox, "", {256, 59, 56, 24}, p3},
        {"按钮", K::Button, "搜索", {313, 58, 54, 24}, p3},
        {"按钮_取号刷新", K::Button, "刷新", {369, 58, 54, 24}, p3},
        {"透明标签16", K::TransparentLabel, "运营商：", {433, 51, 56, 40}, p3},
        {"组合框_运营商", K::ComboBox, nullptr, {494, 64, 144, 22}, p3, false, kOperators},
        {"组合框_地区", K::ComboBox, nullptr, {648, 64, 144, 22}, p3, false, {}},
        {"透明标签45", K::TransparentLabel, "取号数量：", {7, 92, 56, 40}, p3},
        {"编辑框_取号_获取数量", K::EditBox, "1", {64, 100, 40, 24}, p3},
        {"按钮_取号_获取号码", K::Button, "获取号码", {119, 97, 113, 32}, p3},
        {"按钮_取号全部释放", K::Button, "释放号码", {251, 99, 80, 24}, p3},
        {"按钮_取号_全部加黑", K::Button, "拉黑号码", {343, 99, 80, 24}, p3},
        {"透明标签18", K::TransparentLabel, "卡型：", {445, 99, 35, 16}, p3},
        {"组合框_卡型", K::ComboBox, nullptr, {494, 96, 96, 22}, p3, false, kCardTypes},
        {"按钮_取号_指定", K::Button, "指定取号", {594, 95, 80, 24}, p3},
        {"编辑框_取号_指定", K::EditBox, "", {687, 97, 104, 24}, p3},
        {"选择框_取号_不过滤",
         K::CheckBox,
         "不过滤已做，勾选之后会重复获取已收到码的号码。",
         {491, 128, 301, 24},
         p3},
        {"透明标签8", K::TransparentLabel, kDashes, {-8, 142, 992, 16}, p3},
        {"超级列表框_取码_列表框",
         K::ListView,
         nullptr,
         {0, 152, 800, 232},
         p3,
         false,
         {},
         {{"序号", 40},
          {"手机号码", 90},
          {"归属地", 60},
          {"验证码", 70},
          {"状态", 240},
          {"短信内容", 280},
          {"", 0},
          {"", 0}}},
        {"编辑框2", K::MultiLineEdit, "", {304, 176, 207, 64}, p3, true},
        {"透明标签1", K::TransparentLabel, "项目信息：", {96, 187, 72, 42}, p3},
        {"编辑框6", K::MultiLineEdit, "", {520, 219, 280, 136}, p3, true},
        {"透明标签_取号_状态提示", K::TransparentLabel, "", {336, 243, 336, 20}, p3},
        {"标签_读取1", K::Label, "正在读取数据....", {200, 256, 367, 24}, p3},
        {"透明标签10", K::TransparentLabel, kDashes, {-96, 296, 1016, 40}, p3},
        {"透明标签9", K::TransparentLabel, kDashes, {48, 320, 1008, 26}, p3},
        {"透明标签11", K::TransparentLabel, "窗口句柄：", {8, 384, 56, 40}, p3},
        {"编辑框_窗口句柄", K::EditBox, "", {64, 392, 88, 24}, p3},
        {"透明标签13", K::TransparentLabel, "窗口标题：", {8, 424, 56, 40}, p3},
        {"编辑框_窗口标题", K::EditBox, "", {64, 432, 88, 24}, p3},
        {"透明标签14", K::TransparentLabel, "光标：", {168, 384, 32, 40}, p3},
        {"图片框_捕获鼠标", K::PictureBox, nullptr, {207, 392, 32, 24}, p3},
        {"按钮3", K::Button, "对接帮助", {256, 392, 80, 24}, p3},
        {"单选框2", K::RadioButton, "整条短信", {352, 392, 72, 24}, p3},
        {"单选框1", K::RadioButton, "单个验证码", {432, 392, 104, 24}, p3},
        {"透明标签7", K::TransparentLabel, "分隔符号：", {520, 392, 64, 24}, p3},
        {"编辑框7", K::EditBox, "-----", {592, 392, 40, 24}, p3},
        {"按钮1", K::Button, "启动", {640, 392, 48, 24}, p3},
        {"按钮2", K::Button, "停止", {696, 392, 48, 24}, p3},
        {"编辑框4", K::EditBox, "", {800, 384, 24, 24}, p3},
        {"透明标签17", K::TransparentLabel, "转码信息提示：", {168, 416, 80, 40}, p3},
        {"编辑框5", K::MultiLineEdit, "", {256, 424, 504, 48}, p3},
        {"透明标签5",
         K::TransparentLabel,
         "聚友之家论坛（网赚交流，平台交流）",
         {528, 24, 208, 32},
         p3},
    });

    const char* p4 = "高级选择夹1:4";
    add({
        {"透明标签21", K::TransparentLabel, "收藏项目：", {7, 56, 64, 16}, p4},
        {"组合框_发短信_项目列表", K::ComboBox, nullptr, {62, 56, 338, 20}, p4, false, {}},
        {"编辑框3", K::EditBox, "", {401, 54, 96, 20}, p4},
        {"按钮4", K::Button, "搜索", {501, 54, 58, 20}, p4},
        {"按钮_发短信刷新", K::Button, "刷新", {563, 54, 58, 20}, p4},
        {"选择框_发短信_不过滤", K::CheckBox, "不过滤已做号码", {631, 56, 104, 16}, p4},
        {"透明标签22", K::TransparentLabel, "运营商：", {7, 88, 48, 16}, p4},
        {"组合框_运营商1", K::ComboBox, nullptr, {62, 87, 66, 22}, p4, false, kOperators},
        {"透明标签23", K::TransparentLabel, "归属地：", {130, 88, 48, 16}, p4},
        {"组合框_地区1", K::ComboBox, nullptr, {180, 87, 76, 22}, p4, false, {}},
        {"透明标签24", K::TransparentLabel, "卡型：", {267, 88, 29, 16}, p4},
        {"组合框_卡型1", K::ComboBox, nullptr, {300, 87, 68, 22}, p4, false, kCardTypes},
        {"透明标签26", K::TransparentLabel, "取号数量：", {5, 128, 56, 16}, p4},
        {"编辑框_发短信_获取号码", K::EditBox, "", {67, 127, 37, 20}, p4},
        {"按钮_发短信_获取号码", K::Button, "取号", {109, 127, 67, 20}, p4},
        {"按钮_发短信_复制手机号码", K::Button, "复制手机号码", {179, 127, 87, 20}, p4},
        {"按钮_发短信_全部加黑", K::Button, "号码加黑", {272, 127, 68, 20}, p4},
        {"按钮_发短信_全部释放", K::Button, "释放号码", {347, 127, 68, 20}, p4},
        {"透明标签25", K::TransparentLabel, "指定号码：", {7, 170, 56, 16}, p4},
        {"编辑框_发短信_指定", K::EditBox, "", {65, 167, 96, 20}, p4},
        {"按钮_发短信_指定", K::Button, "指定取号", {163, 167, 72, 20}, p4},
        {"透明标签37", K::TransparentLabel, "发送号码：", {247, 170, 61, 16}, p4},
        {"组合框_发送号码", K::ComboBox, nullptr, {314, 166, 286, 20}, p4, false, {}},
        {"透明标签_发短信_号码所属", K::TransparentLabel, "", {183, 208, 341, 24}, p4},
        {"透明标签27", K::TransparentLabel, "发送内容:", {7, 214, 56, 16}, p4},
        {"编辑框_发短信_发送内容", K::EditBox, "", {65, 208, 719, 64}, p4},
        {"按钮_发短信_提交发短信内容", K::Button, "发送短信", {7, 248, 56, 24}, p4},
        {"透明标签28", K::TransparentLabel, "短信内容：", {7, 307, 61, 16}, p4},
        {"编辑框_发短信_短信内容", K::EditBox, "", {65, 296, 719, 128}, p4},
        {"透明标签40", K::TransparentLabel, "", {172, 315, 459, 24}, p4},
        {"按钮_发短信_复制短信", K::Button, "复制短信", {7, 344, 56, 56}, p4},
        {"透明标签38", K::TransparentLabel, "取号时间：", {6, 450, 56, 16}, p4},
        {"编辑框_发短信_取号时间", K::EditBox, "", {65, 450, 286, 20}, p4},
        {"透明标签39", K::TransparentLabel, "状态：", {351, 450, 39, 16}, p4},
        {"编辑框_发短信_取码状态", K::EditBox, "", {399, 450, 393, 20}, p4},
    });

    const char* p5 = "高级选择夹1:5";
    add({
        {"超级列表框_短信明细",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p5,
         false,
         {},
         {{"序号", 40},
          {"项目ID", 50},
          {"名称", 160},
          {"手机号码", 100},
          {"价格", 50},
          {"时间", 130},
          {"短信内容", 240}}},
        {"透明标签30", K::TransparentLabel, "数量：", {12, 455}, p5},
        {"透明标签32", K::TransparentLabel, "", {52, 455}, p5},
        {"透明标签33", K::TransparentLabel, "总消费：", {71, 455}, p5},
        {"透明标签34", K::TransparentLabel, "", {131, 455}, p5},
        {"透明标签31", K::TransparentLabel, "项目ID/手机号：", {186, 455}, p5},
        {"编辑框_短信明细_搜索", K::EditBox, "", {299, 454, 107, 20}, p5},
        {"按钮_短信明细_搜索", K::Button, "查询", {419, 454}, p5},
        {"超级按钮_短信明细_刷新", K::SuperButton, " 刷新 >", {467, 454}, p5},
        {"超级按钮_短信明细_首页", K::SuperButton, "首页", {520, 454}, p5},
        {"超级按钮_短信明细_上一页", K::SuperButton, "<< 上一页 ", {562, 454}, p5},
        {"透明标签_短信明细_页数", K::TransparentLabel, "", {627, 456}, p5},
        {"超级按钮_短信明细_下一页", K::SuperButton, " 下一页 >>", {686, 454}, p5},
        {"超级按钮_短信明细_尾页", K::SuperButton, "尾页", {753, 454}, p5},
        {"进度条4", K::ProgressBar, nullptr, {116, 188, 591, 16}, p5, true},
    });

    const char* p6 = "高级选择夹1:6";
    add({
        {"超级列表框_提现明细",
         K::ListView,
         nullptr,
         {4, 56, 796, 416},
         p6,
         false,
         {},
         {{"序号", 40},
          {"姓名", 100},
          {"账户", 130},
          {"金额", 50},
          {"申请提现时间", 200},
          {"处理结果", 250}}},
        {"进度条5", K::ProgressBar, nullptr, {108, 196, 591, 16}, p6, true},
    });

    const char* p7 = "高级选择夹1:7";
    add({
        {"超级列表框_推荐人明细",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p7,
         false,
         {},
         {{"序号", 50},
          {"项目ID", 40},
          {"名称", 150},
          {"手机号码", 120},
          {"价格", 40},
          {"时间", 130},
          {"短信内容", 240}}},
        {"透明标签2", K::TransparentLabel, "数量：", {5, 454}, p7},
        {"透明标签32_推荐人", K::TransparentLabel, "", {45, 454}, p7},
        {"透明标签4", K::TransparentLabel, "推荐收入：", {96, 454}, p7},
        {"透明标签34_推荐人", K::TransparentLabel, "", {172, 454}, p7},
        {"透明标签6", K::TransparentLabel, "项目ID/手机号：", {198, 454}, p7},
        {"编辑框_推荐人明细_搜索", K::EditBox, "", {300, 454, 107, 20}, p7},
        {"按钮_推荐人明细_搜索", K::Button, "查询", {410, 454}, p7},
        {"超级按钮_推荐人明细_刷新", K::SuperButton, " 刷新 >", {476, 454}, p7},
        {"超级按钮_推荐人明细_首页", K::SuperButton, "首页", {521, 454}, p7},
        {"超级按钮_推荐人明细_上一页", K::SuperButton, "<< 上一页 ", {563, 454}, p7},
        {"透明标签_推荐人明细_页数", K::TransparentLabel, "", {628, 456}, p7},
        {"超级按钮_推荐人明细_下一页", K::SuperButton, " 下一页 >>", {679, 454}, p7},
        {"超级按钮_推荐人明细_尾页", K::SuperButton, "尾页", {746, 454}, p7},
        {"进度条6", K::ProgressBar, nullptr, {108, 228, 591, 16}, p7, true},
    });

    const char* p8 = "高级选择夹1:8";
    add({
        {"超级列表框_充值记录",
         K::ListView,
         nullptr,
         {4, 56, 796, 416},
         p8,
         false,
         {},
         {{"序号", 50}, {"订单", 300}, {"充值金额", 120}, {"充值时间", 200}, {"处理结果", 100}}},
        {"进度条2", K::ProgressBar, nullptr, {124, 228, 591, 16}, p8, true},
    });

    const char* p9 = "高级选择夹1:9";
    const std::vector<Column> publicColumns = {
        {"对接码", 120}, {"项目名称", 300}, {"价格", 80}, {"类型", 80}, {"供卡数量", 180}};
    add({
        {"超级列表框_公开专属列表",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p9,
         false,
         {},
         publicColumns},
        {"超级列表框_公开专属列表1",
         K::ListView,
         nullptr,
         {4, 56, 796, 392},
         p9,
         true,
         {},
         publicColumns},
        {"透明标签_公开搜索标签1", K::TransparentLabel, "搜索项目/ID:", {8, 459}, p9},
        {"编辑框_公开搜索", K::EditBox, "", {95, 454, 195, 24}, p9},
        {"查找", K::Button, "关键字查找", {304, 454, 80, 24}, p9},
        {"进度条7", K::ProgressBar, nullptr, {124, 212, 591, 16}, p9, true},
    });
    return controls;
}

}  // namespace

const std::vector<Window>& Windows() {
    static const std::vector<Window> windows = {
        {"LoginForm",
         "岚讯接码平台",
         584,
         381,
         LoginControls(),
         {"图片框7", "图片框8", "图片框9"},
         {"时钟1"}},
        {"RegistrationForm",
         "岚讯用户注册",
         258,
         317,
         RegistrationControls(),
         {"图片框20", "图片框21", "图片框22"}},
        {"MainForm",
         "岚讯短信平台",
         815,
         549,
         MainControls(),
         {"图片框1", "图片框2", "图片框3"},
         {"时钟1"}},
        {"RechargeForm",
         "支付宝充值",
         566,
         480,
         RechargeControls(),
         {"图片框40", "图片框41", "图片框42"}},
        {"ChangePasswordForm",
         "修改密码",
         261,
         209,
         ChangePasswordControls(),
         {"图片框77", "图片框78", "图片框79"}},
        {"PersonalInfoForm",
         "个人信息",
         324,
         258,
         PersonalInfoControls(),
         {"图片框60", "图片框61", "图片框62"}},
        {"SecurityForm",
         "安全设置",
         336,
         228,
         SecurityControls(),
         {"图片框50", "图片框51", "图片框52"}},
        {"WithdrawalForm",
         "澄信开发着提现",
         398,
         129,
         WithdrawalControls(),
         {"图片框90", "图片框91", "图片框92"}},
        {"ApplyProjectForm",
         "申请项目",
         401,
         249,
         ApplyProjectControls(),
         {"图片框100", "图片框101", "图片框102"}},
        {"AnnouncementForm",
         "用户端公告",
         418,
         340,
         AnnouncementControls(),
         {"图片框70", "图片框71", "图片框72"}},
        {"UpdateForm", "用户端更新", 401, 89, UpdateControls(), {}, {"时钟1"}},
        {"DeveloperApiForm",
         "岚讯API对接",
         700,
         524,
         DeveloperApiControls(),
         {"图片框11", "图片框12", "图片框13"}},
        {"DockingHelpForm",
         "对接帮助",
         577,
         280,
         DockingHelpControls(),
         {"图片框30", "图片框31", "图片框32"}},
    };
    return windows;
}

}  // namespace lanxun::inventory
