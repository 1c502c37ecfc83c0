#include "platform/linux/atspi/atspi_element_ref.h"

#include "platform/linux/atspi/atspi_thread.h"

#pragma push_macro("signals")
#undef signals
#include <atspi/atspi.h>
#pragma pop_macro("signals")

AtspiElementRef::AtspiElementRef(AtspiAccessible* accessible)
    : m_accessible(accessible)
{
}

AccessibleElement AtspiElementRef::adopt(AtspiAccessible* accessible)
{
    if (!accessible)
        return {};
    const AtspiObject& object = accessible->parent;
    if (!object.app || !object.app->bus_name || !object.path) {
        g_object_unref(accessible);
        return {};
    }
    // The bus name and object path name the element for as long as its application runs.
    const QString identity = QString::fromUtf8(object.app->bus_name) + QString::fromUtf8(object.path);
    return AccessibleElement(identity, std::shared_ptr<const Payload>(new AtspiElementRef(accessible)));
}

AtspiAccessible* AtspiElementRef::get(const AccessibleElement& element)
{
    const auto* ref = dynamic_cast<const AtspiElementRef*>(element.payload());
    return ref ? ref->m_accessible : nullptr;
}

AtspiElementRef::~AtspiElementRef()
{
    AtspiThread& thread = AtspiThread::shared();
    if (thread.isCurrent()) {
        g_object_unref(m_accessible);
        return;
    }
    thread.post([accessible = m_accessible] { g_object_unref(accessible); });
}
