#include "ui/pages/commands/command_examples.h"

#include "core/model/translate_language.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/scheme.h"
#include "ui/pages/commands/commands_page.h"
#include "ui/pages/commands/symbol_column.h"

#include <QVBoxLayout>

namespace {

struct GroupLook {
    CommandGroup group;
    Symbol symbol;
};

// In the order a user meets them: changing the text, then reading it, then keeping it.
constexpr GroupLook looks[] = {
    {CommandGroup::Rewrite, Symbol::Pen},        {CommandGroup::Summarize, Symbol::ListBullet},
    {CommandGroup::Translate, Symbol::Globe},    {CommandGroup::Correct, Symbol::TextCheck},
    {CommandGroup::Explain, Symbol::TextBubble}, {CommandGroup::SaveToNotes, Symbol::Note},
};

QString groupKey(CommandGroup group, const char* suffix = "")
{
    return QStringLiteral("commands.group.") + CommandGroupText::table.text(group) + QLatin1String(suffix);
}

QStringList phrases(CommandGroup group, const QuendaConfig& config)
{
    QStringList shown;
    for (const CommandPhrases::Example& example : CommandPhrases::examples(
             group, CommandsPage::exampleLanguages(config), CommandsPage::examplesPerGroup))
        shown << example.phrase.toString();
    return shown;
}

QString languageNames(const QString& nativeLanguage)
{
    QStringList names;
    for (const TranslateLanguage& language : TranslateLanguage::menu(nativeLanguage)) {
        QString name = L10n::s(QStringLiteral("lang.") + language.id);
        if (language.id == nativeLanguage)
            name = L10n::format(QStringLiteral("commands.translateMenu.mine"), {name});
        names << name;
    }
    return names.join(L10n::s("commands.listSeparator"));
}

QWidget* groupRow(CommandGroup group, Symbol symbol, const QStringList& examples, const QString& menu)
{
    auto* row = new QWidget;
    const SymbolColumn parts(
        symbol, new KitLabel(L10n::s(groupKey(group)), TextRole::BodyStrong),
        new KitLabel(L10n::s(groupKey(group, ".detail")), TextRole::Callout, Scheme::Text::Secondary));
    row->setLayout(parts.row);
    for (const QString& example : examples)
        parts.column->addWidget(
            (new KitLabel(L10n::format(QStringLiteral("commands.quoted"), {example}), TextRole::BodyMedium))
                ->wrapping());
    if (!menu.isEmpty())
        parts.column->addWidget((new KitLabel(L10n::format(QStringLiteral("commands.translateMenu"), {menu}),
                                              TextRole::Callout, Scheme::Text::Secondary))
                                    ->wrapping());
    return row;
}

} // namespace

CommandExamples::CommandExamples(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    connect(&m_state, &AppState::configChanged, this, &CommandExamples::rebuild);
    rebuild();
}

void CommandExamples::rebuild()
{
    const QuendaConfig& config = m_state.config();
    const QStringList from = CommandsPage::exampleLanguages(config) << config.nativeLanguage;
    if (m_card && from == m_builtFrom)
        return;
    m_builtFrom = from;
    const QString menu = languageNames(config.nativeLanguage);
    delete m_card;
    m_card = new Card(20);
    m_card->content()->setSpacing(16);
    m_card->content()->addWidget(new KitLabel(L10n::s("commands.say"), TextRole::Heading));
    for (const GroupLook& look : looks) {
        m_card->content()->addWidget(groupRow(look.group, look.symbol, phrases(look.group, config),
                                              look.group == CommandGroup::Translate ? menu : QString()));
    }
    layout()->addWidget(m_card);
}
