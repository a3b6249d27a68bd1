#pragma once

#include <QCoreApplication>
#include <QEvent>

// A page's top layout has a fixed size, so the window takes the size of what
// it shows. Groups shown or hidden reach the window by posted layout requests,
// one level of widgets at a time; taking them at once keeps the window from
// showing the size of the previous layout meanwhile.
inline void FollowContents()
{
    for (int level = 0; level < 4; ++level)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}
