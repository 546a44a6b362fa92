#include "projects/send_project_list.h"

#include "api/protocol.h"
#include "projects/project_items.h"

namespace lanxun {

QStringList SendProjectList::Lines() const {
    return SplitText(text_, u"\r\n");
}

QString SendProjectList::LineOf(const QString& displayName) const {
    for (const QString& line : Lines()) {
        if (SendDisplayName(line) == displayName) {
            return line;
        }
    }
    return {};
}

QList<SendingNumberItem> SendingNumberItems(const QStringList& lines) {
    QList<SendingNumberItem> items;
    for (int line = 0; line < lines.size(); ++line) {
        for (const QString& number : SendingNumbers(lines[line])) {
            items.append({number, line});
        }
    }
    return items;
}

}  // namespace lanxun
