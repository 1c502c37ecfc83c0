#pragma once

#include "ui/kit/symbol.h"

#include <QWidget>

#include <functional>
#include <optional>

class KitLabel;
class LabelButton;

// One system permission: its symbol in a tinted circle, title and detail, and either the green
// "allowed" label or an allow button; a missing permission may carry an orange repair hint.
class PermissionRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PermissionRow)

public:
    PermissionRow(const QString& title, const QString& detail, Symbol icon, bool granted,
                  std::function<void()> action, std::optional<QString> repairHint = std::nullopt,
                  QWidget* parent = nullptr);

    void setGranted(bool granted);
    bool granted() const { return m_granted; }
    LabelButton* allowButton() const { return m_allow; }
    // Absent when no hint was given.
    KitLabel* hint() const { return m_hint; }
    KitLabel* allowedLabel() const { return m_allowed; }

private:
    bool m_granted = false;
    LabelButton* m_allow;
    KitLabel* m_allowed;
    QWidget* m_allowedRow;
    KitLabel* m_hint = nullptr;
};
