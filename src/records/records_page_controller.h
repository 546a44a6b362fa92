#pragma once

#include <QString>

#include "api/endpoints.h"

class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace lanxun {

struct PagedReply;

// One paged record list of the main window, "短信明细" (yh_mx, yh_mx_s) or "推荐人明细" (tj_mx,
// tj_mx_s): 30 records a page, its search, its totals. The page label is the whole paging state:
// "current/count", read back by the paging buttons.
class RecordsPageController {
public:
    struct Widgets {
        QWidget* window = nullptr;  // the main window, disabled while a page loads
        QTreeWidget* list = nullptr;
        QProgressBar* progress = nullptr;
        QLabel* countLabel = nullptr;   // 透明标签32 / 透明标签32_推荐人
        QLabel* amountLabel = nullptr;  // 透明标签34 / 透明标签34_推荐人
        QLabel* pageLabel = nullptr;  // 透明标签_短信明细_页数 / 透明标签_推荐人明细_页数
        QLineEdit* searchBox = nullptr;
        QPushButton* searchButton = nullptr;
        QPushButton* refreshButton = nullptr;
        QPushButton* firstButton = nullptr;
        QPushButton* previousButton = nullptr;
        QPushButton* nextButton = nullptr;
        QPushButton* lastButton = nullptr;
        // "资金明细复制"; none for the referral list.
        QMenu* copyMenu = nullptr;
    };

    static constexpr int kPageSize = 30;

    RecordsPageController(PagedList kind, const Widgets& widgets);

    const Widgets& widgets() const { return widgets_; }

    void Refresh();       // " 刷新 >"
    void Search();        // "查询"
    void FirstPage();     // "首页"
    void NextPage();      // " 下一页 >>"
    void PreviousPage();  // "<< 上一页"
    void LastPage();      // "尾页"

    bool SearchMode() const { return searchMode_; }

    // The right-click menu: offered only while the selected row has a 序号.
    bool OffersCopyMenu() const;
    void ShowCopyMenu();
    void CopyPhone();    // column 3
    void CopySmsText();  // column 6

    // The rows of a usable reply, numbered from 1 (the benchmark shows replies through this).
    static void Fill(QTreeWidget* list, const PagedReply& reply);

private:
    // The busy indication, the request of `page` (text; "1" is page 1), the rows. The reply as
    // read, for the totals.
    PagedReply Load(bool search, const QString& page, const QString& labelWhileLoading = {});
    void SetTotals(const PagedReply& reply, const QString& pageLabel);
    void SetUnusableTotals();
    void MoveBy(int step);
    QString SelectedCell(int column) const;

    PagedList kind_;
    Widgets widgets_;
    bool searchMode_ = false;
};

}  // namespace lanxun
