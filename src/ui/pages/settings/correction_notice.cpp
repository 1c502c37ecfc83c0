#include "ui/pages/settings/correction_notice.h"

#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "core/text/main_section_text.h"
#include "ui/kit/kit_label.h"

#include <QEvent>
#include <QVBoxLayout>

namespace {

// Where the link goes, in the words the sidebar and the section's heading use; kept on one line.
QString place()
{
    return MainSectionText::title(MainSection::Settings) + QStringLiteral("\u00a0›\u00a0") +
           L10n::s("settings.correction.title");
}

} // namespace

CorrectionNotice::CorrectionNotice(AppState& state, AppCommands& commands, const QString& text,
                                   QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_text(text)
    , m_label((new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))->wrapping())
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(m_label);
    m_label->setTextFormat(Qt::RichText);
    m_label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_label->setAccessibleName(m_text + u' ' + place());
    connect(m_label, &QLabel::linkActivated, this,
            [&commands] { commands.openSettings(SettingsPlace::Correction); });
    connect(&m_state, &AppState::engineReadyChanged, this, &CorrectionNotice::follow);
    connect(&m_state, &AppState::polishAvailableChanged, this, &CorrectionNotice::follow);
    write();
    // Hidden, never shown, here: built before its host takes it in, it would show as a window.
    if (!needed(m_state))
        hide();
}

bool CorrectionNotice::needed(const AppState& state)
{
    return state.engineReady() && !state.polishAvailable();
}

void CorrectionNotice::follow()
{
    setVisible(needed(m_state));
}

void CorrectionNotice::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        write();
}

void CorrectionNotice::write()
{
    // In the text's own colour: the palette's link blue is unreadable on the dark card.
    const QString ink = Scheme::text(palette(), Scheme::Text::Primary).name();
    m_label->setText(m_text.toHtmlEscaped() + QStringLiteral(" <a style=\"color:") + ink +
                     QStringLiteral("\" href=\"settings\">") + place().toHtmlEscaped() +
                     QStringLiteral("</a>"));
}
