#include "api/endpoints.h"

#include "api/protocol.h"

namespace lanxun {

namespace {

// One "&key=value" pair, the value as it stands.
QString Pair(const char* key, const QString& value) {
    return QLatin1Char('&') + QLatin1String(key) + QLatin1Char('=') + value;
}

QString PagedWord(PagedList list, bool search) {
    if (list == PagedList::Sms) {
        return search ? QStringLiteral("yh_mx_s") : QStringLiteral("yh_mx");
    }
    return search ? QStringLiteral("tj_mx_s") : QStringLiteral("tj_mx");
}

QString OptionPairs(const QString& projectId, const NumberOptions& options) {
    return Pair("id", projectId) + Pair("operator", options.operatorValue) +
           Pair("region", options.region) + Pair("card", options.cardType) +
           Pair("loop", options.loopMode);
}

}  // namespace

int TimeoutForEndpoint(QStringView endpoint) {
    return endpoint == QLatin1String("fdx_tj") ? kSendSmsTimeoutMs : kPlatformTimeoutMs;
}

QString PlatformUrl(const QString& line, QStringView endpoint, const Credentials& credentials,
                    const QString& pairs) {
    return QStringLiteral("http://") + line + QLatin1Char('/') + endpoint.toString() +
           QStringLiteral("/username=") + credentials.userName + QStringLiteral("&password=") +
           credentials.password + pairs;
}

QString IndexOptionValue(const QString& itemText, int selectedIndex) {
    if (itemText == QStringLiteral("默认") || selectedIndex < 0) {
        return {};
    }
    return QString::number(selectedIndex);
}

QString RegionOptionValue(const QString& itemText) {
    return itemText == QStringLiteral("默认") ? QString() : itemText;
}

QString LoopModeValue(bool ticked) {
    return ticked ? QStringLiteral("2") : QStringLiteral("1");
}

QString SignUrl(const QString& line, const QString& userName, const QString& password) {
    return PlatformUrl(line, u"sign", {userName, password});
}

QString RegisterUrl(const QString& line, const Registration& r) {
    return PlatformUrl(line, u"ZC", {r.userName, r.password},
                       Pair("password1", r.password) + Pair("QQ", r.contactQq) +
                           Pair("Fullname", PercentEncodeUtf8(r.legalName)) +
                           Pair("account", r.alipayAccount) + Pair("Referee", r.referrerId) +
                           Pair("problem", PercentEncodeUtf8(r.securityQuestion)) +
                           Pair("Answer", PercentEncodeUtf8(r.securityAnswer)) +
                           Pair("type", QStringLiteral("1")));
}

QString ChangePasswordUrl(const QString& line, const Credentials& credentials,
                          const QString& securityAnswer, const QString& newPassword) {
    return PlatformUrl(line, u"xg_mm", credentials,
                       Pair("w", securityAnswer) + Pair("p", newPassword));
}

QString ChangeSecurityUrl(const QString& line, const Credentials& credentials,
                          const QString& oldAnswer, const QString& newQuestion,
                          const QString& newAnswer) {
    return PlatformUrl(line, u"xg_aq", credentials,
                       Pair("w", oldAnswer) + Pair("xt", newQuestion) + Pair("w1", newAnswer));
}

QString ChangeProfileUrl(const QString& line, const Credentials& credentials,
                         const QString& securityAnswer, const QString& contactQq,
                         const QString& legalName, const QString& alipayAccount) {
    return PlatformUrl(line, u"xg_zl", credentials,
                       Pair("w", securityAnswer) + Pair("q", contactQq) + Pair("z", legalName) +
                           Pair("f", alipayAccount));
}

QString NumberUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                  const NumberOptions& options) {
    return PlatformUrl(line, u"yh_qh", credentials, OptionPairs(projectId, options));
}

QString SpecifiedNumberUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId, const QString& phone) {
    return PlatformUrl(line, u"yh_qh", credentials, Pair("id", projectId) + Pair("phone", phone));
}

QString SpecifiedNumberUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId, const NumberOptions& options,
                           const QString& phone) {
    return PlatformUrl(line, u"yh_qh", credentials,
                       OptionPairs(projectId, options) + Pair("phone", phone));
}

QString ReleaseUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                   const QString& phone) {
    return PlatformUrl(line, u"yh_sf", credentials, Pair("id", projectId) + Pair("phone", phone));
}

QString BlacklistUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                     const QString& phone) {
    return PlatformUrl(line, u"yh_lh", credentials, Pair("id", projectId) + Pair("phone", phone));
}

QString PollUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                const QString& phone) {
    return PlatformUrl(line, u"yh_qm", credentials, Pair("id", projectId) + Pair("phone", phone));
}

QString ConfirmRechargeUrl(const QString& line, const Credentials& credentials,
                           const QString& orderNumber) {
    return PlatformUrl(line, u"cz_tj", credentials, Pair("d", orderNumber));
}

QString SendSmsUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                   const QString& sendingNumber, const QString& phone, const QString& content) {
    return PlatformUrl(line, u"fdx_tj", credentials,
                       Pair("id", projectId) + Pair("send", sendingNumber) + Pair("phone", phone) +
                           Pair("content", content));
}

QString ProjectListUrl(const QString& line, const Credentials& credentials,
                       const QString& searchText) {
    return PlatformUrl(line, u"liebiao_xm", credentials, QStringLiteral("&lx=1&ss=") + searchText);
}

QString FavouritesUrl(const QString& line, const Credentials& credentials, ProjectKind kind) {
    return PlatformUrl(line, u"xiangmu_ysc", credentials,
                       kind == ProjectKind::SendSms ? QStringLiteral("&l=1") : QString());
}

QString AddFavouriteUrl(const QString& line, const Credentials& credentials,
                        const QString& projectId, const QString& name, const QString& price) {
    return PlatformUrl(
        line, u"xiangmu_shouchan", credentials,
        Pair("id", projectId + QStringLiteral("#c-") + name + QStringLiteral("#c-") + price));
}

QString RemoveFavouriteUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId) {
    return PlatformUrl(line, u"xiangmu_qxsc", credentials, Pair("id", projectId));
}

QString ApplyReceiveProjectUrl(const QString& line, const Credentials& credentials,
                               const QString& name, const QString& smsTemplate) {
    return PlatformUrl(line, u"sq_dx", credentials,
                       Pair("m", PercentEncodeUtf8(name)) +
                           Pair("dx", PercentEncodeUtf8(smsTemplate)) + QStringLiteral("&l=1"));
}

QString ApplySendProjectUrl(const QString& line, const Credentials& credentials,
                            const QString& name, const QString& sendingNumbers) {
    return PlatformUrl(line, u"sq_dx", credentials,
                       Pair("m", PercentEncodeUtf8(name)) +
                           Pair("hm", PercentEncodeUtf8(sendingNumbers)) + QStringLiteral("&l=2"));
}

QString DockingListUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"yh_zs_lb", credentials);
}

QString PublicDockingListUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"yh_zs_gk_lb", credentials);
}

QString JoinDockingUrl(const QString& line, const Credentials& credentials,
                       const QString& dockingCode) {
    return PlatformUrl(line, u"yh_zs_jr", credentials, Pair("d", dockingCode));
}

QString ToggleDockingUrl(const QString& line, const Credentials& credentials,
                         const QString& dockingCode) {
    return PlatformUrl(line, u"yh_zs_fhzt", credentials, Pair("d", dockingCode));
}

QString DeleteDockingUrl(const QString& line, const Credentials& credentials,
                         const QString& dockingCode) {
    return PlatformUrl(line, u"yh_zs_sc", credentials, Pair("d", dockingCode));
}

QString BalanceUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"yh_gx", credentials);
}

QString PagedRecordsUrl(const QString& line, const Credentials& credentials, PagedList list) {
    return PlatformUrl(line, PagedWord(list, false), credentials);
}

QString PagedRecordsUrl(const QString& line, const Credentials& credentials, PagedList list,
                        const QString& page) {
    return PlatformUrl(line, PagedWord(list, false), credentials, Pair("y", page));
}

QString PagedSearchUrl(const QString& line, const Credentials& credentials, PagedList list,
                       const QString& searchText) {
    return PlatformUrl(line, PagedWord(list, true), credentials, Pair("n", searchText));
}

QString PagedSearchUrl(const QString& line, const Credentials& credentials, PagedList list,
                       const QString& searchText, const QString& page) {
    return PlatformUrl(line, PagedWord(list, true), credentials,
                       Pair("n", searchText) + Pair("y", page));
}

QString WithdrawalRecordsUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"tx_mx", credentials);
}

QString RechargeRecordsUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"cz_mx", credentials);
}

QString WithdrawUrl(const QString& line, const Credentials& credentials, const QString& amount) {
    return PlatformUrl(line, u"tj", credentials, Pair("j", amount));
}

QString QrCodeUrl(const QString& line, const Credentials& credentials, const QString& amount) {
    return PlatformUrl(line, u"sc", credentials, Pair("j", amount));
}

QString TransferAccountUrl(const QString& line, const Credentials& credentials) {
    return PlatformUrl(line, u"cx", credentials);
}

QString SegmentLookupUrl(const QString& segmentHost, const QString& phone) {
    return QStringLiteral("https://") + segmentHost +
           QStringLiteral("/cc/json/mobile_tel_segment.htm?tel=") + phone;
}

QString VersionFileUrl(const QString& updateHost) {
    return QStringLiteral("http://") + updateHost + QStringLiteral("/yh.txt");
}

QString UpdateArchiveUrl(const QString& updateHost) {
    return QStringLiteral("http://") + updateHost + QStringLiteral("/ky.zip");
}

}  // namespace lanxun
