#include "ui/region_list.h"

namespace lanxun {

QString RegionText() {
    return QStringLiteral(
        "北京\r\n上海\r\n天津\r\n山东\r\n福建\r\n安徽\r\n宁夏\r\n湖北\r\n河北\r\n辽宁\r\n"
        "湖南\r\n四川\r\n山西\r\n陕西\r\n江苏\r\n内蒙\r\n辽宁\r\n吉林\r\n甘肃\r\n江西\r\n"
        "河南\r\n云南\r\n广西\r\n重庆\r\n西藏\r\n海南\r\n广东\r\n浙江\r\n贵州\r\n黑龙江\r\n"
        "新疆\r\n澳门\r\n香港");
}

QStringList RegionPickerItems() {
    QStringList items{QStringLiteral("默认")};
    items += RegionText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return items;
}

}  // namespace lanxun
