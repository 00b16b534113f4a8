#pragma once

#include <QObject>

namespace kst {

// The control of that name and kind below parent. The layout defines every control the code
// names, so a missing one is a fault of the program, reported at once rather than as a crash
// later on.
template <typename T> T* Child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

} // namespace kst
