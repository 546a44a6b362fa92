#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lanxun {

// The send-SMS projects now in the send picker 组合框_发短信_项目列表: one line per item, the
// project's raw name field (display name and "(发送号码:...)") followed by CR LF, in item order.
// The send-SMS workflow looks up the line of the project the user picks and takes its
// sending numbers from it (SendingNumbers in projects/project_items.h).
//
// It lives as long as the main window and is rebuilt from scratch by every load or search of
// the send picker. UI thread only: the picker loaders hand their lines over in their one
// UI-thread call.
class SendProjectList {
public:
    QString Text() const { return text_; }
    // The raw name fields, in item order.
    QStringList Lines() const;
    // The first line whose display name (the text before "(发送号码") is `displayName`; empty
    // when no project of that name is listed.
    QString LineOf(const QString& displayName) const;

    void Clear() { text_.clear(); }
    void Replace(const QString& text) { text_ = text; }

private:
    QString text_;
};

// One sending number of a listed project, with the 0-based index of the SendProjectList line
// it came from (the item data of the sending-number picker).
struct SendingNumberItem {
    QString number;
    int line = 0;
};
// The sending numbers of `lines` (SendProjectList lines), in line order.
QList<SendingNumberItem> SendingNumberItems(const QStringList& lines);

}  // namespace lanxun
