#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace lanxun {

// The thirteen forms of the client.
enum class FormId {
    Login,
    Registration,
    Main,
    Recharge,
    ChangePassword,
    PersonalInfo,
    Security,
    Withdrawal,
    ApplyProject,
    Announcement,
    Update,
    DeveloperApi,
    DockingHelp,
};

// The minimise, maximise/restore and close boxes at a window's top right, by object name.
struct TitleBoxes {
    const char* minimise = nullptr;
    const char* maximise = nullptr;
    const char* close = nullptr;
};

// Everything about one form that its .ui file cannot hold, in one place.
struct FormDefinition {
    FormId id;
    const char* className;           // the generated Ui class ("LoginForm", ...)
    void (*setUp)(QWidget* window);  // that class's setupUi, on a Ui object of its own
    bool systemFrame = false;        // the update window alone: a system frame, no title boxes
    TitleBoxes titleBoxes = {};
    std::vector<const char*> timers = {};  // created stopped, interval 0
    const char* statusBar = nullptr;       // the status bar that gets the parts below
    std::vector<int> statusPartWidths = {};
    void (*finish)(QWidget* window) = nullptr;  // anything else the form needs
};

// In the order of FormId.
const std::vector<FormDefinition>& Forms();
const FormDefinition& Form(FormId id);

// The form whose Ui class is `className`; nullptr when there is none. For code that goes over
// the forms by the names the test inventory uses.
const FormDefinition* FindForm(const QString& className);

// Runs the form's setupUi and FinishForm on `window`, for code that shows a form without its
// window class (the inventory test, screenshots).
void SetUpFormOnly(const FormDefinition& form, QWidget* window);

}  // namespace lanxun
