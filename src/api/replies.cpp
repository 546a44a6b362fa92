#include "api/replies.h"

#include "api/protocol.h"
#include "platform/gbk.h"

namespace lanxun {

namespace {

const QString kFieldSeparator = QStringLiteral("|");
const QString kRecordSeparator = QStringLiteral("#c+");
const QString kListFieldSeparator = QStringLiteral("#c-");

}  // namespace

StatusReply ReadStatusReply(QStringView reply) {
    StatusReply result;
    result.fields = SplitText(reply, kFieldSeparator);
    result.succeeded = !result.fields.isEmpty() && result.fields.front() == u"1";
    return result;
}

bool MessageSucceeded(QStringView reply) {
    return reply.contains(u"成功");
}
bool ApplicationUnderReview(QStringView reply) {
    return reply == u"审核中";
}
bool RegistrationSucceeded(QStringView reply) {
    return reply == u"注册成功";
}
bool WithdrawalAccepted(QStringView reply) {
    return reply.contains(u"处理中");
}

std::optional<QStringList> ReadFieldReply(QStringView reply, int count) {
    QStringList fields = SplitText(reply, kFieldSeparator);
    if (fields.size() < count) {
        return std::nullopt;
    }
    return fields;
}

QList<QStringList> ReadRecords(QStringView text, QStringView recordSeparator,
                               QStringView fieldSeparator, int fieldCount) {
    QList<QStringList> records;
    qsizetype start = 0;
    // Walks the records in place rather than splitting twice: a list of
    // thousands of projects then costs one pass over the text.
    while (start < text.size()) {
        qsizetype end = text.indexOf(recordSeparator, start, Qt::CaseSensitive);
        if (recordSeparator.isEmpty() || end < 0) {
            end = text.size();
        }
        QStringList fields = SplitText(text.mid(start, end - start), fieldSeparator);
        if (fields.size() >= fieldCount) {
            records.append(std::move(fields));
        }
        start = end + recordSeparator.size();
    }
    return records;
}

QList<QStringList> ReadListReply(QStringView reply, int fieldCount) {
    return ReadRecords(reply, kRecordSeparator, kListFieldSeparator, fieldCount);
}

std::optional<SignReply> ReadSignReply(QStringView reply) {
    const auto f = ReadFieldReply(reply, 11);
    if (!f) {
        return std::nullopt;
    }
    const QStringList& v = *f;
    return SignReply{v[0], v[1], v[2], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
}

NumberReply ReadNumberReply(QStringView reply) {
    const StatusReply status = ReadStatusReply(reply);
    NumberReply result;
    if (status.fields.isEmpty()) {
        return result;
    }
    // A "1" without a number cannot become a row; the user sees the text instead.
    if (status.succeeded && !status.Field(1).isEmpty()) {
        result.kind = NumberReply::Kind::Given;
        result.phone = status.Field(1);
    } else {
        result.kind = NumberReply::Kind::Refused;
    }
    return result;
}

QString ReceiveSideRefusalText(QStringView reply) {
    return reply.toString().remove(QStringLiteral("0|"));
}

PollReply ReadPollReply(QStringView reply) {
    const StatusReply status = ReadStatusReply(reply);
    PollReply result;
    result.complete = status.fields.size() >= 3;
    if (!result.complete) {
        result.statusText = reply.toString();
        return result;
    }
    result.arrived = status.succeeded;
    result.passOn = status.Field(1);
    result.text = status.Field(2);
    result.statusText = result.text;
    return result;
}

QList<ProjectRecord> ReadProjectList(QStringView reply) {
    QList<ProjectRecord> projects;
    for (const QStringList& f : ReadListReply(RemoveBlanks(reply), 5)) {
        projects.append({f[0], f[1], f[2], f[4]});
    }
    return projects;
}

QList<FavouriteRecord> ReadFavouriteList(QStringView reply) {
    QList<FavouriteRecord> favourites;
    for (const QStringList& f : ReadListReply(RemoveBlanks(reply), 3)) {
        favourites.append({f[0], f[1], f[2]});
    }
    return favourites;
}

QList<DockingRecord> ReadDockingList(QStringView reply) {
    QList<DockingRecord> dockings;
    for (const QStringList& f : ReadListReply(reply, 9)) {
        dockings.append({f[0], f[1], f[2], f[3], f[5]});
    }
    return dockings;
}

std::optional<BalanceReply> ReadBalanceReply(QStringView reply) {
    const auto f = ReadFieldReply(reply, 2);
    if (!f) {
        return std::nullopt;
    }
    return BalanceReply{(*f)[0], (*f)[1]};
}

std::optional<TransferAccountReply> ReadTransferAccountReply(QStringView reply) {
    const auto f = ReadFieldReply(reply, 2);
    if (!f) {
        return std::nullopt;
    }
    return TransferAccountReply{(*f)[0], (*f)[1]};
}

QrCodeReply ReadQrCodeReply(const QByteArray& reply) {
    static const QByteArray kMarker("\xFF\x7B\xE7", 3);
    QrCodeReply result;
    const qsizetype first = reply.indexOf(kMarker);
    if (first < 0) {
        result.image = reply;
        return result;
    }
    const qsizetype start = first + kMarker.size();
    qsizetype next = reply.indexOf(kMarker, start);
    if (next < 0) {
        next = reply.size();
    }
    result.isError = true;
    result.errorMessage = FromGbkUntilZero(reply.mid(start, next - start));
    return result;
}

PagedReply ReadPagedReply(QStringView reply) {
    const QStringList fields = SplitText(reply, kFieldSeparator);
    PagedReply result;
    if (fields.size() < 3) {
        return result;
    }
    result.count = ReadInteger(fields[0]);
    if (result.count <= 0) {
        return result;
    }
    result.usable = true;
    result.totalCount = fields[0];
    result.totalAmount = fields[1];
    for (const QStringList& f : ReadListReply(fields[2], 6)) {
        result.records.append({f[0], f[1], f[2], f[3], f[4], f[5]});
    }
    return result;
}

int PageCount(int recordCount) {
    constexpr int kPageSize = 30;
    if (recordCount <= 0) {
        return 0;
    }
    return recordCount / kPageSize + (recordCount % kPageSize != 0 ? 1 : 0);
}

QList<WithdrawalRecord> ReadWithdrawalList(QStringView reply) {
    QList<WithdrawalRecord> records;
    for (const QStringList& f : ReadRecords(reply, u",", u"|", 6)) {
        records.append({f[0], f[1], f[2], f[3], f[4]});
    }
    return records;
}

QList<RechargeRecord> ReadRechargeList(QStringView reply) {
    QList<RechargeRecord> records;
    for (const QStringList& f : ReadRecords(reply, u"|", u",", 5)) {
        records.append({f[0], f[1], f[3], f[4]});
    }
    return records;
}

}  // namespace lanxun
