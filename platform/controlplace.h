// A control named for the program and for screen readers, at its place in pixels.
#pragma once

#include <QRect>
#include <QString>

namespace controlplace {

template<typename W>
W *place(W *w, const QString &name, const QString &accessible, const QRect &geometry)
{
    w->setObjectName(name);
    w->setAccessibleName(accessible);
    w->setGeometry(geometry);
    return w;
}

} // namespace controlplace
