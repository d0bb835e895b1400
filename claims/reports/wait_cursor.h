// The wait cursor over the whole application for as long as the guard lives, however the scope
// is left. Guards nest: the normal cursor returns when the outermost one ends.
#pragma once

#include <QGuiApplication>

namespace reports {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace reports
