#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace lanxun {

class Worker;

// The tab "公开专属": the published dockings, loaded on a thread of their own into
// the full list 超级列表框_公开专属列表, the keyword filter into the list above it
// 超级列表框_公开专属列表1, and joining a docking from either list.
//
// The full list changes only in whole: the load empties it in one UI-thread call
// and fills it with the whole result in another, and each of those calls runs the
// filter again. The filter runs on the UI thread too, so it never sees a list that
// is half old and half new, and the filtered list always matches the full list.
class PublicDockingController : public QObject {
    Q_OBJECT

public:
    struct Widgets {
        QWidget* window = nullptr;            // the main window: disabled while the list loads
        QTreeWidget* fullList = nullptr;      // 超级列表框_公开专属列表
        QTreeWidget* filteredList = nullptr;  // 超级列表框_公开专属列表1
        QLineEdit* search = nullptr;          // 编辑框_公开搜索
        QProgressBar* progress = nullptr;     // 进度条7
        QPushButton* pageButton = nullptr;    // 超级按钮_公开对接, focused after a load
    };

    explicit PublicDockingController(const Widgets& widgets, QObject* parent = nullptr);
    ~PublicDockingController() override;  // stops a load that still runs

    // "公开专属" and "刷新(R)" of the menu "公开加入专属": a load on a new thread.
    // While one runs, another request is not needed: the running one brings the list.
    void StartLoad();
    bool Loading() const;

    // Each change of the search box's text.
    void Filter();

    // "加入专属(J)" on the full list, "加入专属" on the filtered list.
    void JoinFromFullList();
    void JoinFromFilteredList();

    // Whether a right-click pops up the list's menu: only over a row with a docking code.
    bool FullListOffersMenu() const;      // "公开加入专属"
    bool FilteredListOffersMenu() const;  // "专属"

signals:
    // On the UI thread, once a load has filled the list and given the window back.
    void LoadFinished();

private:
    class Loader;

    void Join(const QTreeWidget* list);

    Widgets widgets_;
    std::unique_ptr<Worker> loader_;
};

}  // namespace lanxun
