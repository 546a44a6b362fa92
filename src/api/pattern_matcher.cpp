#include "api/pattern_matcher.h"

#include "platform/gbk.h"

namespace lanxun {

namespace {

// "." and "$" treat CR, LF and CR LF as line breaks, as the texts of this
// program (CR LF lines) need.
const QString kLineBreaks = QStringLiteral("(*ANYCRLF)");

// Appends the expansion of `replacement` for one match (the JavaScript rules:
// "$nn" when that group exists, else "$n", else the characters as they stand).
void AppendSubstitution(QString& out, const QString& replacement,
                        const QRegularExpressionMatch& match, const QString& subject) {
    const int groups = match.regularExpression().captureCount();
    const qsizetype n = replacement.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = replacement[i];
        if (c != u'$' || i + 1 >= n) {
            out.append(c);
            continue;
        }
        const QChar next = replacement[i + 1];
        if (next == u'$') {
            out.append(u'$');
            ++i;
        } else if (next == u'&') {
            out.append(match.captured(0));
            ++i;
        } else if (next == u'`') {
            out.append(subject.left(match.capturedStart(0)));
            ++i;
        } else if (next == u'\'') {
            out.append(subject.mid(match.capturedEnd(0)));
            ++i;
        } else if (next.isDigit() && next.unicode() < 128) {
            const int one = next.unicode() - u'0';
            int two = -1;
            if (i + 2 < n && replacement[i + 2].unicode() >= u'0' &&
                replacement[i + 2].unicode() <= u'9') {
                two = one * 10 + (replacement[i + 2].unicode() - u'0');
            }
            if (two >= 1 && two <= groups) {
                out.append(match.captured(two));
                i += 2;
            } else if (one >= 1 && one <= groups) {
                out.append(match.captured(one));
                ++i;
            } else {
                out.append(c);
            }
        } else {
            out.append(c);
        }
    }
}

}  // namespace

bool PatternMatcher::Execute(const QString& pattern, const QString& subject, bool caseSensitive,
                             bool multiline, bool global) {
    pattern_ = pattern;
    subject_ = subject;
    matches_.clear();

    QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
    if (!caseSensitive) {
        options |= QRegularExpression::CaseInsensitiveOption;
    }
    if (multiline) {
        options |= QRegularExpression::MultilineOption;
    }
    const QRegularExpression expression(kLineBreaks + pattern, options);
    valid_ = expression.isValid();
    if (!valid_) {
        return false;
    }

    // Steps past an empty match by one character, as the JavaScript engines do,
    // instead of retrying at the same place for a non-empty one.
    qsizetype offset = 0;
    while (offset <= subject_.size()) {
        QRegularExpressionMatch match = expression.match(subject_, offset);
        if (!match.hasMatch()) {
            break;
        }
        const qsizetype start = match.capturedStart(0);
        const qsizetype end = match.capturedEnd(0);
        matches_.append(match);
        if (!global) {
            break;
        }
        if (end > start) {
            offset = end;
        } else {
            offset = end + 1;
            if (end < subject_.size() && subject_[end].isHighSurrogate() &&
                end + 1 < subject_.size() && subject_[end + 1].isLowSurrogate()) {
                ++offset;
            }
        }
    }
    return true;
}

QString PatternMatcher::Replace(const QString& replacement) const {
    if (!valid_) {
        return {};
    }
    QString out;
    out.reserve(subject_.size());
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : matches_) {
        out.append(QStringView(subject_).mid(copied, match.capturedStart(0) - copied));
        AppendSubstitution(out, replacement, match, subject_);
        copied = match.capturedEnd(0);
    }
    out.append(QStringView(subject_).mid(copied));
    return out;
}

QString PatternMatcher::MatchText(int index, int* byteOffset) const {
    if (byteOffset) {
        *byteOffset = -1;
    }
    if (index < 1 || index > matches_.size()) {
        return {};
    }
    const QRegularExpressionMatch& match = matches_[index - 1];
    if (byteOffset) {
        *byteOffset = ByteOffset(match.capturedStart(0));
    }
    return match.captured(0);
}

QString PatternMatcher::SubMatchText(int matchIndex, int subIndex, int* byteOffset) const {
    if (byteOffset) {
        *byteOffset = -1;
    }
    if (matchIndex < 1 || matchIndex > matches_.size()) {
        return {};
    }
    const QRegularExpressionMatch& match = matches_[matchIndex - 1];
    if (subIndex < 1 || subIndex > match.regularExpression().captureCount()) {
        return {};
    }
    const qsizetype start = match.capturedStart(subIndex);
    if (start < 0) {
        return {};
    }
    if (byteOffset) {
        *byteOffset = ByteOffset(start);
    }
    return match.captured(subIndex);
}

int PatternMatcher::SubMatchCount() const {
    return matches_.isEmpty() ? 0 : matches_.front().regularExpression().captureCount();
}

int PatternMatcher::ByteOffset(qsizetype charPosition) const {
    // Counted exactly from the characters before the match: searching the match
    // text from the character position could land on an earlier equal text.
    return GbkByteLength(subject_.left(charPosition));
}

}  // namespace lanxun
