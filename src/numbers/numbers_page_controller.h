#pragma once

#include <QPointer>
#include <memory>

#include "numbers/number_list.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;

namespace lanxun {

class ForwardingController;
class Worker;

// The upper area of the tab "取号": obtaining numbers for the chosen project, a batch of up to
// 16 ("获取号码", on a thread of its own per click) or one chosen number ("指定取号", in the
// click handler), the option pickers and the loop mode. It also makes the page's two routines,
// code polling and the home-province lookup, which the main window starts.
//
// Each acquisition first gives back the numbers still listed (ReleaseList), so the list holds
// the numbers of the last acquisition only.
class NumbersPageController {
public:
    static constexpr int kMostPerBatch = 16;
    static constexpr int kPauseBetweenAttemptsMs = 500;

    struct Widgets {
        QWidget* window = nullptr;                // parent of the messages
        QTreeWidget* numberList = nullptr;        // 超级列表框_取码_列表框
        QLabel* statusLabel = nullptr;            // 透明标签_取号_状态提示
        QComboBox* projects = nullptr;            // 组合框_取号_项目列表
        QComboBox* operators = nullptr;           // 组合框_运营商
        QComboBox* regions = nullptr;             // 组合框_地区
        QComboBox* cardTypes = nullptr;           // 组合框_卡型
        QLineEdit* count = nullptr;               // 编辑框_取号_获取数量
        QLineEdit* specified = nullptr;           // 编辑框_取号_指定
        QCheckBox* loopMode = nullptr;            // 选择框_取号_不过滤
        QPlainTextEdit* numberLines = nullptr;    // 编辑框6, hidden: the batch's number lines
        QAbstractButton* obtain = nullptr;        // 按钮_取号_获取号码 "获取号码"
        QAbstractButton* specify = nullptr;       // 按钮_取号_指定 "指定取号"
        QAbstractButton* blacklistAll = nullptr;  // 按钮_取号_全部加黑 "拉黑号码"
        QAbstractButton* releaseAll = nullptr;    // 按钮_取号全部释放 "释放号码"
    };

    // `forwarding` receives each batch's number lines and the received SMS; may be null.
    NumbersPageController(const Widgets& widgets, ForwardingController* forwarding);
    ~NumbersPageController();  // stops a running batch

    NumbersPageController(const NumbersPageController&) = delete;
    NumbersPageController& operator=(const NumbersPageController&) = delete;

    // "获取号码": starts the batch on a thread of its own and returns at once. A click while a
    // batch still runs does nothing (its button is disabled meanwhile anyway).
    void ObtainBatch();
    bool BatchRunning() const;
    // Flags a running batch to stop, without waiting.
    void RequestStopBatch();
    // Stops a running batch and waits for it; the window's destruction does this.
    void StopBatch();

    // "指定取号": the number typed in 编辑框_取号_指定, obtained in the handler.
    void ObtainSpecified();

    // 选择框_取号_不过滤 was clicked: ticked "2", clear "1".
    void LoopModeClicked();

    // Enables or disables the four buttons of the page in one UI-thread access; any thread.
    void SetButtonsEnabled(bool enabled);

    NumberList& List() { return list_; }

    // The page's routines (code polling, home-province lookup), for the main window to start.
    std::unique_ptr<Worker> CreatePollWorker() const;
    std::unique_ptr<Worker> CreateRegionWorker() const;

private:
    friend class BatchAcquisition;

    Widgets widgets_;
    ForwardingController* forwarding_;
    NumberList list_;
    std::unique_ptr<Worker> batch_;
};

}  // namespace lanxun
