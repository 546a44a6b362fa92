#include "ui/form_extras.h"

#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <array>

#include "lanxun/build_config.h"
#include "ui/menus.h"

// Outside the namespace, as Q_INIT_RESOURCE requires.
static void InitFormResources() {
    Q_INIT_RESOURCE(resources);
}

namespace lanxun {

namespace {

constexpr std::array<int, kStatusPartCount> kStatusPartWidths = {180, 150, 180, 100, 420};

struct FormTimerEntry {
    const char* form;
    const char* timer;
};

constexpr FormTimerEntry kFormTimers[] = {
    {"LoginForm", "时钟1"},
    {"UpdateForm", "时钟1"},
    {"MainForm", "时钟1"},
};

QString StatusPartName(int index) {
    return QStringLiteral("statusPart%1").arg(index);
}

void ApplyColumnWidths(QWidget* form) {
    for (auto* list : form->findChildren<QTreeWidget*>()) {
        const QStringList widths =
            list->property("columnWidths").toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
        QHeaderView* header = list->header();
        header->setMinimumSectionSize(0);
        for (int column = 0; column < widths.size(); ++column) {
            header->resizeSection(column, widths[column].trimmed().toInt());
        }
    }
}

void HidePageHeaders(QWidget* form) {
    for (auto* pages : form->findChildren<QTabWidget*>()) {
        if (pages->property("pageHeadersHidden").toBool()) {
            pages->tabBar()->hide();
        }
    }
}

void LetClicksThrough(QWidget* form) {
    for (auto* widget : form->findChildren<QWidget*>()) {
        if (widget->property("transparentForMouse").toBool()) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
}

void AddTimers(QWidget* form) {
    for (const auto& entry : kFormTimers) {
        const QString name = QString::fromUtf8(entry.timer);
        if (form->objectName() == QLatin1String(entry.form) && FormTimer(form, name) == nullptr) {
            auto* timer = new QTimer(form);
            timer->setObjectName(name);
            timer->setInterval(0);
        }
    }
}

void AddStatusParts(QStatusBar* bar) {
    if (StatusPart(bar, 0) != nullptr) {
        return;
    }
    for (int index = 0; index < kStatusPartCount; ++index) {
        auto* part = new QLabel(bar);
        part->setObjectName(StatusPartName(index));
        part->setFixedWidth(kStatusPartWidths[index]);
        part->setTextFormat(Qt::PlainText);
        bar->addWidget(part);
    }
}

void FinishMainForm(QWidget* form) {
    CreateMainMenus(form);
    if (auto* bar = form->findChild<QStatusBar*>(QStringLiteral("状态条1"))) {
        AddStatusParts(bar);
    }
    if (auto* maker = form->findChild<QLabel*>(QStringLiteral("透明标签19"))) {
        const QString line = QStringLiteral("岚讯短信平台出品");
        if (maker->text() == line) {
            maker->setText(line + QLatin1Char(' ') + QString::fromUtf8(build::kForumUrl));
        }
    }
}

}  // namespace

void LoadFormResources() {
    static const bool loaded = [] {
        InitFormResources();
        return true;
    }();
    (void)loaded;
}

void FinishForm(QWidget* form) {
    LoadFormResources();
    ApplyColumnWidths(form);
    HidePageHeaders(form);
    LetClicksThrough(form);
    AddTimers(form);
    if (form->objectName() == QLatin1String("MainForm")) {
        FinishMainForm(form);
    }
}

QTimer* FormTimer(QWidget* form, const QString& name) {
    return form->findChild<QTimer*>(name, Qt::FindDirectChildrenOnly);
}

QLabel* StatusPart(QStatusBar* bar, int index) {
    if (bar == nullptr || index < 0 || index >= kStatusPartCount) {
        return nullptr;
    }
    return bar->findChild<QLabel*>(StatusPartName(index));
}

QCursor CaptureCrossHairCursor() {
    LoadFormResources();
    return QCursor(QPixmap(QStringLiteral(":/images/capture_crosshair.png")), 15, 15);
}

QCursor CapturePointerCursor() {
    LoadFormResources();
    return QCursor(QPixmap(QStringLiteral(":/images/capture_pointer.png")), 12, 4);
}

}  // namespace lanxun
