#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// An application as a style target.
struct FrontApp {
    QString bundleID; // the desktop-file id on Linux
    QString name;

    friend bool operator==(const FrontApp&, const FrontApp&) = default;
};

// One application's writing style.
struct AppStyleProfile {
    QString bundleID;
    QString name;      // the display name last seen
    QString style;     // the user's choice, meaningful when customized
    QString suggested; // what the style catalogue suggested
    bool customized = false;

    QString id() const { return bundleID; }

    QJsonObject toJson() const;
    // All five members are required.
    static std::optional<AppStyleProfile> fromJson(const QJsonObject& object);

    friend bool operator==(const AppStyleProfile&, const AppStyleProfile&) = default;
};
