#pragma once

#include <QString>
#include <QUrl>

// A release the update feed offers.
struct AppRelease {
    QString version;
    QUrl pkgURL;

    friend bool operator==(const AppRelease&, const AppRelease&) = default;
};
