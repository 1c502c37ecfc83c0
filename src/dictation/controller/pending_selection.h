#pragma once

#include <QObject>
#include <QString>

#include <optional>

// The selection read when a recording started, which may still be on its way when the
// transcript comes. Destroying the probe cancels the read.
class PendingSelection final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PendingSelection)

public:
    using QObject::QObject;

    bool isKnown() const { return m_known; }
    // Only when known; none means nothing was selected.
    const std::optional<QString>& text() const { return m_text; }
    void settle(const std::optional<QString>& text);

signals:
    void known();

private:
    bool m_known = false;
    std::optional<QString> m_text;
};
