#include "api/endpoints.h"

#include "api/protocol.h"

namespace lanxun {

namespace {

// The catalogue: every endpoint word with its server line and its time-out.
struct Endpoint {
    QStringView word;
    ApiLine ServerLines::*line;
    int timeoutMs;
};

constexpr Endpoint kEndpoints[] = {
    {u"sign", &ServerLines::accountLine, kPlatformTimeoutMs},
    {u"xg_mm", &ServerLines::accountLine, kPlatformTimeoutMs},
    {u"xg_aq", &ServerLines::accountLine, kPlatformTimeoutMs},
    {u"xg_zl", &ServerLines::accountLine, kPlatformTimeoutMs},
    {u"ZC", &ServerLines::accountLine, kPlatformTimeoutMs},
    {u"liebiao_xm", &ServerLines::projectLine, kPlatformTimeoutMs},
    {u"xiangmu_ysc", &ServerLines::projectLine, kPlatformTimeoutMs},
    {u"xiangmu_shouchan", &ServerLines::projectLine, kPlatformTimeoutMs},
    {u"xiangmu_qxsc", &ServerLines::projectLine, kPlatformTimeoutMs},
    {u"sq_dx", &ServerLines::projectLine, kPlatformTimeoutMs},
    {u"yh_zs_lb", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_zs_gk_lb", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_zs_jr", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_zs_fhzt", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_zs_sc", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_gx", &ServerLines::dockingLine, kPlatformTimeoutMs},
    {u"yh_qh", &ServerLines::numberLine, kPlatformTimeoutMs},
    {u"yh_sf", &ServerLines::disposalLine, kPlatformTimeoutMs},
    {u"yh_lh", &ServerLines::disposalLine, kPlatformTimeoutMs},
    {u"yh_qm", &ServerLines::pollLine, kPlatformTimeoutMs},
    {u"cz_tj", &ServerLines::pollLine, kPlatformTimeoutMs},
    {u"yh_mx", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"yh_mx_s", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"tj_mx", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"tj_mx_s", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"tx_mx", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"cz_mx", &ServerLines::recordLine, kPlatformTimeoutMs},
    {u"fdx_tj", &ServerLines::sendLine, kSendSmsTimeoutMs},
    {u"tj", &ServerLines::withdrawLine, kPlatformTimeoutMs},
    {u"sc", &ServerLines::rechargeLine, kPlatformTimeoutMs},
    {u"cx", &ServerLines::rechargeLine, kPlatformTimeoutMs},
};

const Endpoint* Find(QStringView word) {
    for (const Endpoint& e : kEndpoints) {
        if (e.word == word) {
            return &e;
        }
    }
    return nullptr;
}

// The common form: the endpoint's line and time-out, the prefix, then `pairs` as
// they stand.
EndpointCall PlatformUrl(QStringView endpoint, const Credentials& credentials,
                         const QString& pairs = {}) {
    return {QStringLiteral("http://") + LineForEndpoint(endpoint) + QLatin1Char('/') +
                endpoint.toString() + QStringLiteral("/username=") + credentials.userName +
                QStringLiteral("&password=") + credentials.password + pairs,
            TimeoutForEndpoint(endpoint)};
}

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

QStringList EndpointWords() {
    QStringList words;
    for (const Endpoint& e : kEndpoints) {
        words.append(e.word.toString());
    }
    return words;
}

ApiLine LineForEndpoint(QStringView endpoint) {
    const Endpoint* e = Find(endpoint);
    return e ? Lines().*(e->line) : ApiLine();
}

int TimeoutForEndpoint(QStringView endpoint) {
    const Endpoint* e = Find(endpoint);
    return e ? e->timeoutMs : kPlatformTimeoutMs;
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

EndpointCall SignUrl(const QString& userName, const QString& password) {
    return PlatformUrl(u"sign", {userName, password});
}

EndpointCall RegisterUrl(const Registration& r) {
    return PlatformUrl(u"ZC", {r.userName, r.password},
                       Pair("password1", r.password) + Pair("QQ", r.contactQq) +
                           Pair("Fullname", PercentEncodeUtf8(r.legalName)) +
                           Pair("account", r.alipayAccount) + Pair("Referee", r.referrerId) +
                           Pair("problem", PercentEncodeUtf8(r.securityQuestion)) +
                           Pair("Answer", PercentEncodeUtf8(r.securityAnswer)) +
                           Pair("type", QStringLiteral("1")));
}

EndpointCall ChangePasswordUrl(const Credentials& credentials, const QString& securityAnswer,
                               const QString& newPassword) {
    return PlatformUrl(u"xg_mm", credentials, Pair("w", securityAnswer) + Pair("p", newPassword));
}

EndpointCall ChangeSecurityUrl(const Credentials& credentials, const QString& oldAnswer,
                               const QString& newQuestion, const QString& newAnswer) {
    return PlatformUrl(u"xg_aq", credentials,
                       Pair("w", oldAnswer) + Pair("xt", newQuestion) + Pair("w1", newAnswer));
}

EndpointCall ChangeProfileUrl(const Credentials& credentials, const QString& securityAnswer,
                              const QString& contactQq, const QString& legalName,
                              const QString& alipayAccount) {
    return PlatformUrl(u"xg_zl", credentials,
                       Pair("w", securityAnswer) + Pair("q", contactQq) + Pair("z", legalName) +
                           Pair("f", alipayAccount));
}

EndpointCall NumberUrl(const Credentials& credentials, const QString& projectId,
                       const NumberOptions& options) {
    return PlatformUrl(u"yh_qh", credentials, OptionPairs(projectId, options));
}

EndpointCall SpecifiedNumberUrl(const Credentials& credentials, const QString& projectId,
                                const QString& phone) {
    return PlatformUrl(u"yh_qh", credentials, Pair("id", projectId) + Pair("phone", phone));
}

EndpointCall SpecifiedNumberUrl(const Credentials& credentials, const QString& projectId,
                                const NumberOptions& options, const QString& phone) {
    return PlatformUrl(u"yh_qh", credentials,
                       OptionPairs(projectId, options) + Pair("phone", phone));
}

EndpointCall ReleaseUrl(const Credentials& credentials, const QString& projectId,
                        const QString& phone) {
    return PlatformUrl(u"yh_sf", credentials, Pair("id", projectId) + Pair("phone", phone));
}

EndpointCall BlacklistUrl(const Credentials& credentials, const QString& projectId,
                          const QString& phone) {
    return PlatformUrl(u"yh_lh", credentials, Pair("id", projectId) + Pair("phone", phone));
}

EndpointCall PollUrl(const Credentials& credentials, const QString& projectId,
                     const QString& phone) {
    return PlatformUrl(u"yh_qm", credentials, Pair("id", projectId) + Pair("phone", phone));
}

EndpointCall ConfirmRechargeUrl(const Credentials& credentials, const QString& orderNumber) {
    return PlatformUrl(u"cz_tj", credentials, Pair("d", orderNumber));
}

EndpointCall SendSmsUrl(const Credentials& credentials, const QString& projectId,
                        const QString& sendingNumber, const QString& phone,
                        const QString& content) {
    return PlatformUrl(u"fdx_tj", credentials,
                       Pair("id", projectId) + Pair("send", sendingNumber) + Pair("phone", phone) +
                           Pair("content", content));
}

EndpointCall ProjectListUrl(const Credentials& credentials, const QString& searchText) {
    return PlatformUrl(u"liebiao_xm", credentials, QStringLiteral("&lx=1&ss=") + searchText);
}

EndpointCall FavouritesUrl(const Credentials& credentials, ProjectKind kind) {
    return PlatformUrl(u"xiangmu_ysc", credentials,
                       kind == ProjectKind::SendSms ? QStringLiteral("&l=1") : QString());
}

EndpointCall AddFavouriteUrl(const Credentials& credentials, const QString& projectId,
                             const QString& name, const QString& price) {
    return PlatformUrl(
        u"xiangmu_shouchan", credentials,
        Pair("id", projectId + QStringLiteral("#c-") + name + QStringLiteral("#c-") + price));
}

EndpointCall RemoveFavouriteUrl(const Credentials& credentials, const QString& projectId) {
    return PlatformUrl(u"xiangmu_qxsc", credentials, Pair("id", projectId));
}

EndpointCall ApplyReceiveProjectUrl(const Credentials& credentials, const QString& name,
                                    const QString& smsTemplate) {
    return PlatformUrl(u"sq_dx", credentials,
                       Pair("m", PercentEncodeUtf8(name)) +
                           Pair("dx", PercentEncodeUtf8(smsTemplate)) + QStringLiteral("&l=1"));
}

EndpointCall ApplySendProjectUrl(const Credentials& credentials, const QString& name,
                                 const QString& sendingNumbers) {
    return PlatformUrl(u"sq_dx", credentials,
                       Pair("m", PercentEncodeUtf8(name)) +
                           Pair("hm", PercentEncodeUtf8(sendingNumbers)) + QStringLiteral("&l=2"));
}

EndpointCall DockingListUrl(const Credentials& credentials) {
    return PlatformUrl(u"yh_zs_lb", credentials);
}

EndpointCall PublicDockingListUrl(const Credentials& credentials) {
    return PlatformUrl(u"yh_zs_gk_lb", credentials);
}

EndpointCall JoinDockingUrl(const Credentials& credentials, const QString& dockingCode) {
    return PlatformUrl(u"yh_zs_jr", credentials, Pair("d", dockingCode));
}

EndpointCall ToggleDockingUrl(const Credentials& credentials, const QString& dockingCode) {
    return PlatformUrl(u"yh_zs_fhzt", credentials, Pair("d", dockingCode));
}

EndpointCall DeleteDockingUrl(const Credentials& credentials, const QString& dockingCode) {
    return PlatformUrl(u"yh_zs_sc", credentials, Pair("d", dockingCode));
}

EndpointCall BalanceUrl(const Credentials& credentials) {
    return PlatformUrl(u"yh_gx", credentials);
}

EndpointCall PagedRecordsUrl(const Credentials& credentials, PagedList list) {
    return PlatformUrl(PagedWord(list, false), credentials);
}

EndpointCall PagedRecordsUrl(const Credentials& credentials, PagedList list, const QString& page) {
    return PlatformUrl(PagedWord(list, false), credentials, Pair("y", page));
}

EndpointCall PagedSearchUrl(const Credentials& credentials, PagedList list,
                            const QString& searchText) {
    return PlatformUrl(PagedWord(list, true), credentials, Pair("n", searchText));
}

EndpointCall PagedSearchUrl(const Credentials& credentials, PagedList list,
                            const QString& searchText, const QString& page) {
    return PlatformUrl(PagedWord(list, true), credentials, Pair("n", searchText) + Pair("y", page));
}

EndpointCall WithdrawalRecordsUrl(const Credentials& credentials) {
    return PlatformUrl(u"tx_mx", credentials);
}

EndpointCall RechargeRecordsUrl(const Credentials& credentials) {
    return PlatformUrl(u"cz_mx", credentials);
}

EndpointCall WithdrawUrl(const Credentials& credentials, const QString& amount) {
    return PlatformUrl(u"tj", credentials, Pair("j", amount));
}

EndpointCall QrCodeUrl(const Credentials& credentials, const QString& amount) {
    return PlatformUrl(u"sc", credentials, Pair("j", amount));
}

EndpointCall TransferAccountUrl(const Credentials& credentials) {
    return PlatformUrl(u"cx", credentials);
}

EndpointCall SegmentLookupUrl(const QString& segmentHost, const QString& phone) {
    return {QStringLiteral("https://") + segmentHost +
                QStringLiteral("/cc/json/mobile_tel_segment.htm?tel=") + phone,
            kSegmentLookupTimeoutMs};
}

EndpointCall VersionFileUrl(const QString& updateHost) {
    return {QStringLiteral("http://") + updateHost + QStringLiteral("/yh.txt"), kPlatformTimeoutMs};
}

QString UpdateArchiveUrl(const QString& updateHost) {
    return QStringLiteral("http://") + updateHost + QStringLiteral("/ky.zip");
}

}  // namespace lanxun
