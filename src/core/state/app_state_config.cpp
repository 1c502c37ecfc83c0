// The configuration, the settings-saved notice and the history operations.
#include "core/state/app_state.h"

#include "core/storage/state_files.h"

void AppState::changeConfigUnasked(const std::function<void(QuendaConfig&)>& change)
{
    const ToastSuppression quiet(*this);
    QuendaConfig config = m_config;
    change(config);
    setConfig(config);
}

void AppState::setConfig(const QuendaConfig& config)
{
    if (config == m_config)
        return;
    // Copies: the controller's reaction may write the configuration again while we run.
    const QuendaConfig previous = std::exchange(m_config, config);
    const QuendaConfig current = config;
    const bool saved = m_files.saveConfig(current);
    emit configWritten(previous, current);
    if (previous.historyKeepHours != current.historyKeepHours ||
        previous.historyMaxEntries != current.historyMaxEntries)
        pruneHistory();
    // "Saved" would be a lie when the file was not written.
    if (saved && m_settingToastSuppressed == 0)
        noteSettingChanged();
    // Observers hear last: one that writes the configuration back starts a complete run of its
    // own, so the file and the controller never end on an older value than the state holds.
    emit configChanged();
}

void AppState::noteSettingChanged()
{
    if (m_settingToastSuppressed != 0)
        return;
    if (!m_settingToastVisible) {
        m_settingToastToken = QUuid::createUuid();
        emit settingToastTokenChanged();
        setSettingToastVisible(true);
    }
    m_settingToastHide = m_clock.after(toastHideMs, this, [this] {
        m_settingToastHide.reset();
        setSettingToastVisible(false);
    });
}

void AppState::saveHistory()
{
    m_files.saveHistory(m_history);
}

void AppState::addHistory(const HistoryEntry& entry)
{
    QList<HistoryEntry> next = m_history;
    next.prepend(entry);
    setHistory(m_config.trimmedHistory(next, m_clock.now()));
    // Written also when trimming dropped the new entry at once.
    saveHistory();
}

void AppState::rememberClipboard(const QString& text)
{
    if (text.trimmed().isEmpty())
        return;
    if (!m_history.isEmpty()) {
        const HistoryEntry& newest = m_history.front();
        if (newest.kind == HistoryEntry::clipboardKind && newest.text == text)
            return;
    }
    HistoryEntry entry;
    entry.id = QUuid::createUuid();
    entry.date = m_clock.now();
    entry.raw = text;
    entry.text = text;
    entry.kind = HistoryEntry::clipboardKind;
    addHistory(entry);
}

void AppState::deleteHistory(const QUuid& id)
{
    QList<HistoryEntry> next = m_history;
    next.removeIf([&](const HistoryEntry& e) { return e.id == id; });
    setHistory(next);
    saveHistory();
}

void AppState::clearHistory()
{
    setHistory({});
    saveHistory();
}

void AppState::pruneHistory()
{
    const QList<HistoryEntry> trimmed = m_config.trimmedHistory(m_history, m_clock.now());
    if (trimmed == m_history)
        return;
    setHistory(trimmed);
    saveHistory();
}
