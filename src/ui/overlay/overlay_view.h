#pragma once

#include "core/base/clock.h"
#include "ui/kit/soft_shadow.h"
#include "ui/overlay/placement/overlay_sizes.h"

#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <optional>

class AppCommands;
class AppState;
class PillView;
class QVBoxLayout;
struct OverlayResultChoice;

// The floating widget's root view: at most one card above the pill, or the pill alone, or
// nothing, all read from the state. The panel hosts it and moves itself on its drag signals.
class OverlayView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayView)

public:
    // The card shown above the pill, first that applies.
    enum class Card { None, NoteSaved, Choices, Result, Preview, TranslateMenu };
    // Room around the visible content where hover and drags still register.
    static constexpr int hitMargin = 10;
    static constexpr int bottomPadding = OverlaySizes::cardBottomPadding;
    static constexpr int cardSpacing = 8;
    // A press must move this far before it counts as a drag.
    static constexpr double dragDistance = 3;

    OverlayView(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent = nullptr);

    // Whether the pill is the wide bar rather than the chip.
    static bool expanded(const AppState& state);
    static bool showsPill(const AppState& state);
    // Whether the content hangs from the top edge: a fixed top placement with a card present.
    static bool pinsCardToTop(const AppState& state);
    static Card cardFor(const AppState& state);

    PillView* pill() const { return m_pill; }
    // The card or menu shown above the pill, or null; its kind is shownCard().
    QWidget* card() const { return m_card; }
    // Cards on their way out, still drawn until they have faded.
    QList<QWidget*> leavingCards() const;
    Card shownCard() const { return m_cardKind; }
    // The visible content with hitMargin around it, in this view's coordinates.
    QRect hitRect() const;
    bool hovered() const { return m_hovered; }
    // Cards that close by themselves stay until closed (a snapshot shows them as they come).
    void setCardsStay(bool stay) { m_cardsStay = stay; }

signals:
    // The pointer entered (true) or left (false) the content's hit area.
    void hoverChanged(bool hovered);
    // Every pointer move of a drag of the widget; the panel follows the pointer itself.
    void dragChanged();
    void dragEnded();
    // A card finished coming or going; a window cut to the painted shape must be cut anew.
    void outlineChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Presses on the cards' buttons may still become drags of the widget.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void refreshCard(bool animate);
    QWidget* buildCard(Card kind);
    void setCard(QWidget* card, Card kind, bool animate);
    // Lets the shown card fade out where it stands, or drops it at once.
    void retireCard(bool animate);
    void saveNote(const OverlayResultChoice& choice);
    void setHovered(bool hovered);

    AppState& m_state;
    AppCommands& m_commands;
    QVBoxLayout* m_outer;
    QWidget* m_column;
    QVBoxLayout* m_columnLayout;
    // The cards and the translate menu take the slot above the pill (index 0 of the column).
    QWidget* m_card = nullptr;
    Card m_cardKind = Card::None;
    // What the shown choice card or menu was built from; another value builds it anew.
    QString m_cardSource;
    Clock& m_clock;
    SoftShadow m_cardShadow{SoftShadowStyle::Menu};
    PillView* m_pill;
    SoftShadow m_pillShadow{SoftShadowStyle::Bar};
    bool m_hovered = false;
    bool m_cardsStay = false;
    std::optional<QPointF> m_pressAt;
    bool m_dragging = false;
    // The card button a drag started on; it must not see the release as a click.
    QPointer<QWidget> m_dragSource;
};
