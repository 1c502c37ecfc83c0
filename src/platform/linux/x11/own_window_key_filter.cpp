#include "platform/linux/x11/own_window_key_filter.h"

#include "platform/linux/x11/x11_key_codes.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

bool isModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

} // namespace

OwnWindowKeyFilter::OwnWindowKeyFilter(KeySource::Listener& listener)
    : m_listener(listener)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

PhysicalKey OwnWindowKeyFilter::classify(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Escape)
        return PhysicalKey::Escape;
    if (!isModifier(event.key()))
        return PhysicalKey::Other;
    // Qt names Control and Alt without their side; the keycode tells it. Right Alt may be AltGr.
    const auto named = X11KeyCodes::standard().named(event.nativeScanCode());
    return named && *named != PhysicalKey::Escape ? *named : PhysicalKey::Modifier;
}

bool OwnWindowKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    // A key event goes to the window first and is then passed on to its widgets, each time
    // through this filter; the window's copy alone counts.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched->isWindowType()) {
        const PhysicalKey key = classify(*static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::KeyPress)
            m_listener.keyPressed(key);
        else
            m_listener.keyReleased(key);
    } else if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel) &&
               watched->isWindowType()) {
        m_listener.buttonPressed();
    }
    return false;
}
