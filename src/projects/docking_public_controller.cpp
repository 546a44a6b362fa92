#include "projects/docking_public_controller.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include "account/login_state.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/busy_indication.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"
#include "projects/docking_rows.h"

namespace lanxun {

// One load of the public list. Every touch of a control is one UI-thread call;
// the records are read here, off the UI thread, and handed over whole.
class PublicDockingController::Loader : public Worker {
public:
    explicit Loader(PublicDockingController& owner) : owner_(owner) {}
    ~Loader() override { Stop(); }

protected:
    void Run() override {
        const Widgets& w = owner_.widgets_;
        RunOnUiThread([&] {
            w.fullList->clear();
            owner_.Filter();
        });
        {
            BusyIndication busy(w.window, w.progress);
            if (StopRequested()) {
                return;
            }
            HttpRequest request;
            const QString reply = FetchReply(request, PublicDockingListUrl(CurrentCredentials()));
            QList<QStringList> rows;
            for (const DockingRecord& record : ReadDockingList(reply)) {
                rows.append(PublicDockingCells(record));
            }
            RunOnUiThread([&] {
                FillList(w.fullList, rows);
                owner_.Filter();
            });
        }
        RunOnUiThread([&] {
            if (w.pageButton != nullptr) {
                w.pageButton->setFocus();
            }
            emit owner_.LoadFinished();
        });
    }

private:
    PublicDockingController& owner_;
};

PublicDockingController::PublicDockingController(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {}

PublicDockingController::~PublicDockingController() = default;

void PublicDockingController::StartLoad() {
    if (Loading()) {
        return;
    }
    loader_ = std::make_unique<Loader>(*this);
    loader_->Start();
}

bool PublicDockingController::Loading() const {
    return loader_ != nullptr && !loader_->Finished();
}

void PublicDockingController::Filter() {
    const QString text = widgets_.search->text();
    if (text.isEmpty()) {
        widgets_.filteredList->hide();
        return;
    }
    widgets_.filteredList->show();
    widgets_.filteredList->raise();
    FillList(widgets_.filteredList, FilterDockingRows(ListRows(widgets_.fullList), text));
}

void PublicDockingController::JoinFromFullList() {
    Join(widgets_.fullList);
}

void PublicDockingController::JoinFromFilteredList() {
    Join(widgets_.filteredList);
}

void PublicDockingController::Join(const QTreeWidget* list) {
    const QString code = TrimBlanks(SelectedCell(list, kDockingCodeColumn));
    if (code.isEmpty()) {
        return;
    }
    HandlerScope running(widgets_.window);
    const QString reply = FetchReply(JoinDockingUrl(CurrentCredentials(), code));
    if (running.WindowClosing()) {
        return;
    }
    // Shown whatever it says: the own list is not reloaded, so this is all the user learns.
    MessageBoxes().Information(widgets_.window, reply);
}

bool PublicDockingController::FullListOffersMenu() const {
    return !TrimBlanks(SelectedCell(widgets_.fullList, kDockingCodeColumn)).isEmpty();
}

bool PublicDockingController::FilteredListOffersMenu() const {
    return !TrimBlanks(SelectedCell(widgets_.filteredList, kDockingCodeColumn)).isEmpty();
}

}  // namespace lanxun
