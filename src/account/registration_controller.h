#pragma once

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace lanxun {

// The window "岚讯用户注册": its "注册" button checks the eight boxes, sends the new
// account to the platform and, when the platform answers "注册成功", hands the
// name and password to the login window's boxes.
class RegistrationController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;
        QLineEdit* userName = nullptr;      // 编辑框_用户名
        QLineEdit* password = nullptr;      // 编辑框_密码
        QLineEdit* confirmation = nullptr;  // 编辑框_确认密码
        QLineEdit* answer = nullptr;        // 编辑框_安全答案
        QLineEdit* referrer = nullptr;      // 编辑框_推荐人ID
        QLineEdit* contactQq = nullptr;     // 编辑框_联系QQ
        QLineEdit* legalName = nullptr;     // 编辑框_真实姓名
        QLineEdit* alipay = nullptr;        // 编辑框_支付宝
        QComboBox* question = nullptr;      // 组合框_安全问题
        // The login window's boxes; either may be missing.
        QLineEdit* loginUserName = nullptr;
        QLineEdit* loginPassword = nullptr;
    };

    explicit RegistrationController(const Widgets& widgets, QObject* parent = nullptr);

    // "注册". True when the account was created: the window is to close. Otherwise
    // the user has been told why and the window keeps its input.
    bool Register();

private:
    Widgets widgets_;
};

}  // namespace lanxun
