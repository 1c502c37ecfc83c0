#include "core/state/app_commands.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/status_pill.h"
#include "ui/kit/text_field.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/speech_server_rows.h"

#include <QHBoxLayout>

#include <memory>

namespace {

// Below 1024 a port is the system's to give.
constexpr qint64 lowestPort = 1024;
constexpr qint64 highestPort = 65535;

QWidget* engineState(SettingsBinder& binder, AppCommands& commands)
{
    AppState& state = binder.state();
    auto* box = new QWidget;
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(10);
    auto* pill = new StatusPill(state.clock(), state.engineState(), state.engineStatus());
    line->addWidget(pill, 1);
    auto* reload = new LabelButton(LabelButton::Style::Soft, L10n::s("home.reload"));
    line->addWidget(reload);
    QObject::connect(reload, &LabelButton::clicked, box, [&commands] { commands.reloadEngine(); });
    const auto follow = [&state, pill] { pill->set(state.engineState(), state.engineStatus()); };
    QObject::connect(&state, &AppState::engineStatusChanged, pill, follow);
    QObject::connect(&state, &AppState::engineReadyChanged, pill, follow);
    QObject::connect(&state, &AppState::engineLoadingChanged, pill, follow);
    return box;
}

// The engine's port, written when the field is left and only when the engine could listen there.
SettingsRow* portRow(SettingsBinder& binder, AppCommands& commands)
{
    AppState& state = binder.state();
    auto* field = binder.text<qint64>(
        new TextField, &QuendaConfig::port,
        [&state, &commands](const QString& typed) -> Result<qint64, SettingsBinder::Refusal> {
            bool number = false;
            const qint64 port = typed.trimmed().toLongLong(&number);
            if (number && port == state.config().port)
                return port;
            if (!number || port < lowestPort || port > highestPort)
                return SettingsBinder::Refusal{L10n::s("settings.port.range")};
            if (!commands.portFree(port))
                return SettingsBinder::Refusal{L10n::format(QStringLiteral("settings.port.taken"), {port})};
            return port;
        },
        [](const qint64& port) { return QString::number(port); });
    field->setFixedWidth(SettingsRow::fieldWidth);
    return new SettingsRow(L10n::s("settings.port"), field, L10n::s("settings.port.detail"));
}

// Which recogniser writes the dictations now: a Whisper server only once it has an address.
QString recogniserInUse(const QuendaConfig& config)
{
    const std::optional<SpeechServer> server = config.speechServer();
    return L10n::format(QStringLiteral("settings.recogniser.inUse"), {SpeechRouteText::of(server)}) + u' ' +
           L10n::s(server ? "settings.recogniser.sent" : "settings.recogniser.private");
}

// The recogniser in use is the one chosen: a server only once it has an address. Picking the server
// shows its rows to set one up and writes nothing until then, as a new engine value restarts the
// engine for no change; with an address, either pick writes the engine. Under it, the one in use.
SettingsRow* recogniserRow(SettingsBinder& binder, SpeechServerRows* server)
{
    auto* segments =
        new SegmentedControl({L10n::s("settings.recogniser.server"), L10n::s("settings.recogniser.builtIn")});
    auto settingUp = std::make_shared<bool>(false);
    const auto show = [&binder, segments, server, settingUp] {
        const bool wanted = binder.state().config().speechServer() || *settingUp;
        segments->setCurrent(wanted ? 0 : 1);
        server->setVisible(wanted);
    };
    QObject::connect(segments, &SegmentedControl::chosen, segments, [&binder, settingUp, show](int index) {
        const bool addressed = !binder.state().config().speechBaseURL.trimmed().isEmpty();
        *settingUp = index == 0 && !addressed;
        if (addressed)
            binder.write(&QuendaConfig::asrEngine, index == 0 ? AsrEngine::Whisper : AsrEngine::Whistle);
        show();
    });
    auto* row =
        new SettingsRow(L10n::s("settings.recogniser"), segments, recogniserInUse(binder.state().config()));
    binder.follow(row, [&binder, row, show] {
        show();
        row->detail()->setText(recogniserInUse(binder.state().config()));
        row->control()->setAccessibleDescription(row->detail()->text());
    });
    return row;
}

} // namespace

SettingsSection* SettingsSections::speech(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys)
{
    auto* section = new SettingsSection(Symbol::Waveform, L10n::s("settings.speech.title"));
    auto* server = new SpeechServerRows(binder, commands, keys);
    section->addRow(recogniserRow(binder, server));
    section->addRow(server);
    section->addRow(new SettingsRow(L10n::s("home.engine"), engineState(binder, commands)));

    auto* advanced =
        new LabelButton(LabelButton::Style::Soft, L10n::s("settings.advanced"), nullptr, Symbol::ChevronDown);
    advanced->setCheckable(true);
    section->addRow(advanced);
    SettingsRow* port = portRow(binder, commands);
    port->hide();
    section->addRow(port);
    QObject::connect(advanced, &LabelButton::toggled, port, [advanced, port](bool open) {
        advanced->setSymbol(open ? Symbol::ChevronUp : Symbol::ChevronDown);
        port->setVisible(open);
    });
    return section;
}
