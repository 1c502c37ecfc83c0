#pragma once

#include "platform/accessible_element.h"

typedef struct _AtspiAccessible AtspiAccessible;

// Holds one libatspi reference for an AccessibleElement. The reference is dropped on the
// accessibility thread, wherever the last handle goes away.
class AtspiElementRef final : public AccessibleElement::Payload {
public:
    // Takes over the caller's reference; on the accessibility thread only. A null or defunct
    // accessible gives a null handle.
    static AccessibleElement adopt(AtspiAccessible* accessible);
    // The accessible behind a handle this backend made, else nullptr; the handle keeps it alive.
    static AtspiAccessible* get(const AccessibleElement& element);

    ~AtspiElementRef() override;

private:
    explicit AtspiElementRef(AtspiAccessible* accessible);

    AtspiAccessible* m_accessible;
};
