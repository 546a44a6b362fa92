#include <gtest/gtest.h>

#include "api/developer_api.h"

namespace lanxun {
namespace {

TEST(DeveloperApi, TableInTheOrderOfTheDocumentation) {
    const QList<DeveloperApiEndpoint>& table = DeveloperApiTable();
    QStringList endpoints;
    QStringList sections;
    for (const DeveloperApiEndpoint& e : table) {
        endpoints << e.endpoint;
        sections << e.section;
    }
    EXPECT_EQ(endpoints,
              (QStringList{"sign", "yh_gx", "yh_qh", "yh_qm", "fdx_tj", "yh_lh", "yh_sf"}));
    EXPECT_EQ(sections, (QStringList{QStringLiteral("用户登陆"), QStringLiteral("查询余额"),
                                     QStringLiteral("获取手机号码"), QStringLiteral("获取验证码"),
                                     QStringLiteral("发短信上传"), QStringLiteral("加黑手机号"),
                                     QStringLiteral("释放手机号")}));
}

TEST(DeveloperApi, ExampleUrlsOnPort8000WithParametersInOrder) {
    const QList<DeveloperApiEndpoint>& table = DeveloperApiTable();
    EXPECT_EQ(DeveloperApiExampleUrl(QStringLiteral("api.example"), table[0]),
              QStringLiteral("http://api.example:8000/api/sign/username=用户名&password=密码"));
    EXPECT_EQ(DeveloperApiExampleUrl(QStringLiteral("api.example:83"), table[2]),
              QStringLiteral("http://api.example:8000/api/yh_qh/id=项目ID&operator=0&Region=0&"
                             "card=0&phone=&loop=1&token=令牌"));
    EXPECT_EQ(DeveloperApiExampleUrl(QStringLiteral("[::1]:83"), table[0]),
              QStringLiteral("http://[::1]:8000/api/sign/username=用户名&password=密码"));
    EXPECT_EQ(DeveloperApiExampleUrl(QStringLiteral("h"), table[3]),
              QStringLiteral(
                  "http://h:8000/api/yh_qm/id=项目ID&phone=手机号码&t=开发者用户名&token=令牌"));
    EXPECT_EQ(DeveloperApiExampleUrl(QStringLiteral("h"), table[4]),
              QStringLiteral("http://h:8000/api/fdx_tj/id=项目ID&phone=手机号码&send=发送号码&"
                             "content=发送内容&token=令牌"));
}

TEST(DeveloperApi, DocumentationTextCarriesTheRules) {
    const QString text = DeveloperApiText(QStringLiteral("api.example"));
    EXPECT_TRUE(text.contains(QStringLiteral("接口统一编码：UTF-8")));
    EXPECT_TRUE(text.contains(QStringLiteral("http://api.example:8000/api/")));
    EXPECT_TRUE(text.contains(QStringLiteral("1|数据")));
    EXPECT_TRUE(text.contains(QStringLiteral("0|错误信息")));
    EXPECT_TRUE(text.contains(QStringLiteral("自动释放")));
    EXPECT_TRUE(text.contains(QStringLiteral("每5秒")));
    EXPECT_TRUE(text.contains(QStringLiteral("300秒")));
    EXPECT_TRUE(text.contains(QStringLiteral("发送内容提交成功等待卡商发送短信")));
    // Sections appear in order.
    qsizetype last = -1;
    for (const DeveloperApiEndpoint& e : DeveloperApiTable()) {
        const qsizetype at = text.indexOf(e.section);
        EXPECT_GT(at, last) << e.section.toStdString();
        last = at;
    }
}

}  // namespace
}  // namespace lanxun
