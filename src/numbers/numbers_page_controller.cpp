#include "numbers/numbers_page_controller.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <optional>

#include "account/login_state.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "numbers/chosen_project.h"
#include "numbers/forwarding_controller.h"
#include "numbers/loop_mode.h"
#include "numbers/poll_worker.h"
#include "numbers/region_worker.h"
#include "numbers/release_list.h"
#include "platform/clock.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"

namespace lanxun {
namespace {

using Widgets = NumbersPageController::Widgets;

// The count typed in 编辑框_取号_获取数量, read the way the platform reads numbers: no digits 0.
int RequestedCount(const Widgets& w) {
    return ReadInteger(ReadOnUiThread([&w] { return w.count->text(); }));
}

// The option values of the tab, all three pickers in one access, and the loop mode.
NumberOptions ChosenOptions(const Widgets& w) {
    NumberOptions options = ReadOnUiThread([&w] {
        NumberOptions read;
        read.operatorValue =
            IndexOptionValue(w.operators->currentText(), w.operators->currentIndex());
        read.region = RegionOptionValue(w.regions->currentText());
        read.cardType = IndexOptionValue(w.cardTypes->currentText(), w.cardTypes->currentIndex());
        return read;
    });
    options.loopMode = GetLoopMode();
    return options;
}

QString ObtainedNow() {
    return DateTimeText(CurrentClock().Now());
}

}  // namespace

// One click of "获取号码": gives back the listed numbers, then asks for up to 16 new ones, 500 ms
// apart, and hands their number lines to code forwarding at the end.
class BatchAcquisition : public Worker {
public:
    explicit BatchAcquisition(NumbersPageController& page) : page_(page) {}
    ~BatchAcquisition() override { Stop(); }

protected:
    void Run() override {
        const Widgets& w = page_.widgets_;
        if (!CountAllowed(RequestedCount(w))) {
            return;
        }
        RunOnUiThread([&w] { w.numberLines->clear(); });
        page_.SetButtonsEnabled(false);
        const std::optional<QStringList> lines = ObtainNumbers();
        if (StopRequested()) {
            return;  // the window is going: nothing more is typed or enabled
        }
        // Typed whether forwarding is on or not, also when no number came.
        if (lines && page_.forwarding_ != nullptr) {
            page_.forwarding_->TypeNumberLines(*lines);
        }
        page_.SetButtonsEnabled(true);
    }

private:
    // More than a batch may hold is refused with a message, before any attempt.
    bool CountAllowed(int count) const {
        if (count <= NumbersPageController::kMostPerBatch) {
            return true;
        }
        MessageBoxes().Information(page_.widgets_.window, QStringLiteral("一次最多只能取16个号码"));
        return false;
    }

    // The batch proper: the number lines of the numbers it obtained; nothing without a project.
    std::optional<QStringList> ObtainNumbers() {
        const Widgets& w = page_.widgets_;
        NumberList& list = page_.list_;
        const QString projectId = ChosenProjectId(w.projects);
        if (projectId.isEmpty()) {
            return std::nullopt;
        }
        ReleaseList(list, w.statusLabel, Disposal::Release);
        if (StopRequested()) {
            return std::nullopt;
        }
        RunOnUiThread([&w] { w.specified->clear(); });
        const NumberOptions options = ChosenOptions(w);
        // The box stays editable during the release: what it holds now is checked again.
        const int count = RequestedCount(w);
        if (!CountAllowed(count)) {
            return std::nullopt;
        }

        HttpRequest request;
        QStringList lines;
        for (int attempt = 1; attempt <= count; ++attempt) {
            if (attempt > 1 && !Pause(NumbersPageController::kPauseBetweenAttemptsMs)) {
                break;
            }
            const QString reply =
                FetchReply(request, NumberUrl(CurrentCredentials(), projectId, options));
            const NumberReply number = ReadNumberReply(reply);
            if (number.kind == NumberReply::Kind::Given) {
                const QString line = QStringLiteral("COM%1 %2").arg(attempt).arg(number.phone);
                lines.append(line);
                RunOnUiThread([&w, &line] { w.numberLines->appendPlainText(line); });
                list.Append(number.phone, ObtainedNow(), projectId);
            } else if (number.kind == NumberReply::Kind::Refused && list.RowCount() == 0) {
                // Only a batch that has nothing yet reports; later refusals are skipped.
                MessageBoxes().Information(w.window, ReceiveSideRefusalText(reply));
                break;
            }
        }
        return lines;
    }

    NumbersPageController& page_;
};

NumbersPageController::NumbersPageController(const Widgets& widgets,
                                             ForwardingController* forwarding)
    : widgets_(widgets), forwarding_(forwarding), list_(widgets.numberList) {}

NumbersPageController::~NumbersPageController() {
    StopBatch();
}

void NumbersPageController::ObtainBatch() {
    if (BatchRunning()) {
        return;
    }
    batch_ = std::make_unique<BatchAcquisition>(*this);
    batch_->Start();
}

bool NumbersPageController::BatchRunning() const {
    return batch_ && !batch_->Finished();
}

void NumbersPageController::RequestStopBatch() {
    if (batch_) {
        batch_->RequestStop();
    }
}

void NumbersPageController::StopBatch() {
    batch_.reset();
}

void NumbersPageController::ObtainSpecified() {
    HandlerScope running(widgets_.window);
    SetButtonsEnabled(false);
    const QString projectId = ChosenProjectId(widgets_.projects);
    const QString phone = widgets_.specified->text();
    if (!projectId.isEmpty() && !phone.isEmpty()) {
        ReleaseList(list_, widgets_.statusLabel, Disposal::Release);
        if (running.WindowClosing()) {
            return;
        }
        const QString reply =
            FetchReply(SpecifiedNumberUrl(CurrentCredentials(), projectId, phone));
        if (running.WindowClosing()) {
            return;
        }
        const NumberReply number = ReadNumberReply(reply);
        if (number.kind == NumberReply::Kind::Given) {
            list_.Append(number.phone, ObtainedNow(), projectId);
        } else if (number.kind == NumberReply::Kind::Refused) {
            MessageBoxes().Information(widgets_.window, ReceiveSideRefusalText(reply));
        }
    }
    SetButtonsEnabled(true);
}

void NumbersPageController::LoopModeClicked() {
    SetGetLoopMode(LoopModeValue(widgets_.loopMode->isChecked()));
}

void NumbersPageController::SetButtonsEnabled(bool enabled) {
    RunOnUiThread([this, enabled] {
        for (QAbstractButton* button :
             {widgets_.obtain, widgets_.specify, widgets_.blacklistAll, widgets_.releaseAll}) {
            if (button != nullptr) {
                button->setEnabled(enabled);
            }
        }
    });
}

std::unique_ptr<Worker> NumbersPageController::CreatePollWorker() const {
    return std::make_unique<PollWorker>(widgets_.numberList, widgets_.projects, forwarding_);
}

std::unique_ptr<Worker> NumbersPageController::CreateRegionWorker() const {
    return std::make_unique<RegionWorker>(widgets_.numberList);
}

}  // namespace lanxun
