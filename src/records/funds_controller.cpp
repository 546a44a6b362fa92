#include "records/funds_controller.h"

#include <QUrl>

#include "account/login_state.h"
#include "platform/shell_open.h"

namespace lanxun {

void FundsController::OpenCustomerServiceChat() {
    const QString qq = CurrentLogin().serviceQq;
    Shell().Open(
        QUrl(QStringLiteral("tencent://message/?uin=") + qq + QStringLiteral("&Site=&Menu=yes")));
}

}  // namespace lanxun
