#pragma once

// What a load or search puts into the project pickers, worked out from the platform's reply
// in one go, so that the pickers can be replaced whole in one UI-thread call.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lanxun {

// The receive picker of "取号" (组合框_取号_项目列表).
struct ReceivePickerContent {
    QStringList items;  // the projects, or the one placeholder item
};

// The send pickers of "发短信": 组合框_发短信_项目列表 and 组合框_发送号码.
struct SendPickerContent {
    QStringList items;  // the projects, or the one placeholder item
    bool hasProjects = false;
    // Each listed project's raw name field and CR LF, in item order: the new SendProjectList.
    QString sendProjectList;
    // The sending numbers of every listed project in SendProjectList order; they replace the
    // sending-number picker only when there are projects.
    QStringList sendingNumbers;
};

// xiangmu_ysc, read from its last record to its first; records of at least 3 fields.
ReceivePickerContent ReceivePickerFromFavourites(QStringView reply);
// liebiao_xm, read from first to last; records of at least 5 fields.
ReceivePickerContent ReceivePickerFromSearch(QStringView reply);
// xiangmu_ysc "&l=1", last record to first.
SendPickerContent SendPickerFromFavourites(QStringView reply);
// liebiao_xm, first to last.
SendPickerContent SendPickerFromSearch(QStringView reply);

}  // namespace lanxun
