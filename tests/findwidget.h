// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Tests find a dialog's controls as assistive technology does: by the object
// name each control carries.

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace orvanta::test {

// The child of `parent` of type T named `name`; throws (failing the test)
// when there is none.
template <class T> [[nodiscard]] T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no child named ") + name);
    return found;
}

} // namespace orvanta::test
