#include "ui/frameless_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

#include "ui/form_finishing.h"
#include "ui/form_resources.h"
#include "ui/forms.h"

namespace lanxun {

FramelessWindow::FramelessWindow(QWidget* parent, Frame frame)
    : QWidget(parent, frame == Frame::None ? Qt::Window | Qt::FramelessWindowHint : Qt::Window),
      frame_(frame) {
    LoadFormResources();
    setAttribute(Qt::WA_DeleteOnClose);
    if (frame_ == Frame::None) {
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setAutoFillBackground(true);
    }
}

void FramelessWindow::SetUpForm(const FormDefinition& form) {
    FinishForm(this, form);
    minimiseBox_ = TitleBox(form.titleBoxes.minimise);
    maximiseBox_ = TitleBox(form.titleBoxes.maximise);
    closeBox_ = TitleBox(form.titleBoxes.close);
}

QLabel* FramelessWindow::TitleBox(const char* name) {
    if (name == nullptr) {
        return nullptr;  // the framed window has none
    }
    auto* box = findChild<QLabel*>(QString::fromUtf8(name));
    if (box == nullptr) {
        qWarning("FramelessWindow: no title box %s in %s", name, qPrintable(objectName()));
        return nullptr;
    }
    box->installEventFilter(this);
    return box;
}

void FramelessWindow::DestroyNow() {
    if (destroying_) {
        return;
    }
    destroying_ = true;
    // Deferred, because this usually runs inside one of the window's own mouse handlers.
    // The window stays visible until then, so its destruction counts as the last window
    // closing when it is one.
    deleteLater();
}

void FramelessWindow::ToggleMaximised() {
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximized();
    }
}

bool FramelessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && watched != nullptr) {
        if (watched == minimiseBox_) {
            showMinimized();
            return true;
        }
        if (watched == maximiseBox_) {
            ToggleMaximised();
            return true;
        }
        if (watched == closeBox_) {
            DestroyNow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FramelessWindow::closeEvent(QCloseEvent* event) {
    if (destroying_ || AcceptClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void FramelessWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FramelessWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_ && !event->spontaneous()) {
        centred_ = true;
        CentreOnScreen();
    }
}

void FramelessWindow::CentreOnScreen() {
    QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    const QRect area = target->availableGeometry();
    const QSize outer = frameGeometry().size().expandedTo(size());
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace lanxun
