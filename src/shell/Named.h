#pragma once
// Creates a child widget and gives it its object name in one step, so that every control of a
// window can be found by the name it is known by.

#include <QString>
#include <QWidget>
#include <utility>

namespace zanq {

template <typename T, typename... Args>
T* Named(QWidget* parent, const char* name, Args&&... args) {
    T* widget = new T(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace zanq
