#pragma once

#include "platform/login_item.h"

#include <QString>

// Launch at login as an XDG autostart entry, "$XDG_CONFIG_HOME/autostart/<appId>.desktop".
class XdgAutostartLoginItem final : public LoginItem {
public:
    // `entryPath` empty: the standard place; `program` is what the entry starts.
    XdgAutostartLoginItem(QString program, QString entryPath = {});

    static QString standardEntryPath();
    // One argument of an Exec key, quoted and escaped so that any path survives the desktop's parser.
    static QString execArgument(const QString& argument);

    bool enabled() const override;
    Outcome enable() override;
    Outcome disable() override;

private:
    QString m_program;
    QString m_entryPath;
};
