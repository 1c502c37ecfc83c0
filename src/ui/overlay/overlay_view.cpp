#include "ui/overlay/overlay_view.h"

#include "core/model/result_placement_anchor.h"
#include "core/state/app_commands.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/kit/clipboard_text.h"
#include "ui/kit/motion.h"
#include "ui/kit/theme.h"
#include "ui/overlay/cards/card_rules.h"
#include "ui/overlay/cards/card_transition.h"
#include "ui/overlay/cards/dictation_preview_card.h"
#include "ui/overlay/cards/note_saved_card.h"
#include "ui/overlay/cards/overlay_choice_card.h"
#include "ui/overlay/cards/overlay_result_card.h"
#include "ui/overlay/cards/translate_menu_card.h"
#include "ui/overlay/pill/pill_view.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

OverlayView::OverlayView(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_commands(commands)
    , m_outer(new QVBoxLayout(this))
    , m_column(new QWidget(this))
    , m_columnLayout(new QVBoxLayout(m_column))
    , m_clock(clock)
    , m_pill(new PillView(state, commands, clock, m_column))
{
    // The widget is drawn dark whatever the desktop's appearance.
    setPalette(Theme::darkPalette());
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);

    m_columnLayout->setContentsMargins(0, 0, 0, 0);
    m_columnLayout->setSpacing(cardSpacing);
    // The content always takes its own size; the panel neither stretches nor squeezes it.
    m_columnLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_columnLayout->addWidget(m_pill, 0, Qt::AlignHCenter);
    m_outer->setContentsMargins(0, 0, 0, bottomPadding);
    m_outer->addWidget(m_column, 0, Qt::AlignHCenter | Qt::AlignBottom);

    for (const auto signal :
         {&AppState::phaseChanged, &AppState::widgetHoveredChanged, &AppState::widgetTranslateOpenChanged,
          &AppState::overlayResultChanged, &AppState::dictationPreviewChanged, &AppState::notePreviewChanged,
          &AppState::configChanged, &AppState::rewritingChanged})
        connect(&state, signal, this, &OverlayView::refresh);
    refresh();
}

bool OverlayView::expanded(const AppState& state)
{
    if (state.dictationPreview() || state.notePreview())
        return false;
    return state.widgetHovered() || !state.phase().is(Phase::Kind::Idle) || state.widgetTranslateOpen() ||
           state.overlayResult().has_value();
}

bool OverlayView::showsPill(const AppState& state)
{
    if (state.dictationPreview() || state.overlayResult() || state.notePreview())
        return false;
    return !state.phase().is(Phase::Kind::Idle) || state.widgetTranslateOpen() || state.config().showWidget;
}

bool OverlayView::pinsCardToTop(const AppState& state)
{
    const bool card = state.overlayResult() || state.dictationPreview() || state.notePreview();
    return state.config().resultPlacementFixed && card &&
           ResultPlacementAnchorText::isTop(state.config().resultPlacementAnchor);
}

OverlayView::Card OverlayView::cardFor(const AppState& state)
{
    if (state.notePreview())
        return Card::NoteSaved;
    if (const auto& result = state.overlayResult())
        return result->choices && !result->choices->isEmpty() ? Card::Choices : Card::Result;
    if (state.dictationPreview())
        return Card::Preview;
    if (state.widgetTranslateOpen())
        return Card::TranslateMenu;
    return Card::None;
}

QRect OverlayView::hitRect() const
{
    QRect content;
    if (m_card && m_card->isVisible())
        content |= QRect(m_card->mapTo(this, QPoint(0, 0)), m_card->size());
    if (m_pill->isVisible())
        content |= QRect(m_pill->mapTo(this, QPoint(0, 0)), m_pill->size());
    if (content.isEmpty())
        return {};
    return content.adjusted(-hitMargin, -hitMargin, hitMargin, hitMargin);
}

void OverlayView::refresh()
{
    // While the panel is dragged, changes take effect at once.
    const bool animate = !m_state.widgetDragging();
    m_pill->setVisible(showsPill(m_state));
    m_pill->setExpanded(expanded(m_state), animate);
    // The pill builds its buttons anew with the phase, before this runs; presses on them may
    // become drags just like those on the cards' buttons. A second install is no second filter.
    for (QAbstractButton* button : m_pill->findChildren<QAbstractButton*>())
        button->installEventFilter(this);
    refreshCard(animate);
    const Qt::Alignment vertical = pinsCardToTop(m_state) ? Qt::AlignTop : Qt::AlignBottom;
    m_outer->setAlignment(m_column, Qt::AlignHCenter | vertical);
    update();
}

namespace {

QString notePlace(const SavedNotePreview& note)
{
    if (const auto* apple = std::get_if<SavedNotePreview::ApplePlace>(&note.place))
        return apple->folder;
    return L10n::s(QStringLiteral("overlay.note.quenda"));
}

} // namespace

void OverlayView::refreshCard(bool animate)
{
    const Card kind = cardFor(m_state);
    // The choice card keeps its marks and the menu its rows unless what they list changed.
    QString source;
    if (kind == Card::Choices) {
        for (const OverlayResultChoice& choice : *m_state.overlayResult()->choices)
            source += choice.id() + QLatin1Char('\n') + choice.title + QLatin1Char('\n') + choice.text +
                      QLatin1Char('\n');
        source += m_state.overlayResult()->command + QLatin1Char('\n') +
                  OverlayResultSizeText::table.text(m_state.config().overlayResultSize);
    } else if (kind == Card::TranslateMenu) {
        source = m_state.config().nativeLanguage;
    }
    if (kind != m_cardKind || source != m_cardSource) {
        m_cardSource = source;
        setCard(buildCard(kind), kind, animate);
    }

    const QuendaConfig& config = m_state.config();
    const OverlayResultSize size = config.overlayResultSize;
    if (auto* note = qobject_cast<NoteSavedCard*>(m_card)) {
        const SavedNotePreview& preview = *m_state.notePreview();
        note->setContent(preview.body, notePlace(preview),
                         CardRules::resultDismissSeconds(config, m_cardsStay));
    } else if (auto* result = qobject_cast<OverlayResultCard*>(m_card)) {
        const OverlayResult& shown = *m_state.overlayResult();
        result->setContent(shown.command, shown.text, size,
                           CardRules::resultDismissSeconds(config, m_cardsStay));
    } else if (auto* preview = qobject_cast<DictationPreviewCard*>(m_card)) {
        const DictationPreview& shown = *m_state.dictationPreview();
        preview->setContent(shown, size, CardRules::previewDismissSeconds(config, shown.status, m_cardsStay));
    }
}

QWidget* OverlayView::buildCard(Card kind)
{
    switch (kind) {
    case Card::None:
        return nullptr;
    case Card::NoteSaved: {
        auto* card = new NoteSavedCard(m_clock, m_column);
        connect(card, &NoteSavedCard::openRequested, this, [this] {
            if (m_state.openSavedNote())
                m_commands.openMain(MainSection::Notes);
        });
        connect(card, &TimedCard::closeRequested, this, [this] { m_state.setNotePreview(std::nullopt); });
        return card;
    }
    case Card::Choices: {
        auto* card = new OverlayChoiceCard(m_clock, *m_state.overlayResult(),
                                           m_state.config().overlayResultSize, m_column);
        connect(card, &OverlayChoiceCard::insertRequested, this, [this](const OverlayResultChoice& choice) {
            const OverlayResultChoice chosen = choice;
            // The card goes first, so the text lands in the application and not in the card.
            m_state.setOverlayResult(std::nullopt);
            m_commands.applyOverlayChoice(chosen);
        });
        connect(card, &OverlayChoiceCard::copyRequested, this,
                [](const OverlayResultChoice& choice) { ClipboardText::copy(choice.text); });
        connect(card, &OverlayChoiceCard::noteRequested, this, &OverlayView::saveNote);
        connect(card, &OverlayChoiceCard::closeRequested, this,
                [this] { m_state.setOverlayResult(std::nullopt); });
        return card;
    }
    case Card::Result: {
        auto* card = new OverlayResultCard(m_clock, m_column);
        connect(card, &OverlayResultCard::copyRequested, this, [this] {
            if (m_state.overlayResult())
                ClipboardText::copy(m_state.overlayResult()->text);
        });
        connect(card, &TimedCard::closeRequested, this, [this] { m_state.setOverlayResult(std::nullopt); });
        return card;
    }
    case Card::Preview: {
        auto* card = new DictationPreviewCard(m_clock, m_column);
        connect(card, &TimedCard::closeRequested, this,
                [this] { m_state.setDictationPreview(std::nullopt); });
        return card;
    }
    case Card::TranslateMenu: {
        auto* card = new TranslateMenuCard(TranslateLanguage::menu(m_state.config().nativeLanguage),
                                           m_state.config().nativeLanguage, m_column);
        connect(card, &TranslateMenuCard::picked, this, [this](const QString& code) {
            const QString picked = code;
            m_state.setWidgetTranslateOpen(false);
            m_commands.translateSelection(picked);
        });
        connect(card, &TranslateMenuCard::closeRequested, this,
                [this] { m_state.setWidgetTranslateOpen(false); });
        return card;
    }
    }
    return nullptr;
}

void OverlayView::retireCard(bool animate)
{
    QWidget* old = std::exchange(m_card, nullptr);
    if (!old)
        return;
    // A card may be replaced from inside its own click: it goes later, and says nothing more.
    disconnect(old, nullptr, this, nullptr);
    for (QObject* child : old->findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    m_columnLayout->removeWidget(old);
    auto* transition = qobject_cast<CardTransition*>(old->graphicsEffect());
    if (!animate || !Theme::animated() || !transition || !old->isVisible()) {
        old->hide();
        old->deleteLater();
        return;
    }
    // Out of the column, which shrinks at once, and over it where it stood while it fades.
    const QPoint at = old->mapTo(this, QPoint(0, 0));
    old->setParent(this);
    old->setObjectName(QStringLiteral("leavingCard"));
    old->setAttribute(Qt::WA_TransparentForMouseEvents);
    old->move(at);
    old->show();
    connect(transition, &CardTransition::left, old, &QObject::deleteLater);
    connect(transition, &CardTransition::left, this, &OverlayView::outlineChanged);
    const bool menu = qobject_cast<TranslateMenuCard*>(old) != nullptr;
    transition->leave(menu ? Motion::toggleMs : Motion::morphMs, menu ? &Motion::toggle : &Motion::morph);
}

QList<QWidget*> OverlayView::leavingCards() const
{
    return findChildren<QWidget*>(QStringLiteral("leavingCard"), Qt::FindDirectChildrenOnly);
}

void OverlayView::setCard(QWidget* card, Card kind, bool animate)
{
    retireCard(animate);
    m_card = card;
    m_cardKind = kind;
    if (!m_dragSource.isNull())
        m_dragSource.clear();
    if (!card)
        return;
    card->setFocusPolicy(Qt::NoFocus);
    card->installEventFilter(this);
    for (QAbstractButton* button : card->findChildren<QAbstractButton*>())
        button->installEventFilter(this);
    m_columnLayout->insertWidget(0, card, 0, Qt::AlignHCenter);
    // Shown now rather than when the layout gets to it, so the way in is not skipped as hidden.
    card->show();
    auto* transition = new CardTransition(m_clock, *card);
    connect(transition, &CardTransition::stepped, this, [this, transition] {
        update();
        if (!transition->running())
            emit outlineChanged();
    });
    // The menu opens with the toggle's quicker spring, every other card with the morph.
    if (kind == Card::TranslateMenu)
        transition->enter(animate ? Motion::toggleMs : 0, &Motion::toggle);
    else
        transition->enter(animate ? Motion::morphMs : 0, &Motion::morph);
}

void OverlayView::saveNote(const OverlayResultChoice& choice)
{
    const QPointer<OverlayChoiceCard> card = qobject_cast<OverlayChoiceCard*>(m_card);
    if (!card || choice.text.trimmed().isEmpty())
        return;
    const QString id = choice.id();
    const QString text = choice.text;
    m_state.saveCapturedText(text, card, [card, id, text](const NoteSaveOutcome& outcome) {
        if (card && CardRules::showsNotedMark(text, outcome))
            card->markNoted(id);
    });
}

bool OverlayView::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool button = qobject_cast<QAbstractButton*>(watched) || qobject_cast<NoteSavedCard*>(watched);
    if (!widget || !button)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_pressAt = mouse->globalPosition();
            m_dragging = false;
            m_dragSource = widget;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_pressAt || m_dragSource != widget || !(mouse->buttons() & Qt::LeftButton))
            return false;
        const QPointF moved = mouse->globalPosition() - *m_pressAt;
        if (!m_dragging && std::hypot(moved.x(), moved.y()) >= dragDistance) {
            m_dragging = true;
            if (auto* pressed = qobject_cast<QAbstractButton*>(widget))
                pressed->setDown(false);
        }
        if (!m_dragging)
            return false;
        emit dragChanged();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (m_dragSource != widget || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        const bool dragged = m_dragging;
        m_pressAt.reset();
        m_dragging = false;
        m_dragSource.clear();
        if (!dragged)
            return false;
        // The drag ends here: the button never sees a release, so no click and no opened note.
        emit dragEnded();
        return true;
    }
    default:
        return false;
    }
}

void OverlayView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_card && m_card->isVisible()) {
        // The shadow comes and goes with its card.
        if (const auto* transition = qobject_cast<CardTransition*>(m_card->graphicsEffect()))
            p.setOpacity(transition->opacity());
        m_cardShadow.paint(p, QRectF(QRect(m_card->mapTo(this, QPoint(0, 0)), m_card->size())));
        p.setOpacity(1);
    }
    if (!m_pill->isVisible())
        return;
    m_pillShadow.paint(p, QRectF(QRect(m_pill->mapTo(this, QPoint(0, 0)), m_pill->size())));
}

void OverlayView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !hitRect().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    m_pressAt = event->globalPosition();
    m_dragging = false;
}

void OverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
        const QPointF moved = event->globalPosition() - *m_pressAt;
        if (!m_dragging && std::hypot(moved.x(), moved.y()) >= dragDistance)
            m_dragging = true;
        if (m_dragging)
            emit dragChanged();
        return;
    }
    setHovered(hitRect().contains(event->position().toPoint()));
}

void OverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressAt.reset();
    if (m_dragging) {
        m_dragging = false;
        emit dragEnded();
    }
}

void OverlayView::enterEvent(QEnterEvent* event)
{
    setHovered(hitRect().contains(event->position().toPoint()));
}

void OverlayView::leaveEvent(QEvent*)
{
    setHovered(false);
}

void OverlayView::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    emit hoverChanged(hovered);
}
