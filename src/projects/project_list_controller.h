#pragma once

#include <QList>
#include <QString>

class QCheckBox;
class QLineEdit;
class QMenu;
class QPoint;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace lanxun {

// The tab "项目列表": the full list, the search, the favourites view, and the row menu that adds
// or removes a favourite. Every load runs the busy indication and waits for its reply on the
// UI thread.
class ProjectListController {
public:
    struct Widgets {
        QWidget* window = nullptr;           // the main window
        QTreeWidget* list = nullptr;         // 超级列表框_项目列表_收短信
        QLineEdit* searchBox = nullptr;      // 编辑框_项目列表_收短信_搜索项目
        QCheckBox* favouritesBox = nullptr;  // 选择框_已收藏项目列表
        QProgressBar* progress = nullptr;    // 进度条1
        QMenu* addMenu = nullptr;            // "短信收藏项目", item "收藏(S)"
        QMenu* removeMenu = nullptr;         // "取消收藏项目", item "取消收藏(A)"
    };

    explicit ProjectListController(const Widgets& widgets);

    // "刷新(R)", and the button "项目列表": every project.
    void LoadFullList();
    // "搜索": the search box's text as typed, blanks and all.
    void Search();
    // The check box was clicked: the favourites when it is now ticked, else the full list.
    void FavouritesBoxClicked();
    void LoadFavourites();

    // The menu a right-click on the list pops up for the selected row: none for an ID below
    // 1000 or not a number; "取消收藏项目" in the favourites view, else "短信收藏项目".
    QMenu* RowMenu() const;
    void ShowRowMenu(const QPoint& globalPosition);

    // Appends a liebiao_xm reply's projects (records of at least 5 fields) as rows.
    void ShowProjects(const QString& reply);

    // "收藏(S)" and "取消收藏(A)" on the selected row.
    void AddFavourite();
    void RemoveFavourite();

private:
    // Fills the list with rows of five columns, in one go.
    void AppendRows(const QList<QStringList>& rows);
    void LoadList(const QString& searchText);

    Widgets widgets_;
};

}  // namespace lanxun
