#include "ui/pages/style/style_page.h"
#include "ui/kit/label_button.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/card.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/label_button.h"
#include "ui/kit/page.h"
#include "ui/kit/scheme.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/correction_notice.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"
#include "ui/pages/style/app_style_rows.h"
#include "ui/pages/style/faint_panel.h"
#include "ui/pages/style/style_card.h"
#include "ui/pages/style/style_option.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int columns = 3;

// A card's heading: a symbol and a text, 14 semibold.
QWidget* heading(Symbol symbol, const QString& title)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(new SymbolView(symbol, 14, Scheme::text(box->palette(), Scheme::Text::Primary)));
    row->addWidget(new KitLabel(title, TextRole::Heading), 1);
    return box;
}

// The cards carry room for their focus rings past their shapes; the grid lets that room hang over
// the page's margins, so the shapes line up with the rest of the column.
class BleedingGrid final : public QGridLayout {
public:
    explicit BleedingGrid(int bleed)
        : m_bleed(bleed, bleed, bleed, bleed)
    {
    }

    void setGeometry(const QRect& rect) override { QGridLayout::setGeometry(rect.marginsAdded(m_bleed)); }
    QSize sizeHint() const override { return QGridLayout::sizeHint().shrunkBy(m_bleed); }
    QSize minimumSize() const override { return QGridLayout::minimumSize().shrunkBy(m_bleed); }
    int heightForWidth(int width) const override
    {
        return QGridLayout::heightForWidth(width + m_bleed.left() + m_bleed.right()) - m_bleed.top() -
               m_bleed.bottom();
    }
    int minimumHeightForWidth(int width) const override
    {
        return QGridLayout::minimumHeightForWidth(width + m_bleed.left() + m_bleed.right()) - m_bleed.top() -
               m_bleed.bottom();
    }

private:
    const QMargins m_bleed;
};

} // namespace

StylePage::StylePage(AppState& state, AppCommands& commands, AppIconCache& icons, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_binder(new SettingsBinder(state, this))
    , m_front(new KitLabel({}, TextRole::BodyMedium, Scheme::Text::Secondary))
    , m_apps(new AppStylesSection(state, icons))
{
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* page = new Page(L10n::s("style.title"), L10n::s("style.subtitle"), this);
    fill->addWidget(page);
    QVBoxLayout* content = page->content();

    content->addWidget(m_front);
    auto* defaultHeading = new KitLabel(L10n::s("style.default"), TextRole::Heading);
    content->addWidget(defaultHeading);
    m_needsProvider = new CorrectionNotice(state, commands, L10n::s("style.needsProvider"));
    content->addWidget(m_needsProvider);

    // The cards' room for their rings comes out of the gaps, so the shapes stand 14 apart.
    auto* grid = new BleedingGrid(StyleCard::margin);
    grid->setSpacing(14 - 2 * StyleCard::margin);
    const QList<StyleOption> options = StyleOption::all();
    for (int i = 0; i < options.size(); ++i) {
        auto* card = new StyleCard(state.clock(), options.at(i));
        grid->addWidget(card, i / columns, i % columns);
        card->installEventFilter(this);
        connect(card, &StyleCard::clicked, this,
                [this, id = options.at(i).id] { m_binder->write(&QuendaConfig::style, id); });
        m_cards.append(card);
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    content->addLayout(grid);

    auto* apps = new Card(20);
    apps->content()->addWidget(m_apps);
    content->addWidget(apps);
    content->addWidget(makeInstructions());

    m_pair = new QBoxLayout(QBoxLayout::LeftToRight);
    m_pair->setSpacing(14);
    m_languageCard = makeLanguage();
    m_commandCard = makeCommand();
    m_pair->addWidget(m_languageCard, 1);
    m_pair->addWidget(m_commandCard, 1);
    content->addLayout(m_pair);

    connect(&m_state, &AppState::configChanged, this, &StylePage::followConfig);
    connect(&m_state, &AppState::frontAppChanged, this, &StylePage::followFrontApp);
    followConfig();
}

QWidget* StylePage::makeInstructions()
{
    auto* card = new Card(20);
    card->content()->setSpacing(12);
    card->content()->addWidget(heading(Symbol::TextBubble, L10n::s("style.custom.title")));
    card->content()->addWidget(
        (new KitLabel(L10n::s("style.custom.body"), TextRole::Callout, Scheme::Text::Secondary))->wrapping());
    auto* frame = new FaintPanel(10, true);
    frame->setFixedHeight(96);
    auto* inside = new QVBoxLayout(frame);
    inside->setContentsMargins(4, 2, 4, 2);
    m_instructions = new QPlainTextEdit;
    m_instructions->setFrameShape(QFrame::NoFrame);
    m_instructions->viewport()->setAutoFillBackground(false);
    m_instructions->setAutoFillBackground(false);
    m_instructions->setFont(KitFont::of(TextRole::Body));
    m_instructions->setTabChangesFocus(true);
    // Shown only while the text is exactly empty; a single space hides it.
    m_instructions->setPlaceholderText(L10n::s("style.custom.placeholder"));
    m_instructions->setAccessibleName(L10n::s("style.custom.title"));
    m_instructions->setPlainText(m_state.config().instructions);
    inside->addWidget(m_instructions);
    card->content()->addWidget(frame);
    connect(m_instructions, &QPlainTextEdit::textChanged, this,
            [this] { m_binder->write(&QuendaConfig::instructions, m_instructions->toPlainText()); });
    return card;
}

QWidget* StylePage::makeLanguage()
{
    auto* card = new Card(20);
    card->content()->setSpacing(10);
    card->content()->addWidget(heading(Symbol::Globe, L10n::s("style.language")));
    // The settings page's own menu, so both offer the same languages and write them the same way.
    m_menu = SettingsSections::dictationLanguage(*m_binder);
    m_menu->setAccessibleName(L10n::s("style.language"));
    card->content()->addWidget(m_menu, 0, Qt::AlignLeft);
    m_languageHint = (new KitLabel({}, TextRole::Callout, Scheme::Text::Secondary))->wrapping();
    card->content()->addWidget(m_languageHint);
    card->content()->addStretch(1);
    return card;
}

QWidget* StylePage::makeCommand()
{
    auto* card = new Card(20);
    card->content()->setSpacing(10);
    auto* top = new QHBoxLayout;
    top->addWidget(heading(Symbol::Wand, L10n::s("style.command.title")), 1);
    m_command = m_binder->toggle(&QuendaConfig::commandMode, L10n::s("style.command.title"));
    top->addWidget(m_command);
    card->content()->addLayout(top);
    card->content()->addWidget(
        (new KitLabel(L10n::s("style.command.body"), TextRole::Callout, Scheme::Text::Secondary))
            ->wrapping());
    m_more = new LabelButton(LabelButton::Style::Soft, L10n::s("style.command.more"));
    card->content()->addWidget(m_more, 0, Qt::AlignLeft);
    connect(m_more, &LabelButton::clicked, this, [this] { m_state.setSection(MainSection::Commands); });
    return card;
}

void StylePage::followConfig()
{
    const QuendaConfig& config = m_state.config();
    for (StyleCard* card : m_cards)
        card->setChecked(card->option().id == config.style);
    if (m_instructions->toPlainText() != config.instructions) {
        // Someone else changed the text: take it, keeping the caret where it was as far as it fits.
        QTextCursor cursor = m_instructions->textCursor();
        const int position = cursor.position();
        const QSignalBlocker quiet(m_instructions);
        m_instructions->setPlainText(config.instructions);
        cursor = m_instructions->textCursor();
        cursor.setPosition(std::min(position, int(config.instructions.size())));
        m_instructions->setTextCursor(cursor);
    }
    m_languageHint->setText(SettingsTexts::dictationLanguageHint(config));
    followFrontApp();
}

void StylePage::followFrontApp()
{
    const auto& app = m_state.frontApp();
    m_front->setVisible(app.has_value());
    if (app)
        m_front->setText(L10n::format(QStringLiteral("style.front"),
                                      {app->name, StyleOption::titled(m_state.effectiveStyle(*app))}));
}

void StylePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_scanned) {
        m_scanned = true;
        m_state.rescanApps();
    }
}

void StylePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The column inside the page frame, as wide as the page lets it be (its scroll bar lies over the margin).
    const int column = std::min(width(), Page::maxColumn) - Page::padding.left() - Page::padding.right();
    const int wanted =
        std::max(m_languageCard->minimumSizeHint().width(), m_commandCard->minimumSizeHint().width());
    m_pair->setDirection(2 * wanted + m_pair->spacing() <= column ? QBoxLayout::LeftToRight
                                                                  : QBoxLayout::TopToBottom);
}

bool StylePage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int at = int(m_cards.indexOf(static_cast<StyleCard*>(watched)));
        int step = 0;
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            step = key == Qt::Key_Right ? 1 : -1;
            if (layoutDirection() == Qt::RightToLeft)
                step = -step;
        } else if (key == Qt::Key_Up) {
            step = -columns;
        } else if (key == Qt::Key_Down) {
            step = columns;
        }
        if (at >= 0 && step != 0) {
            const int next = at + step;
            if (next >= 0 && next < m_cards.size())
                m_cards.at(next)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
