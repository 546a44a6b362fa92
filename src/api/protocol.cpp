#include "api/protocol.h"

#include <limits>

namespace lanxun {

bool IsBlank(QChar c) {
    return c == u' ' || c == kFullWidthSpace;
}

QStringList SplitText(QStringView text, QStringView separator) {
    QStringList parts;
    if (text.isEmpty()) {
        return parts;
    }
    if (separator.isEmpty()) {
        parts.append(text.toString());
        return parts;
    }
    qsizetype start = 0;
    while (true) {
        const qsizetype found = text.indexOf(separator, start, Qt::CaseSensitive);
        if (found < 0) {
            break;
        }
        parts.append(text.mid(start, found - start).toString());
        start = found + separator.size();
    }
    if (start < text.size()) {
        parts.append(text.mid(start).toString());
    }
    return parts;
}

QString RemoveBlanks(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (!IsBlank(c)) {
            result.append(c);
        }
    }
    return result;
}

QString TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin).toString();
}

QString TextBetween(QStringView text, QStringView left, QStringView right) {
    const qsizetype leftAt = text.indexOf(left, 0, Qt::CaseInsensitive);
    if (leftAt < 0) {
        return {};
    }
    const qsizetype start = leftAt + left.size();
    const qsizetype rightAt = text.indexOf(right, start, Qt::CaseInsensitive);
    if (rightAt < 0) {
        return {};
    }
    return text.mid(start, rightAt - start).toString();
}

QString TextBefore(QStringView text, QStringView marker) {
    const qsizetype at = text.indexOf(marker, 0, Qt::CaseSensitive);
    return at < 0 ? QString() : text.left(at).toString();
}

int ReadInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long kMax = std::numeric_limits<int>::max();
    constexpr long long kMin = std::numeric_limits<int>::min();
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > kMax + 1) {
            value = kMax + 1;  // keeps going without overflow; clamped below
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > kMax) {
        return static_cast<int>(kMax);
    }
    if (value < kMin) {
        return static_cast<int>(kMin);
    }
    return static_cast<int>(value);
}

QString PercentEncodeUtf8(QStringView text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QString result(utf8.size() * 3, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (char byte : utf8) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = u'%';
        *out++ = kHex[b >> 4];
        *out++ = kHex[b & 0x0F];
    }
    return result;
}

QString DateTimeText(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return {};
    }
    const QDateTime local = dateTime.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    QString text = QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0) {
        return text;
    }
    text += QStringLiteral("%1时").arg(t.hour());
    if (t.minute() == 0 && t.second() == 0) {
        return text;
    }
    text += QStringLiteral("%1分").arg(t.minute());
    if (t.second() == 0) {
        return text;
    }
    return text + QStringLiteral("%1秒").arg(t.second());
}

namespace {

// Reads digits followed by `unit` at `pos`; advances `pos` past both.
bool ReadNumberWithUnit(QStringView text, qsizetype& pos, char16_t unit, int& value) {
    qsizetype i = pos;
    long long number = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && i - pos < 9) {
        number = number * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i == pos || i >= text.size() || text[i] != unit) {
        return false;
    }
    value = static_cast<int>(number);
    pos = i + 1;
    return true;
}

}  // namespace

QDateTime ReadDateTimeText(QStringView text) {
    const QString trimmed = TrimBlanks(text);
    const QStringView s(trimmed);
    qsizetype pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadNumberWithUnit(s, pos, u'年', year) || !ReadNumberWithUnit(s, pos, u'月', month) ||
        !ReadNumberWithUnit(s, pos, u'日', day)) {
        return {};
    }
    // The time is optional and shortened from the right: 时, 时分 or 时分秒.
    if (pos < s.size()) {
        if (!ReadNumberWithUnit(s, pos, u'时', hour)) {
            return {};
        }
        if (pos < s.size()) {
            if (!ReadNumberWithUnit(s, pos, u'分', minute)) {
                return {};
            }
            if (pos < s.size() && !ReadNumberWithUnit(s, pos, u'秒', second)) {
                return {};
            }
        }
    }
    if (pos != s.size()) {
        return {};
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

}  // namespace lanxun
