#include "ui/overlay/pill/idle_toolbar.h"

#include "core/model/hotkey.h"
#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_parts.h"
#include "ui/overlay/pill/icon_chip.h"
#include "ui/overlay/pill/translate_toggle.h"

#include <QHBoxLayout>
#include <QLabel>

IdleToolbar::IdleToolbar(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_dictate(new IconChip(Symbol::Microphone, L10n::s(QStringLiteral("overlay.dictate")), Qt::white, this))
    , m_hotkey(CardParts::label(QString(), TextRole::MicroStrong, Theme::white(0.32), this))
    , m_translate(new TranslateToggle(clock, this))
    , m_settings(
          new IconChip(Symbol::Gear, L10n::s(QStringLiteral("menu.settings")), Theme::white(0.7), this))
{
    QLinearGradient fill(0, 0, 1, 1);
    fill.setCoordinateMode(QGradient::ObjectBoundingMode);
    fill.setColorAt(0, Theme::indigo());
    fill.setColorAt(0.5, Theme::violet());
    fill.setColorAt(1, Theme::pink());
    m_dictate->setFill(fill);
    m_dictate->setToolTip(L10n::s(QStringLiteral("overlay.dictate")));
    m_translate->setToolTip(L10n::s(QStringLiteral("overlay.translateHelp")));
    m_settings->setToolTip(L10n::s(QStringLiteral("menu.settings")));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_dictate);
    row->addWidget(m_hotkey);
    auto* divider = new QWidget(this);
    divider->setFixedSize(1, 14);
    divider->setAutoFillBackground(true);
    QPalette palette = divider->palette();
    palette.setColor(QPalette::Window, Theme::white(0.1));
    divider->setPalette(palette);
    row->addSpacing(2);
    row->addWidget(divider);
    row->addSpacing(2);
    row->addWidget(m_translate);
    row->addSpacerItem(new QSpacerItem(2, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    row->addWidget(m_settings);

    connect(m_dictate, &IconChip::clicked, this, [this] { m_commands.toggleRecording(); });
    connect(m_translate, &TranslateToggle::clicked, this,
            [this] { m_state.setWidgetTranslateOpen(!m_state.widgetTranslateOpen()); });
    connect(m_settings, &IconChip::clicked, this, [this] {
        // The menu must be gone before the main window takes the screen.
        m_state.setWidgetTranslateOpen(false);
        m_commands.openMain(MainSection::Settings);
    });
    connect(&state, &AppState::engineReadyChanged, this, &IdleToolbar::refresh);
    connect(&state, &AppState::widgetTranslateOpenChanged, this, &IdleToolbar::refresh);
    connect(&state, &AppState::configChanged, this, &IdleToolbar::refresh);
    refresh();
}

void IdleToolbar::refresh()
{
    m_dictate->setEnabled(m_state.engineReady());
    m_hotkey->setText(HotkeyText::symbol(m_state.config().hotkey));
    m_translate->setOpen(m_state.widgetTranslateOpen());
}
