#pragma once

#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"

#include <QClipboard>
#include <QGuiApplication>

// The state on fakes with the English texts, any number of entries kept, and an empty clipboard.
class HistoryFixture : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {QStringLiteral("en")}});
        makeState();
        configure([](QuendaConfig& c) {
            c.historyKeepHours = 0;
            c.historyMaxEntries = 0;
        });
        QGuiApplication::clipboard()->clear();
    }

    static QString clipboardText() { return QGuiApplication::clipboard()->text(); }

    // count dictations "entry N", newest first, one a minute back from the clock's time.
    QList<HistoryEntry> entries(int count) const
    {
        QList<HistoryEntry> list;
        list.reserve(count);
        for (int i = 0; i < count; ++i)
            list << dictation(QStringLiteral("entry %1").arg(i), i);
        return list;
    }
};
