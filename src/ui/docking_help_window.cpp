#include "ui/docking_help_window.h"

#include <QPushButton>

#include "ui/forms.h"
#include "ui_docking_help_form.h"

namespace lanxun {

QString DockingHelpText() {
    const QString crlf = QStringLiteral("\r\n");
    const QString gap = crlf + crlf + crlf + crlf;  // three empty lines between the steps
    return crlf + crlf +
           QStringLiteral("   第一步：打开需要转发的QQ界面，将消息发送模式改成Enter发送。") + gap +
           QStringLiteral(
               "   第二步：鼠标移入光标图案处，一直按住鼠标左键，拖动鼠标至QQ窗口标题，"
               "松开鼠标左键。") +
           gap + QStringLiteral("   第三步：当QQ界面标题正确出现在窗口标题，表示抓取成功。") + gap +
           QStringLiteral("   第四步：选择整个或单个转码，启动运行即可。");
}

DockingHelpWindow::DockingHelpWindow(QWidget* parent)
    : FramelessWindow(parent), form_(std::make_unique<Ui::DockingHelpForm>()) {
    form_->setupUi(this);
    SetUpForm(Form(FormId::DockingHelp));
    // The edit box shows lines, so the text's CR LF breaks become its line breaks.
    QString shown = DockingHelpText();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    form_->编辑框1->setPlainText(shown);
    connect(form_->按钮1, &QPushButton::clicked, this, &FramelessWindow::DestroyNow);
}

DockingHelpWindow::~DockingHelpWindow() = default;

}  // namespace lanxun
