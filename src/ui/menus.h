#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace lanxun {

// The main window's pop-up menus. It has no menu bar; each menu is a hidden QMenu child of the
// window, popped up at the mouse by a right-click or a button. A menu's objectName and title
// are its name ("取号功能", ...); each item is a QAction child of its menu whose objectName and
// text are the item's caption ("复制手机号码(A)", ...). Creating them twice does nothing.
void CreateMainMenus(QWidget* window);

// nullptr when the window has no such menu or item.
QMenu* MainMenu(QWidget* window, const QString& name);
QAction* MainMenuItem(QWidget* window, const QString& menu, const QString& item);

}  // namespace lanxun
