#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

namespace lanxun::test {

// The control named `name` in `window`; a missing one fails the test where it is asked for.
template <typename T>
T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

}  // namespace lanxun::test
