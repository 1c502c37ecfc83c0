#pragma once

#include "platform/login_item.h"

// A flag with a settable refusal; counts what was asked of it.
class FakeLoginItem final : public LoginItem {
public:
    bool enabled() const override { return m_enabled; }
    Outcome enable() override { return change(true); }
    Outcome disable() override { return change(false); }

    bool m_enabled = false;
    QString m_refusal; // not empty: every change fails with this text
    int m_changes = 0;

private:
    Outcome change(bool enabled)
    {
        ++m_changes;
        if (!m_refusal.isEmpty())
            return m_refusal;
        m_enabled = enabled;
        return Changed{};
    }
};
