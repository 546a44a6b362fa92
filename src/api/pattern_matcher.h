#pragma once

// One regular expression run over one text, handing out its matches and
// sub-matches. The dialect is the JavaScript style: "[0-9]", "{0,}", lazy "*?",
// capturing groups; "." matches anything but a line break. Indices count from 1.

#include <QList>
#include <QRegularExpression>
#include <QRegularExpressionMatch>
#include <QString>

namespace lanxun {

class PatternMatcher {
public:
    // Runs `pattern` over `subject`. Defaults: letter case ignored, "^" and "$"
    // at every line, all matches collected. False for an invalid pattern, which
    // leaves no matches; true otherwise, also when nothing matched.
    bool Execute(const QString& pattern, const QString& subject, bool caseSensitive = false,
                 bool multiline = true, bool global = true);

    // The pattern of the last Execute; empty before the first.
    QString Pattern() const { return pattern_; }

    // The subject with every match (only the first when not global) replaced.
    // The replacement may name parts of the match: $1..$99 a sub-match, $& the
    // match, $` the text before it, $' the text after it, $$ a "$". Empty after
    // an invalid pattern or before any Execute.
    QString Replace(const QString& replacement) const;

    int Count() const { return static_cast<int>(matches_.size()); }

    // The text of match `index`; empty beyond the matches. `byteOffset`, when
    // given, receives the match's 0-based offset in the GBK form of the subject
    // (a Chinese character counts 2), or -1 when there is no such match.
    QString MatchText(int index, int* byteOffset = nullptr) const;

    // Sub-match `subIndex` of match `matchIndex`; empty beyond them and for a
    // group that took part in no match. `byteOffset` receives the sub-match's
    // GBK offset, or -1 when it has none.
    QString SubMatchText(int matchIndex, int subIndex, int* byteOffset = nullptr) const;

    // The number of capturing groups of the first match; 0 without a match.
    int SubMatchCount() const;

private:
    int ByteOffset(qsizetype charPosition) const;

    QString pattern_;
    QString subject_;
    bool valid_ = false;
    QList<QRegularExpressionMatch> matches_;
};

}  // namespace lanxun
