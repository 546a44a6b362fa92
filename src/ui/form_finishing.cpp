#include "ui/form_finishing.h"

#include <QHeaderView>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "ui/form_resources.h"
#include "ui/forms.h"
#include "ui/status_bar.h"

namespace lanxun {

namespace {

void ApplyColumnWidths(QWidget* window) {
    for (auto* list : window->findChildren<QTreeWidget*>()) {
        const QStringList widths =
            list->property("columnWidths").toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
        QHeaderView* header = list->header();
        header->setMinimumSectionSize(0);
        for (int column = 0; column < widths.size(); ++column) {
            header->resizeSection(column, widths[column].trimmed().toInt());
        }
    }
}

void HidePageHeaders(QWidget* window) {
    for (auto* pages : window->findChildren<QTabWidget*>()) {
        if (pages->property("pageHeadersHidden").toBool()) {
            pages->tabBar()->hide();
        }
    }
}

void LetClicksThrough(QWidget* window) {
    for (auto* widget : window->findChildren<QWidget*>()) {
        if (widget->property("transparentForMouse").toBool()) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
}

void AddTimers(QWidget* window, const FormDefinition& form) {
    for (const char* timerName : form.timers) {
        const QString name = QString::fromUtf8(timerName);
        if (FormTimer(window, name) == nullptr) {
            auto* timer = new QTimer(window);
            timer->setObjectName(name);
            timer->setInterval(0);
        }
    }
}

}  // namespace

void FinishForm(QWidget* window, const FormDefinition& form) {
    LoadFormResources();
    ApplyColumnWidths(window);
    HidePageHeaders(window);
    LetClicksThrough(window);
    AddTimers(window, form);
    if (form.statusBar != nullptr) {
        AddStatusParts(window->findChild<QStatusBar*>(QString::fromUtf8(form.statusBar)),
                       form.statusPartWidths);
    }
    if (form.finish != nullptr) {
        form.finish(window);
    }
}

QTimer* FormTimer(QWidget* window, const QString& name) {
    return window->findChild<QTimer*>(name, Qt::FindDirectChildrenOnly);
}

}  // namespace lanxun
