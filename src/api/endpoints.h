#pragma once

// The client endpoints of the platform: one function per request, forming its
// exact URL on the endpoint's server line, with the time-out it is sent with.
// Every URL is "http://" + line + "/" + endpoint + "/username=" + user +
// "&password=" + password + the endpoint's pairs, in the platform's order.
// Values go in unchanged (a space, "&", "=", "#" or Chinese stay as they are);
// only the free texts of a project application and of a registration pass
// through PercentEncodeUtf8. The catalogue alone knows which line and time-out
// belong to an endpoint: a caller names the endpoint and its values.

#include <QString>
#include <QStringList>
#include <QStringView>

#include "api/server_lines.h"

namespace lanxun {

struct Credentials {
    QString userName;
    QString password;
};

// Time-outs, the same value for all four of HttpRequest::SetTimeouts.
inline constexpr int kPlatformTimeoutMs = 15000;
inline constexpr int kSendSmsTimeoutMs = 5000;        // fdx_tj
inline constexpr int kSegmentLookupTimeoutMs = 5000;  // the phone-segment service

// One request as the catalogue forms it: the URL, and the time-out of its endpoint.
struct EndpointCall {
    QString url;
    int timeoutMs = kPlatformTimeoutMs;
};

// Every endpoint word of the client protocol, in the catalogue's order.
QStringList EndpointWords();
// The server line of an endpoint word, from the process-wide Lines(); empty for
// a word the platform does not know.
ApiLine LineForEndpoint(QStringView endpoint);
// The time-out of an endpoint word ("fdx_tj" -> 5000, every other -> 15000).
int TimeoutForEndpoint(QStringView endpoint);

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

EndpointCall SignUrl(const QString& userName, const QString& password);

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
EndpointCall RegisterUrl(const Registration& registration);  // ZC

EndpointCall ChangePasswordUrl(const Credentials& credentials, const QString& securityAnswer,
                               const QString& newPassword);  // xg_mm
EndpointCall ChangeSecurityUrl(const Credentials& credentials, const QString& oldAnswer,
                               const QString& newQuestion,
                               const QString& newAnswer);  // xg_aq
EndpointCall ChangeProfileUrl(const Credentials& credentials, const QString& securityAnswer,
                              const QString& contactQq, const QString& legalName,
                              const QString& alipayAccount);  // xg_zl

// --- numberLine -----------------------------------------------------------------

// yh_qh of a batch and of the send side's "取号".
EndpointCall NumberUrl(const Credentials& credentials, const QString& projectId,
                       const NumberOptions& options);
// yh_qh for a chosen number on the receive side, and "use again".
EndpointCall SpecifiedNumberUrl(const Credentials& credentials, const QString& projectId,
                                const QString& phone);
// yh_qh for a chosen number on the send side: the options, then the number.
EndpointCall SpecifiedNumberUrl(const Credentials& credentials, const QString& projectId,
                                const NumberOptions& options, const QString& phone);

// --- disposalLine ---------------------------------------------------------------

EndpointCall ReleaseUrl(const Credentials& credentials, const QString& projectId,
                        const QString& phone);  // yh_sf
EndpointCall BlacklistUrl(const Credentials& credentials, const QString& projectId,
                          const QString& phone);  // yh_lh

// --- pollLine -------------------------------------------------------------------

EndpointCall PollUrl(const Credentials& credentials, const QString& projectId,
                     const QString& phone);  // yh_qm
EndpointCall ConfirmRechargeUrl(const Credentials& credentials,
                                const QString& orderNumber);  // cz_tj

// --- sendLine -------------------------------------------------------------------

EndpointCall SendSmsUrl(const Credentials& credentials, const QString& projectId,
                        const QString& sendingNumber, const QString& phone,
                        const QString& content);  // fdx_tj

// --- projectLine ----------------------------------------------------------------

enum class ProjectKind { ReceiveSms, SendSms };

EndpointCall ProjectListUrl(const Credentials& credentials,
                            const QString& searchText);  // liebiao_xm
EndpointCall FavouritesUrl(const Credentials& credentials,
                           ProjectKind kind);  // xiangmu_ysc
// xiangmu_shouchan: the three values travel joined by "#c-" in the one "&id=" value.
EndpointCall AddFavouriteUrl(const Credentials& credentials, const QString& projectId,
                             const QString& name, const QString& price);
EndpointCall RemoveFavouriteUrl(const Credentials& credentials,
                                const QString& projectId);  // xiangmu_qxsc
// sq_dx, "&l=1": name and SMS template encoded.
EndpointCall ApplyReceiveProjectUrl(const Credentials& credentials, const QString& name,
                                    const QString& smsTemplate);
// sq_dx, "&l=2": name and the "#"-separated sending numbers encoded.
EndpointCall ApplySendProjectUrl(const Credentials& credentials, const QString& name,
                                 const QString& sendingNumbers);

// --- dockingLine ----------------------------------------------------------------

EndpointCall DockingListUrl(const Credentials& credentials);        // yh_zs_lb
EndpointCall PublicDockingListUrl(const Credentials& credentials);  // yh_zs_gk_lb
EndpointCall JoinDockingUrl(const Credentials& credentials,
                            const QString& dockingCode);  // yh_zs_jr
// yh_zs_fhzt: the platform switches the docking between paused and running.
EndpointCall ToggleDockingUrl(const Credentials& credentials, const QString& dockingCode);
EndpointCall DeleteDockingUrl(const Credentials& credentials,
                              const QString& dockingCode);  // yh_zs_sc
EndpointCall BalanceUrl(const Credentials& credentials);    // yh_gx

// --- recordLine -----------------------------------------------------------------

enum class PagedList { Sms, Referral };  // yh_mx / yh_mx_s, tj_mx / tj_mx_s

// Page 1 of the full list: no key at all.
EndpointCall PagedRecordsUrl(const Credentials& credentials, PagedList list);
// Another page: "&y=" + page, the page text as it stands.
EndpointCall PagedRecordsUrl(const Credentials& credentials, PagedList list, const QString& page);
// Page 1 of a search: "&n=" + search text, no "&y=".
EndpointCall PagedSearchUrl(const Credentials& credentials, PagedList list,
                            const QString& searchText);
// Another page of a search: "&n=" + search text + "&y=" + page.
EndpointCall PagedSearchUrl(const Credentials& credentials, PagedList list,
                            const QString& searchText, const QString& page);
EndpointCall WithdrawalRecordsUrl(const Credentials& credentials);  // tx_mx
EndpointCall RechargeRecordsUrl(const Credentials& credentials);    // cz_mx

// --- withdrawLine, rechargeLine -------------------------------------------------

EndpointCall WithdrawUrl(const Credentials& credentials,
                         const QString& amount);  // tj
EndpointCall QrCodeUrl(const Credentials& credentials,
                       const QString& amount);                    // sc
EndpointCall TransferAccountUrl(const Credentials& credentials);  // cx

// --- Other services -------------------------------------------------------------

// The phone-segment lookup, sent with kSegmentLookupTimeoutMs.
EndpointCall SegmentLookupUrl(const QString& segmentHost, const QString& phone);
EndpointCall VersionFileUrl(const QString& updateHost);  // "/yh.txt"
// The update archive, fetched as a download rather than a platform call.
QString UpdateArchiveUrl(const QString& updateHost);  // "/ky.zip"

}  // namespace lanxun
