#pragma once

#include <QList>
#include <QString>

#include <optional>

// One pickable alternative of an overlay answer.
struct OverlayResultChoice {
    enum class Kind { Command, Reformulate };

    Kind kind = Kind::Command;
    QString title;
    QString text;

    static QString rawValue(Kind kind)
    {
        return kind == Kind::Command ? QStringLiteral("command") : QStringLiteral("reformulate");
    }
    static std::optional<Kind> kindFromRaw(const QString& raw)
    {
        if (raw == QLatin1String("command"))
            return Kind::Command;
        if (raw == QLatin1String("reformulate"))
            return Kind::Reformulate;
        return std::nullopt;
    }
    QString id() const { return rawValue(kind); }

    friend bool operator==(const OverlayResultChoice&, const OverlayResultChoice&) = default;
};

// An answer the overlay shows as a card, optionally with choices to pick from.
struct OverlayResult {
    QString command;
    QString text;
    std::optional<QList<OverlayResultChoice>> choices;

    friend bool operator==(const OverlayResult&, const OverlayResult&) = default;
};
