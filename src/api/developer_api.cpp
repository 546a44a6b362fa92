#include "api/developer_api.h"

#include <QStringList>

#include "api/server_lines.h"

namespace lanxun {

namespace {

QList<DeveloperApiEndpoint> BuildTable() {
    const DeveloperApiParameter token{QStringLiteral("token"), QStringLiteral("令牌"),
                                      QStringLiteral("登陆接口返回的令牌")};
    const DeveloperApiParameter id{QStringLiteral("id"), QStringLiteral("项目ID"),
                                   QStringLiteral("项目ID")};
    const DeveloperApiParameter obtainedPhone{QStringLiteral("phone"), QStringLiteral("手机号码"),
                                              QStringLiteral("获取手机号码接口返回的号码")};
    const DeveloperApiParameter phone{QStringLiteral("phone"), QStringLiteral("手机号码"),
                                      QStringLiteral("手机号码")};
    return {
        {QStringLiteral("用户登陆"),
         QStringLiteral("sign"),
         {{QStringLiteral("username"), QStringLiteral("用户名"), QStringLiteral("用户名")},
          {QStringLiteral("password"), QStringLiteral("密码"), QStringLiteral("密码")}},
         QStringLiteral("令牌（32位十六进制字符），其他接口用它代替用户名和密码"),
         {}},
        {QStringLiteral("查询余额"),
         QStringLiteral("yh_gx"),
         {token},
         QStringLiteral("余额|可提现余额"),
         {}},
        {QStringLiteral("获取手机号码"),
         QStringLiteral("yh_qh"),
         {id,
          {QStringLiteral("operator"), QStringLiteral("0"),
           QStringLiteral("运营商：0 默认，1 移动，2 联通，3 电信")},
          {QStringLiteral("Region"), QStringLiteral("0"),
           QStringLiteral("地区：0 默认，或地区名称，如 上海")},
          {QStringLiteral("card"), QStringLiteral("0"),
           QStringLiteral("卡型：0 默认，1 虚拟运营商，2 实卡")},
          {QStringLiteral("phone"), QString(),
           QStringLiteral("指定再次获取的手机号码，获取新号码时留空")},
          {QStringLiteral("loop"), QStringLiteral("1"),
           QStringLiteral("1 过滤已做过的号码，2 不过滤（需要重复使用同一号码时）")},
          token},
         QStringLiteral("手机号码"),
         {}},
        {QStringLiteral("获取验证码"),
         QStringLiteral("yh_qm"),
         {id,
          obtainedPhone,
          {QStringLiteral("t"), QStringLiteral("开发者用户名"), QStringLiteral("开发者用户名")},
          token},
         QStringLiteral("短信内容"),
         {QStringLiteral("获取到验证码后平台会自动释放该号码，无需再释放或加黑。"),
          QStringLiteral(
              "请每5秒调用一次，最长获取300秒：部分短信到达较晚，调用过快会触发平台的访问限制。")}},
        {QStringLiteral("发短信上传"),
         QStringLiteral("fdx_tj"),
         {id,
          obtainedPhone,
          {QStringLiteral("send"), QStringLiteral("发送号码"),
           QStringLiteral("发送号码（仅限106开头的服务号码）")},
          {QStringLiteral("content"), QStringLiteral("发送内容"),
           QStringLiteral("发送内容（不能含中文）")},
          token},
         QStringLiteral("发送内容提交成功等待卡商发送短信"),
         {QStringLiteral("发送结果请用获取验证码接口（yh_qm）读取。")}},
        {QStringLiteral("加黑手机号"),
         QStringLiteral("yh_lh"),
         {id, phone, token},
         QStringLiteral("加黑成功"),
         {}},
        {QStringLiteral("释放手机号"),
         QStringLiteral("yh_sf"),
         {id, phone, token},
         QStringLiteral("释放成功"),
         {}},
    };
}

const QStringList kSectionNumbers = {
    QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
    QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"), QStringLiteral("八"),
};

}  // namespace

const QList<DeveloperApiEndpoint>& DeveloperApiTable() {
    static const QList<DeveloperApiEndpoint> table = BuildTable();
    return table;
}

QString DeveloperApiExampleUrl(const QString& platformHost, const DeveloperApiEndpoint& endpoint) {
    QStringList pairs;
    for (const DeveloperApiParameter& p : endpoint.parameters) {
        pairs.append(p.key + u'=' + p.example);
    }
    return QStringLiteral("http://") + HostWithoutPort(platformHost) + u':' +
           QString::number(kDeveloperApiPort) + QStringLiteral("/api/") + endpoint.endpoint + u'/' +
           pairs.join(u'&');
}

QString DeveloperApiText(const QString& platformHost) {
    const QString base = QStringLiteral("http://") + HostWithoutPort(platformHost) + u':' +
                         QString::number(kDeveloperApiPort) + QStringLiteral("/api/");
    QStringList lines;
    lines << QStringLiteral("岚讯接码平台 开发者API") << QString()
          << QStringLiteral("接口统一编码：UTF-8") << QStringLiteral("请求方式：GET")
          << QStringLiteral("接口地址：") + base + QStringLiteral("接口名/参数")
          << QStringLiteral("参数直接跟在接口名后的“/”之后，不用“?”，参数之间用“&”连接。")
          << QStringLiteral("返回格式：成功返回 1|数据，失败返回 0|错误信息。")
          << QStringLiteral(
                 "先调用用户登陆接口取得令牌（token），其他接口都用令牌代替用户名和密码。");
    const QList<DeveloperApiEndpoint>& table = DeveloperApiTable();
    for (qsizetype i = 0; i < table.size(); ++i) {
        const DeveloperApiEndpoint& e = table[i];
        lines << QString() << kSectionNumbers.value(i) + u'、' + e.section
              << QStringLiteral("接口：") + e.endpoint
              << QStringLiteral("请求示例：") + DeveloperApiExampleUrl(platformHost, e)
              << QStringLiteral("参数（按顺序）：");
        for (const DeveloperApiParameter& p : e.parameters) {
            lines << QStringLiteral("    ") + p.key + QStringLiteral("：") + p.meaning;
        }
        lines << QStringLiteral("成功返回：1|") + e.successData;
        for (const QString& note : e.notes) {
            lines << QStringLiteral("说明：") + note;
        }
    }
    return lines.join(u'\n');
}

}  // namespace lanxun
