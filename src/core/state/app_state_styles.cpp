// Per-application style upkeep, the home page's figures and the speech model's display name.
#include "core/state/app_state.h"

#include "core/styles/app_style_catalog.h"
#include "core/text/l10n.h"
#include "platform/window_system.h"
#include "core/base/run_mode.h"
#include "core/base/word_count.h"

#include "core/base/work_queue.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

qsizetype indexOf(const QList<AppStyleProfile>& profiles, const QString& bundleID) {
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (profiles.at(i).bundleID == bundleID)
            return i;
    }
    return -1;
}

QList<AppStyleProfile> sortedByName(QList<AppStyleProfile> profiles) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(profiles.begin(), profiles.end(),
                     [&](const AppStyleProfile& a, const AppStyleProfile& b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return profiles;
}

AppStyleProfile newProfile(const FrontApp& app) {
    const QString suggested = AppStyleCatalog::suggest(app.bundleID, app.name);
    return {app.bundleID, app.name, suggested, suggested, false};
}

} // namespace

QString AppState::effectiveStyle(const FrontApp& app) const {
    const qsizetype i = indexOf(m_config.appStyles, app.bundleID);
    if (i < 0)
        return AppStyleCatalog::suggest(app.bundleID, app.name);
    const AppStyleProfile& profile = m_config.appStyles.at(i);
    return profile.customized ? profile.style : profile.suggested;
}

void AppState::rememberApp(const FrontApp& app) {
    const ToastSuppression quiet(*this);
    QuendaConfig next = m_config;
    const qsizetype i = indexOf(next.appStyles, app.bundleID);
    if (i >= 0) {
        if (next.appStyles.at(i).name == app.name)
            return;
        next.appStyles[i].name = app.name;
        setConfig(next);
        return;
    }
    next.appStyles.append(newProfile(app));
    setConfig(next);
    // A second write, free when the list was in order already.
    next = m_config;
    next.appStyles = sortedByName(next.appStyles);
    setConfig(next);
}

void AppState::setAppStyle(const QString& bundleID, const QString& name, const QString& style) {
    rememberApp({bundleID, name});
    const qsizetype i = indexOf(m_config.appStyles, bundleID);
    // Only a configChanged handler that removed the profile again leaves none.
    if (i < 0)
        return;
    QuendaConfig next = m_config;
    AppStyleProfile& profile = next.appStyles[i];
    profile.customized = style != profile.suggested;
    profile.style = style;
    setConfig(next);
}

void AppState::rescanApps() {
    if (RunMode::isSnapshot())
        return;
    // Running applications are read here: window-system answers belong to the main thread.
    const QList<FrontApp> running = m_windows.runningApps();
    const WindowSystem& windows = m_windows;
    // The state is the context: a scan that ends after the state is gone is dropped.
    m_work.run<QList<FrontApp>>(
        [&windows, running] { return AppStyleCatalog::unify(windows.installedApps() + running); }, this,
        [this](const QList<FrontApp>& apps) { mergeInstalledApps(apps); });
}

void AppState::mergeInstalledApps(const QList<FrontApp>& apps) {
    QList<AppStyleProfile> profiles = m_config.appStyles;
    QHash<QString, qsizetype> index;
    for (qsizetype i = 0; i < profiles.size(); ++i)
        index.insert(profiles.at(i).bundleID, i);
    bool changed = false;
    for (const FrontApp& app : apps) {
        const QString suggestion = AppStyleCatalog::suggest(app.bundleID, app.name);
        const auto found = index.constFind(app.bundleID);
        if (found == index.constEnd()) {
            index.insert(app.bundleID, profiles.size());
            profiles.append({app.bundleID, app.name, suggestion, suggestion, false});
            changed = true;
            continue;
        }
        AppStyleProfile& profile = profiles[*found];
        if (profile.name != app.name) {
            profile.name = app.name;
            changed = true;
        }
        if (!profile.customized && profile.suggested != suggestion) {
            profile.suggested = suggestion;
            profile.style = suggestion;
            changed = true;
        }
    }
    if (!changed)
        return;
    const ToastSuppression quiet(*this);
    QuendaConfig next = m_config;
    next.appStyles = sortedByName(profiles);
    setConfig(next);
}

QList<HistoryEntry> AppState::dictations() const {
    QList<HistoryEntry> out;
    std::copy_if(m_history.begin(), m_history.end(), std::back_inserter(out),
                 [](const HistoryEntry& e) { return e.isDictation(); });
    return out;
}

int AppState::totalWords() const {
    int words = 0;
    for (const HistoryEntry& entry : dictations())
        words += wordCount(entry.text);
    return words;
}

int AppState::todayCount() const {
    const QDate today = m_clock.now().toLocalTime().date();
    const QList<HistoryEntry> list = dictations();
    return int(std::count_if(list.begin(), list.end(),
                             [&](const HistoryEntry& e) { return e.date.toLocalTime().date() == today; }));
}

double AppState::minutesSaved() const {
    double spoken = 0;
    for (const HistoryEntry& entry : m_history)
        spoken += entry.duration.value_or(0.0);
    return std::max(0.0, totalWords() / 40.0 - spoken / 60.0);
}

int AppState::speakingWPM() const {
    double seconds = 0;
    int words = 0;
    for (const HistoryEntry& entry : m_history) {
        if (entry.duration && *entry.duration > 1.0) {
            seconds += *entry.duration;
            words += wordCount(entry.text);
        }
    }
    if (seconds <= 0)
        return 0;
    // std::round keeps halves away from zero.
    const double wpm = std::round(words / (seconds / 60.0));
    return int(std::min<double>(wpm, std::numeric_limits<int>::max()));
}

QString AppState::modelDisplayName() const {
    const auto q = qsizetype(std::clamp<qint64>(m_config.asrQuality, 0, 4));
    if (m_config.asrEngine == QLatin1String("whistle"))
        return L10n::format(QStringLiteral("model.whistle.depth"),
                            {QuendaConfig::whistleDepthsByQuality().at(q)});
    const QStringList pieces =
        QuendaConfig::whisperModelsByQuality().at(q).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString name = pieces.isEmpty() ? L10n::s(QStringLiteral("model.local")) : pieces.last();
    return L10n::format(QStringLiteral("model.whisper"), {name});
}
