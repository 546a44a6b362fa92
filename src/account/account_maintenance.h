#pragma once

// The three windows of the menu "安全中心". Each is set up from the login when it is
// created, checks its boxes when "确定" is clicked, sends one request and shows
// the platform's answer; it stays open until the user closes it.

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace lanxun {

// "修改密码". A changed password takes effect at the next login: the running
// client keeps sending the one it logged in with.
class ChangePasswordController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QComboBox* question = nullptr;      // 组合框_修改密码_安全问题
        QLineEdit* answer = nullptr;        // 编辑框_修改密码_安全答案
        QLineEdit* newPassword = nullptr;   // 编辑框_修改密码_新密码
        QLineEdit* confirmation = nullptr;  // 编辑框_修改密码_确认码
    };

    explicit ChangePasswordController(const Widgets& widgets, QObject* parent = nullptr);

    void SetUp();  // the current question as the only item; the answer box focused
    void Save();   // "确定"

private:
    Widgets widgets_;
};

// "个人信息": contact QQ, legal name and Alipay account.
class PersonalInfoController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QComboBox* question = nullptr;   // 组合框_修改个人资料_安全问题
        QLineEdit* answer = nullptr;     // 编辑框_修改个人资_安全答案
        QLineEdit* contactQq = nullptr;  // 编辑框_修改个人资_联系QQ
        QLineEdit* legalName = nullptr;  // 编辑框_修改个人资_真实姓名
        QLineEdit* alipay = nullptr;     // 编辑框_修改个人资_支付宝
    };

    explicit PersonalInfoController(const Widgets& widgets, QObject* parent = nullptr);

    void SetUp();  // the question and the three data boxes from the login
    void Save();

private:
    Widgets widgets_;
};

// "安全设置": a new security question and answer.
class SecurityController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QComboBox* oldQuestion = nullptr;  // 组合框_修改安全信息_旧问题
        QLineEdit* oldAnswer = nullptr;    // 编辑框_修改安全信息_旧答案
        QComboBox* newQuestion = nullptr;  // 组合框_修改安全信息_新问题
        QLineEdit* newAnswer = nullptr;    // 编辑框_修改安全信息_新答案
    };

    explicit SecurityController(const Widgets& widgets, QObject* parent = nullptr);

    void SetUp();  // the current question as the only old one; the old-answer box focused
    void Save();

private:
    Widgets widgets_;
};

}  // namespace lanxun
