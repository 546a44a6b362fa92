#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;

namespace lanxun {

struct FormDefinition;

// The frame every window of the client shares: no system frame, white, centred on the screen
// when first shown, Esc is a close request, and three 24 × 24 title boxes at the top right
// (minimise, maximise/restore, close). The close box destroys the window at once, without a
// close request. The update window alone keeps a system frame and the default background.
//
// Windows are created on the heap when they are opened and destroyed when they are closed
// (Qt::WA_DeleteOnClose), so a fresh opening starts from the form again.
//
//   class LoginWindow : public FramelessWindow {
//       LoginWindow() { ui_.setupUi(this); SetUpForm(Form(FormId::Login)); }
//       bool AcceptClose() override { ... }
//   };
//
// A handler of a window that waits (a platform request, PumpDelay) holds a HandlerScope
// (platform/handler_scope.h) while it runs, so that a close meanwhile does not delete the
// window under it; the window goes when the handler returns.
class FramelessWindow : public QWidget {
    Q_OBJECT

public:
    enum class Frame { None, System };

    explicit FramelessWindow(QWidget* parent = nullptr, Frame frame = Frame::None);

    // Call right after setupUi(this). Finishes the form (FinishForm) and wires the title
    // boxes its definition names; a name that is not found is reported and skipped.
    void SetUpForm(const FormDefinition& form);

    // What the close box does: the window goes away at once, without asking AcceptClose.
    void DestroyNow();

    Frame frame() const { return frame_; }

protected:
    // A close request (Esc, Alt+F4, the system's close) asks this first; false keeps the window.
    virtual bool AcceptClose() { return true; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CentreOnScreen();
    QLabel* TitleBox(const char* name);
    void ToggleMaximised();

    Frame frame_;
    bool centred_ = false;
    bool destroying_ = false;
    QPointer<QLabel> minimiseBox_;
    QPointer<QLabel> maximiseBox_;
    QPointer<QLabel> closeBox_;
};

}  // namespace lanxun
