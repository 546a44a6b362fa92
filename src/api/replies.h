#pragma once

// Readers of the platform's replies, one per reply form, and the named records
// of the replies the client reads. An empty or malformed reply reads as a
// failure of its form: no fields, no records, false.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace lanxun {

// --- The reply forms ------------------------------------------------------------

// Status reply: "|" fields, success when field 0 is exactly "1".
struct StatusReply {
    QStringList fields;
    bool succeeded = false;
    QString Field(int index) const { return fields.value(index); }
};
StatusReply ReadStatusReply(QStringView reply);

// Message replies: "成功" anywhere; the endpoints with their own test below.
bool MessageSucceeded(QStringView reply);
bool ApplicationUnderReview(QStringView reply);  // sq_dx: exactly "审核中"
bool RegistrationSucceeded(QStringView reply);   // ZC: exactly "注册成功"
bool WithdrawalAccepted(QStringView reply);      // tj: contains "处理中"

// Field reply: the "|" fields when there are at least `count`, else nothing.
std::optional<QStringList> ReadFieldReply(QStringView reply, int count);

// Records at `recordSeparator`, fields at `fieldSeparator`; records with fewer
// than `fieldCount` fields are skipped.
QList<QStringList> ReadRecords(QStringView text, QStringView recordSeparator,
                               QStringView fieldSeparator, int fieldCount);
// List reply: records at "#c+", fields at "#c-".
QList<QStringList> ReadListReply(QStringView reply, int fieldCount);

// --- sign -------------------------------------------------------------------------

struct SignReply {
    QString balance;
    QString withdrawable;
    QString field2;  // kept, never read
    QString securityQuestion;
    QString contactQq;
    QString legalName;
    QString alipayAccount;
    QString announcement;
    QString serviceQq;
    QString accountKind;  // "商户" is refused by the login
};
// Nothing when the reply has fewer than 11 fields.
std::optional<SignReply> ReadSignReply(QStringView reply);

// --- yh_qh, yh_qm -----------------------------------------------------------------

struct NumberReply {
    enum class Kind {
        Nothing,  // no fields at all (empty reply, network failure): ignore
        Given,    // field 0 "1" and a number in field 1
        Refused,  // anything else; the reply is the platform's message
    };
    Kind kind = Kind::Nothing;
    QString phone;
};
NumberReply ReadNumberReply(QStringView reply);
// The receive side shows a refusal with every "0|" removed.
QString ReceiveSideRefusalText(QStringView reply);

struct PollReply {
    bool complete = false;  // at least 3 fields
    bool arrived = false;   // complete and field 0 "1"
    QString passOn;         // field 1, handed on uninterpreted
    QString text;           // field 2: the SMS (or send result) when arrived, else a status
    // What goes into a status cell: field 2 when complete, the whole reply otherwise.
    QString statusText;
};
PollReply ReadPollReply(QStringView reply);

// --- Projects (blanks removed before splitting) -----------------------------------

struct ProjectRecord {  // liebiao_xm
    QString id;
    QString name;
    QString price;
    QString favouriteFlag;  // "0" not a favourite
    bool IsFavourite() const { return favouriteFlag != u"0"; }
};
QList<ProjectRecord> ReadProjectList(QStringView reply);

struct FavouriteRecord {  // xiangmu_ysc
    QString id;
    QString name;
    QString price;
};
QList<FavouriteRecord> ReadFavouriteList(QStringView reply);

// --- Dockings ---------------------------------------------------------------------

struct DockingRecord {  // yh_zs_lb, yh_zs_gk_lb
    QString status;     // "正常" or "暂停"
    QString code;
    QString projectName;
    QString price;
    QString cardCount;
};
QList<DockingRecord> ReadDockingList(QStringView reply);

// --- Money ------------------------------------------------------------------------

struct BalanceReply {  // yh_gx
    QString balance;
    QString withdrawable;
};
std::optional<BalanceReply> ReadBalanceReply(QStringView reply);

struct TransferAccountReply {  // cx
    QString holderName;
    QString account;
};
// Nothing when the reply is a message to show (fewer than 2 fields).
std::optional<TransferAccountReply> ReadTransferAccountReply(QStringView reply);

// sc: the payment QR image, or an error message after the marker FF 7B E7.
struct QrCodeReply {
    bool isError = false;
    QByteArray image;      // the whole reply when there is no marker
    QString errorMessage;  // GBK bytes after the first marker up to the next one or the end
};
QrCodeReply ReadQrCodeReply(const QByteArray& reply);

// --- Records ----------------------------------------------------------------------

struct PagedRecord {  // yh_mx, yh_mx_s, tj_mx, tj_mx_s
    QString projectId;
    QString projectName;
    QString phone;
    QString price;
    QString smsText;
    QString time;
};

struct PagedReply {
    bool usable = false;  // at least 3 fields and field 0 as an integer above 0
    QString totalCount;   // field 0 as received
    QString totalAmount;  // field 1 as received
    int count = 0;        // field 0 read as an integer
    QList<PagedRecord> records;
};
PagedReply ReadPagedReply(QStringView reply);
// Pages of 30 records: 60 give 2, 61 give 3, 0 gives 0.
int PageCount(int recordCount);

struct WithdrawalRecord {  // tx_mx: records at ",", fields at "|"
    QString name;
    QString account;
    QString amount;
    QString appliedAt;
    QString result;
};
QList<WithdrawalRecord> ReadWithdrawalList(QStringView reply);

struct RechargeRecord {  // cz_mx: records at "|", fields at ","
    QString orderNumber;
    QString amount;
    QString time;
    QString result;
};
QList<RechargeRecord> ReadRechargeList(QStringView reply);

}  // namespace lanxun
