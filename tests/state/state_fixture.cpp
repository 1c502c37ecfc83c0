#include "state_fixture.h"

#include "core/history_store.h"

#include <QDir>

void StateFixture::SetUp() {
    TempSupportDir::SetUp();
    m_privacyPanes = std::make_unique<Permissions>(m_launcher, QString());
    m_settings = std::make_unique<QSettings>(QDir(root()).filePath(QStringLiteral("defaults.ini")),
                                             QSettings::IniFormat);
    m_appleNotes = std::make_unique<AppleNotes>(m_runner, *m_settings);
}

void StateFixture::TearDown() {
    m_state.reset();
    TempSupportDir::TearDown();
}

AppState& StateFixture::makeState(UpdateFeed* feed) {
    m_state.reset();
    m_state = std::make_unique<AppState>(AppState::Services{m_clock, m_probe, *m_privacyPanes, m_windows,
                                                            *m_appleNotes, *m_settings, feed,
                                                            QStringLiteral("1.4.0")});
    m_state->setConfigChangedHandler([this](const QuendaConfig& previous, const QuendaConfig& current) {
        m_configCalls.append({previous, current});
    });
    return *m_state;
}

void StateFixture::writeConfig(const QuendaConfig& config) {
    writeAll(configPath(), config.encode());
}

void StateFixture::writeHistory(const QList<HistoryEntry>& entries) {
    writeAll(historyPath(), HistoryStore::encode(entries));
}

QList<HistoryEntry> StateFixture::storedHistory() const {
    return HistoryStore::decode(readAll(historyPath())).value_or(QList<HistoryEntry>{});
}

HistoryEntry StateFixture::dictation(const QString& text, int minutesAgo,
                                     std::optional<double> duration) const {
    HistoryEntry entry;
    entry.id = QUuid::createUuid();
    entry.date = m_clock.now().addSecs(-60LL * minutesAgo);
    entry.raw = text;
    entry.text = text;
    entry.duration = duration;
    return entry;
}
