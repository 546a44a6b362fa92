#include "ui/cursors.h"

#include <QPixmap>

#include "ui/form_resources.h"

namespace lanxun {

QCursor CaptureCrossHairCursor() {
    LoadFormResources();
    return QCursor(QPixmap(QStringLiteral(":/images/capture_crosshair.png")), 15, 15);
}

QCursor CapturePointerCursor() {
    LoadFormResources();
    return QCursor(QPixmap(QStringLiteral(":/images/capture_pointer.png")), 12, 4);
}

}  // namespace lanxun
