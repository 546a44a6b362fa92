#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <atomic>
#include <mutex>
#include <string>

#include "account/login_state.h"
#include "api/protocol.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/send_result_poller.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "projects/picker_content.h"
#include "projects/project_items.h"
#include "projects/project_pickers_controller.h"
#include "support/fake_services.h"
#include "support/find_child.h"
#include "support/sim_lines.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"
#include "ui/main_window.h"

namespace lanxun::test {

inline std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

// A clock whose date-time stands still until the test moves it, while every delay takes a
// thousandth of its time. It counts the poller's 5-second pauses, so a test can wait for whole
// passes instead of for a stretch of real time. Its ticks are real milliseconds, so the platform
// time-outs, which count them, keep their real length (5 s against 15 s on the send line).
class SteppedClock : public Clock {
public:
    explicit SteppedClock(QDateTime start) : now_(std::move(start)) { elapsed_.start(); }

    QDateTime Now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    qint64 Ticks() const override { return elapsed_.elapsed(); }
    qint64 RealMs(qint64 ms) const override {
        if (ms == SendResultPoller::kPassPauseMs) {
            ++passPauses_;
        }
        return (ms + 999) / 1000;
    }

    void Advance(int seconds) {
        std::lock_guard lock(mutex_);
        now_ = now_.addSecs(seconds);
    }
    void Set(const QDateTime& now) {
        std::lock_guard lock(mutex_);
        now_ = now;
    }
    int PassPauses() const { return passPauses_.load(); }

private:
    mutable std::mutex mutex_;
    QDateTime now_;
    QElapsedTimer elapsed_;
    mutable std::atomic<int> passPauses_{0};
};

// The main window against the local platform, with no background routine of its own (a test
// starts the send-result poller itself when it needs one), the send picker filled with
// send projects as the favourites loader would fill it.
class SendSmsTest : public SimTest {
protected:
    static inline const QDateTime kStart{QDate(2026, 12, 10), QTime(12, 0, 0)};

    void SetUp() override {
        SimTest::SetUp();
        SetLines(SimLines(*sim_));
        SetSegmentHost(QString::fromStdString(sim_->Address(platformsim::Line::Segment)));
        CurrentLogin().userName = QStringLiteral("demo2026");
        CurrentLogin().password = QStringLiteral("lanxun666");
        OpenWindow();
    }
    // The main window shown and activated, the send picker holding two projects.
    void OpenWindow() {
        window_ = new MainWindow(QPointer<QWidget>(), {});
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        ASSERT_TRUE(window_->FirstActivationDone());
        picker_ = Child<QComboBox>(window_, "组合框_发短信_项目列表");
        sendingNumbers_ = Child<QComboBox>(window_, "组合框_发送号码");
        operator_ = Child<QComboBox>(window_, "组合框_运营商1");
        region_ = Child<QComboBox>(window_, "组合框_地区1");
        card_ = Child<QComboBox>(window_, "组合框_卡型1");
        loopBox_ = Child<QCheckBox>(window_, "选择框_发短信_不过滤");
        number_ = Child<QLineEdit>(window_, "编辑框_发短信_获取号码");
        homeRegion_ = Child<QLabel>(window_, "透明标签_发短信_号码所属");
        specified_ = Child<QLineEdit>(window_, "编辑框_发短信_指定");
        content_ = Child<QPlainTextEdit>(window_, "编辑框_发短信_发送内容");
        smsText_ = Child<QPlainTextEdit>(window_, "编辑框_发短信_短信内容");
        obtainedAt_ = Child<QLineEdit>(window_, "编辑框_发短信_取号时间");
        status_ = Child<QLineEdit>(window_, "编辑框_发短信_取码状态");
        resultLine_ = Child<QLabel>(window_, "透明标签40");
        obtainButton_ = Child<QAbstractButton>(window_, "按钮_发短信_获取号码");
        specifyButton_ = Child<QAbstractButton>(window_, "按钮_发短信_指定");
        submitButton_ = Child<QAbstractButton>(window_, "按钮_发短信_提交发短信内容");
        releaseButton_ = Child<QAbstractButton>(window_, "按钮_发短信_全部释放");
        blacklistButton_ = Child<QAbstractButton>(window_, "按钮_发短信_全部加黑");
        copyNumberButton_ = Child<QAbstractButton>(window_, "按钮_发短信_复制手机号码");
        copySmsButton_ = Child<QAbstractButton>(window_, "按钮_发短信_复制短信");
        ShowSendProjects({{"2001", "移动营业厅(发送号码:10086#10085)", "0.80"},
                          {"2003", "银行提醒(发送号码:95588)", "1.00"}});
    }
    void TearDown() override {
        poller_.reset();
        delete window_.data();
    }

    struct Project {
        QString id, name, price;
    };
    // The send picker as a load of these projects leaves it, item 0 selected.
    void ShowSendProjects(const QList<Project>& projects) {
        SendPickerContent content;
        for (const Project& p : projects) {
            content.items << QLatin1Char('[') + p.id + QLatin1Char(']') +
                                 p.name.left(p.name.indexOf(QStringLiteral("(发送号码"))) +
                                 QStringLiteral(" - {价格}：") + p.price +
                                 QStringLiteral(" - (发短信)");
            content.sendProjectList += p.name + QStringLiteral("\r\n");
        }
        content.hasProjects = !projects.isEmpty();
        if (!content.hasProjects) {
            content.items << QString::fromUtf16(kSendPlaceholder);
        }
        window_->pickers().ShowSendContent(content);
    }
    // A picker item the catalogue would not make: the ID alone decides.
    void SelectProjectItem(const QString& item) {
        QComboBox* picker = picker_;
        picker->addItem(item);
        picker->setCurrentIndex(picker->count() - 1);
    }
    // The user picks item `index` of the send picker.
    void Pick(int index) {
        QComboBox* picker = picker_;
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    // The fields as an obtained number leaves them.
    void ShowObtained(const QString& number, const QDateTime& at) {
        number_->setText(number);
        obtainedAt_->setText(DateTimeText(at));
    }
    void StartPoller() {
        poller_ =
            std::make_unique<SendResultPoller>(SendResultPoller::Widgets{.projectPicker = picker_,
                                                                         .number = number_,
                                                                         .status = status_,
                                                                         .obtainedAt = obtainedAt_,
                                                                         .resultLine = resultLine_,
                                                                         .smsText = smsText_});
        poller_->Start();
    }
    // Waits until the poller has finished `passes` more passes.
    bool WaitForPasses(int passes) {
        const int until = clock_.PassPauses() + passes;
        return QTest::qWaitFor([&] { return clock_.PassPauses() >= until; }, 30000);
    }

    QString Status() const { return status_->text(); }
    QString ResultLine() const { return resultLine_->text(); }

    static QString Prefix(const char* endpoint) {
        return QStringLiteral("/") + QString::fromUtf8(endpoint) +
               QStringLiteral("/username=demo2026&password=lanxun666");
    }

    FakeServices fakes_;
    SteppedClock clock_{kStart};
    ScopedClock useClock_{clock_};
    QPointer<MainWindow> window_;
    std::unique_ptr<SendResultPoller> poller_;

    QComboBox* picker_ = nullptr;
    QComboBox* sendingNumbers_ = nullptr;
    QComboBox* operator_ = nullptr;
    QComboBox* region_ = nullptr;
    QComboBox* card_ = nullptr;
    QCheckBox* loopBox_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLabel* homeRegion_ = nullptr;
    QLineEdit* specified_ = nullptr;
    QPlainTextEdit* content_ = nullptr;
    QPlainTextEdit* smsText_ = nullptr;
    QLineEdit* obtainedAt_ = nullptr;
    QLineEdit* status_ = nullptr;
    QLabel* resultLine_ = nullptr;
    QAbstractButton* obtainButton_ = nullptr;
    QAbstractButton* specifyButton_ = nullptr;
    QAbstractButton* submitButton_ = nullptr;
    QAbstractButton* releaseButton_ = nullptr;
    QAbstractButton* blacklistButton_ = nullptr;
    QAbstractButton* copyNumberButton_ = nullptr;
    QAbstractButton* copySmsButton_ = nullptr;
};

}  // namespace lanxun::test
