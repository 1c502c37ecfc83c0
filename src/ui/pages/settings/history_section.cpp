#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/pages/settings/prune_question.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"

namespace {

// 0 keeps entries of any age.
QString keepFor(const qint64& hours)
{
    return hours > 0 ? SettingsTexts::duration(hours * 3600) : L10n::s("settings.keepFor.always");
}

// 0 keeps any number.
QString keepAtMost(const qint64& count)
{
    return count > 0 ? SettingsTexts::entries(count) : L10n::s("settings.keepAtMost.any");
}

QList<SettingsBinder::Choice<qint64>> choices(const QList<qint64>& table, QString (*label)(const qint64&))
{
    QList<SettingsBinder::Choice<qint64>> list;
    for (const qint64 value : table)
        list.append({value, label(value)});
    return list;
}

// A limit that would remove stored dictations is written only once the question under its row is
// answered; one that removes none is written at once.
SettingsBinder::Confirm<qint64> askFirst(SettingsBinder& binder, qint64 QuendaConfig::*field,
                                         PruneQuestion* question)
{
    return [&binder, field, question](const qint64& value, const std::function<void(bool)>& decide) {
        const AppState& state = binder.state();
        QuendaConfig next = state.config();
        next.*field = value;
        const qsizetype removed =
            state.history().size() - next.trimmedHistory(state.history(), state.clock().now()).size();
        if (removed > 0) {
            question->ask(removed, decide);
            return;
        }
        question->drop();
        decide(true);
    };
}

} // namespace

SettingsSection* SettingsSections::history(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Clock, L10n::s("settings.history.title"));
    auto* keepForQuestion = new PruneQuestion;
    section->addRow(new SettingsRow(
        L10n::s("settings.keepFor"),
        binder.menu<qint64>(&QuendaConfig::historyKeepHours,
                            choices(QuendaConfig::historyKeepChoices(), &keepFor), &keepFor,
                            askFirst(binder, &QuendaConfig::historyKeepHours, keepForQuestion)),
        L10n::s("settings.keepFor.detail")));
    section->addRow(keepForQuestion);
    auto* keepAtMostQuestion = new PruneQuestion;
    section->addRow(new SettingsRow(
        L10n::s("settings.keepAtMost"),
        binder.menu<qint64>(&QuendaConfig::historyMaxEntries,
                            choices(QuendaConfig::historyLimitChoices(), &keepAtMost), &keepAtMost,
                            askFirst(binder, &QuendaConfig::historyMaxEntries, keepAtMostQuestion))));
    section->addRow(keepAtMostQuestion);
    return section;
}
