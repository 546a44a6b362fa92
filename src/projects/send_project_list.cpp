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

}  // namespace lanxun
