#pragma once

#include <QString>

// Why a Notes script did not deliver: the script's error text (its standard output when the
// error text is empty), "timeout", or the reason the interpreter could not be started.
struct AppleNotesFailure {
    QString output;
    bool launchFailed = false;

    static AppleNotesFailure timeout() { return {QStringLiteral("timeout"), false}; }

    // Whether the automation permission was refused; never for a launch failure.
    bool denied() const;

    friend bool operator==(const AppleNotesFailure&, const AppleNotesFailure&) = default;
};
