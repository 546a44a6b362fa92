// The reply readers and the text rules they stand on. The first byte chooses
// the reader; the rest is the reply as GBK bytes, as it comes off the wire.

#include "api/protocol.h"
#include "api/replies.h"
#include "fuzz_check.h"
#include "platform/gbk.h"

using namespace lanxun;

namespace {

// Joining the parts again gives the text back, but for the one trailing
// separator that adds no part.
void CheckSplit(const QString& text, const QString& separator) {
    const QStringList parts = SplitText(text, separator);
    if (text.isEmpty()) {
        FUZZ_CHECK(parts.isEmpty());
        return;
    }
    if (separator.isEmpty()) {
        FUZZ_CHECK(parts == QStringList{text});
        return;
    }
    const QString joined = parts.join(separator);
    FUZZ_CHECK(joined == text || joined + separator == text);
}

void CheckRecords(const QList<QStringList>& records, int fieldCount) {
    for (const QStringList& fields : records) {
        FUZZ_CHECK(fields.size() >= fieldCount);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t selector = data[0];
    const QByteArray bytes = fuzz::Bytes(data + 1, size - 1);
    const QString reply = FromGbkUntilZero(bytes);
    switch (selector % 20) {
        case 0: {
            const StatusReply status = ReadStatusReply(reply);
            FUZZ_CHECK(status.succeeded == (status.fields.value(0) == u"1"));
            status.Field(-1);
            status.Field(1000);
            break;
        }
        case 1:
            MessageSucceeded(reply);
            ApplicationUnderReview(reply);
            RegistrationSucceeded(reply);
            WithdrawalAccepted(reply);
            break;
        case 2: {
            const int count = static_cast<int8_t>(selector >> 5) * 3;
            const auto fields = ReadFieldReply(reply, count);
            FUZZ_CHECK(!fields || fields->size() >= count);
            break;
        }
        case 3: {
            // Separators of the caller's choice: text, record and field
            // separator at zero bytes.
            const QList<QByteArray> parts = fuzz::Parts(bytes, 3);
            const int count = selector >> 5;
            CheckRecords(
                ReadRecords(FromGbk(parts[0]), FromGbk(parts[1]), FromGbk(parts[2]), count), count);
            break;
        }
        case 4:
            CheckRecords(ReadListReply(reply, selector >> 5), selector >> 5);
            break;
        case 5:
            ReadSignReply(reply);
            break;
        case 6: {
            const NumberReply number = ReadNumberReply(reply);
            FUZZ_CHECK(number.kind == NumberReply::Kind::Given || number.phone.isEmpty());
            // Every "0|" of the reply goes, in one pass: a "0|" that only the removal
            // brings together ("00||") stays, as the platform's own text had it apart.
            FUZZ_CHECK(ReceiveSideRefusalText(reply) ==
                       reply.split(QStringLiteral("0|")).join(QString()));
            break;
        }
        case 7: {
            const PollReply poll = ReadPollReply(reply);
            FUZZ_CHECK(!poll.arrived || poll.complete);
            break;
        }
        case 8:
            ReadProjectList(reply);
            ReadFavouriteList(reply);
            break;
        case 9:
            ReadDockingList(reply);
            break;
        case 10:
            ReadBalanceReply(reply);
            ReadTransferAccountReply(reply);
            break;
        case 11: {
            const PagedReply paged = ReadPagedReply(reply);
            FUZZ_CHECK(!paged.usable || paged.count > 0);
            const int pages = PageCount(paged.count);
            FUZZ_CHECK(pages >= 0);
            FUZZ_CHECK(static_cast<qint64>(pages) * 30 >= paged.count);
            break;
        }
        case 12:
            ReadWithdrawalList(reply);
            ReadRechargeList(reply);
            break;
        case 13: {
            const QList<QByteArray> parts = fuzz::Parts(bytes, 2);
            CheckSplit(FromGbk(parts[0]), FromGbk(parts[1]));
            break;
        }
        case 14:
            CheckSplit(reply, QStringLiteral("|"));
            break;
        case 15: {
            const QString removed = RemoveBlanks(reply);
            FUZZ_CHECK(!removed.contains(u' ') && !removed.contains(kFullWidthSpace));
            const QString trimmed = TrimBlanks(reply);
            FUZZ_CHECK(reply.contains(trimmed));
            FUZZ_CHECK(trimmed.isEmpty() ||
                       (!IsBlank(trimmed.front()) && !IsBlank(trimmed.back())));
            break;
        }
        case 16: {
            const QList<QByteArray> parts = fuzz::Parts(bytes, 3);
            const QString text = FromGbk(parts[0]);
            TextBetween(text, FromGbk(parts[1]), FromGbk(parts[2]));
            const QString before = TextBefore(text, FromGbk(parts[1]));
            FUZZ_CHECK(text.startsWith(before));
            break;
        }
        case 17:
            ReadInteger(reply);
            break;
        case 18: {
            const QDateTime read = ReadDateTimeText(reply);
            if (read.isValid()) {
                // A text that reads back names a time the program can write again.
                FUZZ_CHECK(ReadDateTimeText(DateTimeText(read)) == read);
            }
            break;
        }
        default:
            ReadQrCodeReply(bytes);
            break;
    }
    return 0;
}
