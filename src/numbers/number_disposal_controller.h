#pragma once

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>

#include "numbers/number_list.h"
#include "numbers/release_list.h"

class QComboBox;
class QLabel;
class QMenu;
class QTreeWidget;
class QWidget;

namespace lanxun {

// The number list's own actions on the tab "取号": its context menu "取号功能", the double
// click, the copies to the clipboard, "再次使用号码", and giving back one number or all of
// them ("释放号码" releases, "拉黑号码" black-lists), each behind a Yes/No confirmation whose
// whole text is the action's name.
//
// Every action runs on the UI thread while the pollers and the batch acquisition keep reading
// and writing the list. A row read before a wait is written or deleted afterwards by its
// identity, so an action never lands on the row that has moved into its place.
class NumberDisposalController {
public:
    struct Widgets {
        QWidget* window = nullptr;           // the main window
        QTreeWidget* list = nullptr;         // 超级列表框_取码_列表框
        QComboBox* projectPicker = nullptr;  // 组合框_取号_项目列表
        QLabel* statusLabel = nullptr;       // 透明标签_取号_状态提示
        QMenu* menu = nullptr;               // "取号功能"
        // 按钮_取号_获取号码, 按钮_取号_指定, 按钮_取号_全部加黑, 按钮_取号全部释放: held
        // disabled while the whole list is given back.
        QList<QWidget*> acquisitionButtons;
    };

    explicit NumberDisposalController(const Widgets& widgets);

    // Right click in the list: pops up "取号功能" at `globalPos` when the picker holds a
    // project above 1000; otherwise nothing.
    void ShowMenu(const QPoint& globalPos);

    // Double click: the selected row's code, or its number when it has none.
    void CopyCodeOrPhone();
    // "复制手机号码(A)", "复制验证码(B)", "复制短信内容(C)": the selected row's cell, also when
    // empty, as long as the picker holds a project above 1000.
    void CopyPhone();
    void CopyCode();
    void CopySmsText();
    // "复制全部手机号码(D)": every number followed by CR LF; an empty list leaves the
    // clipboard alone.
    void CopyAllPhones();

    // "再次使用号码": yh_qh for the selected row's number with the picker's project; on
    // success the row waits for a code again ("没有收到短信", a new acquisition time).
    void UseAgain();

    // The menu's "释放号码" / "拉黑号码": gives back the selected row's number and deletes
    // that row whatever the platform answered.
    void DisposeSelected(Disposal how);
    // The buttons "释放号码" / "拉黑号码": gives back every row and empties the list.
    void DisposeAll(Disposal how);

private:
    // The picker's project ID value; 0 for no project or a placeholder.
    int PickedProjectValue() const;
    QString PickedProjectId() const;
    // The single copies' and the menu's gate: a project above 1000 is picked.
    bool MenuAllowed() const;
    void CopySelectedCell(QString NumberRow::*cell);
    bool Confirm(Disposal how);
    void SetAcquisitionButtonsEnabled(bool enabled);

    Widgets widgets_;
    NumberList list_;
};

}  // namespace lanxun
