#include "core/model/display_id.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString pointerScreen = QStringLiteral("pointer");

// Seconds a card stays; 0 keeps it until it is closed.
QString stay(const qint64& seconds)
{
    return seconds > 0 ? SettingsTexts::duration(seconds) : L10n::s("settings.untilClosed");
}

QList<SettingsBinder::Choice<qint64>> stays(const QList<qint64>& table)
{
    QList<SettingsBinder::Choice<qint64>> choices;
    for (const qint64 seconds : table)
        choices.append({seconds, stay(seconds)});
    return choices;
}

QString screenTitle(const QScreen& screen)
{
    const QString model = screen.model().trimmed();
    return model.isEmpty() || model == screen.name() ? screen.name()
                                                     : QStringLiteral("%1 (%2)").arg(model, screen.name());
}

// A screen is stored by the id the widget's placement gives it.
QString screenLabel(const QString& stored)
{
    if (stored == pointerScreen)
        return L10n::s("settings.placementScreen.pointer");
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (QString::number(DisplayId::of(screen->name(), screen->serialNumber())) == stored)
            return screenTitle(*screen);
    }
    return L10n::s("settings.placementScreen.gone");
}

QList<SettingsBinder::Choice<QString>> screens()
{
    QList<SettingsBinder::Choice<QString>> choices{{pointerScreen, screenLabel(pointerScreen)}};
    for (const QScreen* screen : QGuiApplication::screens())
        choices.append(
            {QString::number(DisplayId::of(screen->name(), screen->serialNumber())), screenTitle(*screen)});
    return choices;
}

template <typename E> QList<SettingsBinder::Choice<E>> named(const EnumTable<E>& table, const char* prefix)
{
    QList<SettingsBinder::Choice<E>> choices;
    for (const E value : table.values())
        choices.append({value, L10n::s(QLatin1String(prefix) + table.text(value))});
    return choices;
}

} // namespace

SettingsSection* SettingsSections::widget(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::AppWindow, L10n::s("settings.widget.title"));
    section->addRow(new SettingsRow(L10n::s("settings.showWidget"), binder.toggle(&QuendaConfig::showWidget),
                                    L10n::s("settings.showWidget.detail")));
    section->addRow(new SettingsRow(L10n::s("settings.followScreen"),
                                    binder.toggle(&QuendaConfig::widgetFollowActiveScreen),
                                    L10n::s("settings.followScreen.detail")));
    section->addRow(new SettingsRow(
        L10n::s("settings.resultSize"),
        binder.segments<OverlayResultSize>(&QuendaConfig::overlayResultSize,
                                           named(OverlayResultSizeText::table, "settings.resultSize."))));
    section->addRow(
        new SettingsRow(L10n::s("settings.resultStay"),
                        binder.menu<qint64>(&QuendaConfig::overlayResultDismissSeconds,
                                            stays(QuendaConfig::overlayDismissChoices()), &stay)));
    section->addRow(new SettingsRow(L10n::s("settings.showPreview"),
                                    binder.toggle(&QuendaConfig::showDictationPreview),
                                    L10n::s("settings.showPreview.detail")));
    section->addRow(
        new SettingsRow(L10n::s("settings.previewStay"),
                        binder.menu<qint64>(&QuendaConfig::dictationPreviewDismissSeconds,
                                            stays(QuendaConfig::dictationPreviewDismissChoices()), &stay),
                        L10n::s("settings.previewStay.detail")));

    const QList<SettingsBinder::Choice<bool>> placements{{true, L10n::s("settings.placement.fixed")},
                                                         {false, L10n::s("settings.placement.widget")}};
    section->addRow(new SettingsRow(L10n::s("settings.placement"),
                                    binder.segments<bool>(&QuendaConfig::resultPlacementFixed, placements),
                                    L10n::s("settings.placement.detail")));
    auto* screen =
        new SettingsRow(L10n::s("settings.placementScreen"),
                        binder.menu<QString>(&QuendaConfig::resultPlacementScreen, screens(), &screenLabel));
    auto* anchor = new SettingsRow(
        L10n::s("settings.placementAnchor"),
        binder.menu<ResultPlacementAnchor>(
            &QuendaConfig::resultPlacementAnchor, named(ResultPlacementAnchorText::table, "settings.anchor."),
            [](const ResultPlacementAnchor& a) {
                return L10n::s(QStringLiteral("settings.anchor.") + ResultPlacementAnchorText::table.text(a));
            }));
    section->addRow(screen);
    section->addRow(anchor);
    // Where a fixed card stands means nothing while cards stay at the widget.
    binder.follow(section, [&binder, screen, anchor] {
        const bool fixed = binder.state().config().resultPlacementFixed;
        screen->control()->setEnabled(fixed);
        anchor->control()->setEnabled(fixed);
    });
    return section;
}
