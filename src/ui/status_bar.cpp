#include "ui/status_bar.h"

#include <QLabel>
#include <QStatusBar>

namespace lanxun {

namespace {

QString StatusPartName(int index) {
    return QStringLiteral("statusPart%1").arg(index);
}

}  // namespace

void AddStatusParts(QStatusBar* bar, std::span<const int> widths) {
    if (bar == nullptr || StatusPart(bar, 0) != nullptr) {
        return;
    }
    for (int index = 0; index < static_cast<int>(widths.size()); ++index) {
        auto* part = new QLabel(bar);
        part->setObjectName(StatusPartName(index));
        part->setFixedWidth(widths[index]);
        part->setTextFormat(Qt::PlainText);
        bar->addWidget(part);
    }
}

QLabel* StatusPart(QStatusBar* bar, int index) {
    if (bar == nullptr || index < 0) {
        return nullptr;
    }
    return bar->findChild<QLabel*>(StatusPartName(index));
}

}  // namespace lanxun
