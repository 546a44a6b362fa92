#include "projects/project_items.h"

#include "api/protocol.h"

namespace lanxun {

bool IsSendSmsProjectName(QStringView name) {
    return name.contains(u"发送号码");
}

bool AdmittedToReceivePicker(QStringView name) {
    return !name.contains(u"发送");
}

QString SendDisplayName(QStringView name) {
    return TextBefore(name, u"(发送号码");
}

QStringList SendingNumbers(QStringView name) {
    return SplitText(TextBetween(name, u"发送号码:", u")"), u"#");
}

QString ReceivePickerItem(const QString& id, const QString& name, const QString& price) {
    return QLatin1Char('[') + id + QLatin1Char(']') + name + QStringLiteral(" - {价格}：") + price;
}

QString SendPickerItem(const QString& id, const QString& name, const QString& price) {
    return QLatin1Char('[') + id + QLatin1Char(']') + SendDisplayName(name) +
           QStringLiteral(" - {价格}：") + price + QStringLiteral(" - (发短信)");
}

QString ProjectIdOfItem(QStringView item) {
    return TextBetween(item, u"[", u"]");
}

int ProjectIdNumber(QStringView id) {
    bool ok = false;
    const int value = id.toInt(&ok);
    return ok ? value : 0;
}

}  // namespace lanxun
