#pragma once

// The texts of the project catalogue: project kinds, the items of the two pickers, their
// placeholders, and the send-SMS project names that carry their sending numbers
// ("名称(发送号码:10690#10691)"). Pure functions of the platform's texts, usable on any thread.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lanxun {

// Picker items standing in for "no project".
inline constexpr char16_t kReceiveSearchPlaceholder[] = u"未搜索到相关项目";
inline constexpr char16_t kReceiveFavouritesPlaceholder[] =
    u"您未收藏[短信项目]，可通过关键字或项目ID进行搜索。";
inline constexpr char16_t kSendPlaceholder[] =
    u"您未收藏[发短信项目]，可通过关键字或项目ID进行搜索。";

// A send-SMS project in the project list: the name contains "发送号码".
bool IsSendSmsProjectName(QStringView name);
// The receive picker's own, wider test: no "发送" anywhere in the name.
bool AdmittedToReceivePicker(QStringView name);

// The display name of a send-SMS project: the name before the first "(发送号码".
QString SendDisplayName(QStringView name);
// Its sending numbers: between the first "发送号码:" and the next ")", split at "#". A name
// without the closing ")" or without numbers gives none.
QStringList SendingNumbers(QStringView name);

// "[" + ID + "]" + name + " - {价格}：" + price.
QString ReceivePickerItem(const QString& id, const QString& name, const QString& price);
// "[" + ID + "]" + display name + " - {价格}：" + price + " - (发短信)".
QString SendPickerItem(const QString& id, const QString& name, const QString& price);

// The project ID of a picker item: the text between the first "[" and the next "]"; empty for
// a placeholder.
QString ProjectIdOfItem(QStringView item);

// A project ID as a number: the whole text must be a decimal integer, otherwise 0. The catalogue
// treats anything below 1000 as no project.
int ProjectIdNumber(QStringView id);
inline constexpr int kLowestProjectId = 1000;

}  // namespace lanxun
