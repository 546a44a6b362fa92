#include "ui/page_navigator.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

namespace lanxun {

PageNavigator::PageNavigator(const Widgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {
    const Widgets& w = widgets_;
    ConnectButton(w.numbersButton, kNumbersPage, nullptr);
    ConnectButton(w.sendSmsButton, kSendSmsPage, nullptr);
    ConnectButton(w.projectListButton, kProjectListPage, &PageNavigator::ProjectListRequested);
    ConnectButton(w.dockingButton, kDockingPage, &PageNavigator::DockingListRequested);
    ConnectButton(w.publicDockingButton, kPublicDockingPage,
                  &PageNavigator::PublicDockingRequested);
    ConnectItem(w.withdrawalRecordsItem, kWithdrawalRecordsPage,
                &PageNavigator::WithdrawalRecordsRequested, w.detailsButton);
    // This item alone leaves the focus where it is.
    ConnectItem(w.rechargeRecordsItem, kRechargeRecordsPage,
                &PageNavigator::RechargeRecordsRequested, nullptr);
    ConnectItem(w.smsRecordsItem, kSmsRecordsPage, &PageNavigator::SmsRecordsRequested,
                w.detailsButton);
    ConnectItem(w.referralRecordsItem, kReferralRecordsPage,
                &PageNavigator::ReferralRecordsRequested, w.detailsButton);
}

void PageNavigator::Select(int page) {
    widgets_.pages->setCurrentIndex(page);
}

int PageNavigator::Current() const {
    return widgets_.pages->currentIndex();
}

void PageNavigator::ConnectButton(QPushButton* button, int page, void (PageNavigator::*request)()) {
    // A page chosen by its button gives the focus to that button.
    connect(button, &QPushButton::clicked, this,
            [this, button, page, request] { Show(page, request, button); });
}

void PageNavigator::ConnectItem(QAction* item, int page, void (PageNavigator::*request)(),
                                QWidget* focus) {
    connect(item, &QAction::triggered, this,
            [this, page, request, focus] { Show(page, request, focus); });
}

void PageNavigator::Show(int page, void (PageNavigator::*request)(), QWidget* focus) {
    Select(page);
    if (request) {
        (this->*request)();
    }
    if (focus) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace lanxun
