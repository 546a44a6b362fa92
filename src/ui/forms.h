#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace lanxun {

// The thirteen forms by their class names ("LoginForm", "MainForm", ...), each running its
// generated Ui class's setupUi. Window classes use their Ui class directly; this table serves
// code that goes over every form (the inventory test, screenshots).
struct FormDefinition {
    const char* className;
    void (*setUp)(QWidget* window);
};

const std::vector<FormDefinition>& Forms();

// Runs the named form's setupUi and FinishForm on `window`; false for an unknown name.
bool SetUpNamedForm(const QString& className, QWidget* window);

}  // namespace lanxun
