#pragma once

// The client endpoints of the platform: one function per request, forming its
// exact URL. Every URL is "http://" + line + "/" + endpoint + "/username=" + user
// + "&password=" + password + the endpoint's pairs, in the platform's order.
// Values go in unchanged (a space, "&", "=", "#" or Chinese stay as they are);
// only the free texts of a project application and of a registration pass
// through PercentEncodeUtf8. The line is the "host:port" text of the endpoint's
// server line.

#include <QString>
#include <QStringView>

namespace lanxun {

struct Credentials {
    QString userName;
    QString password;
};

// Time-outs, the same value for all four of HttpRequest::SetTimeouts.
inline constexpr int kPlatformTimeoutMs = 15000;
inline constexpr int kSendSmsTimeoutMs = 5000;        // fdx_tj
inline constexpr int kSegmentLookupTimeoutMs = 5000;  // the phone-segment service
// The time-out for an endpoint word ("fdx_tj" -> 5000, every other -> 15000).
int TimeoutForEndpoint(QStringView endpoint);

// The common form, for endpoints given by word; `pairs` is appended as it stands.
QString PlatformUrl(const QString& line, QStringView endpoint, const Credentials& credentials,
                    const QString& pairs = {});

// --- Number options of yh_qh ---------------------------------------------------

struct NumberOptions {
    QString operatorValue;  // "" default, "1" 移动, "2" 联通, "3" 电信
    QString region;         // "" default, else the province name as shown
    QString cardType;       // "" default, "1" virtual operator, "2" real card
    QString loopMode;       // "1" filter used numbers, "2" do not; "" before any choice
};

// Operator and card-type pickers: empty for "默认", else the selected index.
QString IndexOptionValue(const QString& itemText, int selectedIndex);
// Region picker: empty for "默认", else the item text itself.
QString RegionOptionValue(const QString& itemText);
// Loop-mode check box: ticked "2" (numbers may come again), clear "1".
QString LoopModeValue(bool ticked);

// --- accountLine ----------------------------------------------------------------

QString SignUrl(const QString& line, const QString& userName, const QString& password);

struct Registration {
    QString userName;
    QString password;
    QString contactQq;
    QString legalName;  // encoded
    QString alipayAccount;
    QString referrerId;        // may be empty
    QString securityQuestion;  // encoded
    QString securityAnswer;    // encoded
};
QString RegisterUrl(const QString& line, const Registration& registration);  // ZC

QString ChangePasswordUrl(const QString& line, const Credentials& credentials,
                          const QString& securityAnswer, const QString& newPassword);  // xg_mm
QString ChangeSecurityUrl(const QString& line, const Credentials& credentials,
                          const QString& oldAnswer, const QString& newQuestion,
                          const QString& newAnswer);  // xg_aq
QString ChangeProfileUrl(const QString& line, const Credentials& credentials,
                         const QString& securityAnswer, const QString& contactQq,
                         const QString& legalName, const QString& alipayAccount);  // xg_zl

// --- numberLine -----------------------------------------------------------------

// yh_qh of a batch and of the send side's "取号".
QString NumberUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                  const NumberOptions& options);
// yh_qh for a chosen number on the receive side, and "use again".
QString SpecifiedNumberUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId, const QString& phone);
// yh_qh for a chosen number on the send side: the options, then the number.
QString SpecifiedNumberUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId, const NumberOptions& options,
                           const QString& phone);

// --- disposalLine ---------------------------------------------------------------

QString ReleaseUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                   const QString& phone);  // yh_sf
QString BlacklistUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                     const QString& phone);  // yh_lh

// --- pollLine -------------------------------------------------------------------

QString PollUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                const QString& phone);  // yh_qm
QString ConfirmRechargeUrl(const QString& line, const Credentials& credentials,
                           const QString& orderNumber);  // cz_tj

// --- sendLine -------------------------------------------------------------------

QString SendSmsUrl(const QString& line, const Credentials& credentials, const QString& projectId,
                   const QString& sendingNumber, const QString& phone,
                   const QString& content);  // fdx_tj

// --- projectLine ----------------------------------------------------------------

enum class ProjectKind { ReceiveSms, SendSms };

QString ProjectListUrl(const QString& line, const Credentials& credentials,
                       const QString& searchText);  // liebiao_xm
QString FavouritesUrl(const QString& line, const Credentials& credentials,
                      ProjectKind kind);  // xiangmu_ysc
// xiangmu_shouchan: the three values travel joined by "#c-" in the one "&id=" value.
QString AddFavouriteUrl(const QString& line, const Credentials& credentials,
                        const QString& projectId, const QString& name, const QString& price);
QString RemoveFavouriteUrl(const QString& line, const Credentials& credentials,
                           const QString& projectId);  // xiangmu_qxsc
// sq_dx, "&l=1": name and SMS template encoded.
QString ApplyReceiveProjectUrl(const QString& line, const Credentials& credentials,
                               const QString& name, const QString& smsTemplate);
// sq_dx, "&l=2": name and the "#"-separated sending numbers encoded.
QString ApplySendProjectUrl(const QString& line, const Credentials& credentials,
                            const QString& name, const QString& sendingNumbers);

// --- dockingLine ----------------------------------------------------------------

QString DockingListUrl(const QString& line, const Credentials& credentials);        // yh_zs_lb
QString PublicDockingListUrl(const QString& line, const Credentials& credentials);  // yh_zs_gk_lb
QString JoinDockingUrl(const QString& line, const Credentials& credentials,
                       const QString& dockingCode);  // yh_zs_jr
// yh_zs_fhzt: the platform switches the docking between paused and running.
QString ToggleDockingUrl(const QString& line, const Credentials& credentials,
                         const QString& dockingCode);
QString DeleteDockingUrl(const QString& line, const Credentials& credentials,
                         const QString& dockingCode);                     // yh_zs_sc
QString BalanceUrl(const QString& line, const Credentials& credentials);  // yh_gx

// --- recordLine -----------------------------------------------------------------

enum class PagedList { Sms, Referral };  // yh_mx / yh_mx_s, tj_mx / tj_mx_s

// Page 1 of the full list: no key at all.
QString PagedRecordsUrl(const QString& line, const Credentials& credentials, PagedList list);
// Another page: "&y=" + page, the page text as it stands.
QString PagedRecordsUrl(const QString& line, const Credentials& credentials, PagedList list,
                        const QString& page);
// Page 1 of a search: "&n=" + search text, no "&y=".
QString PagedSearchUrl(const QString& line, const Credentials& credentials, PagedList list,
                       const QString& searchText);
// Another page of a search: "&n=" + search text + "&y=" + page.
QString PagedSearchUrl(const QString& line, const Credentials& credentials, PagedList list,
                       const QString& searchText, const QString& page);
QString WithdrawalRecordsUrl(const QString& line, const Credentials& credentials);  // tx_mx
QString RechargeRecordsUrl(const QString& line, const Credentials& credentials);    // cz_mx

// --- withdrawLine, rechargeLine -------------------------------------------------

QString WithdrawUrl(const QString& line, const Credentials& credentials,
                    const QString& amount);  // tj
QString QrCodeUrl(const QString& line, const Credentials& credentials,
                  const QString& amount);                                         // sc
QString TransferAccountUrl(const QString& line, const Credentials& credentials);  // cx

// --- Other services -------------------------------------------------------------

// The phone-segment lookup, sent with kSegmentLookupTimeoutMs.
QString SegmentLookupUrl(const QString& segmentHost, const QString& phone);
QString VersionFileUrl(const QString& updateHost);    // "/yh.txt"
QString UpdateArchiveUrl(const QString& updateHost);  // "/ky.zip"

}  // namespace lanxun
