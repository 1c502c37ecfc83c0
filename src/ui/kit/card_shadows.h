#pragma once

#include <QObject>
#include <QRect>
#include <QSet>

#include <vector>

class QPaintEvent;
class QWidget;

// Draws the shadows of the casters (ShadowCaster) inside a host widget beneath them, where their
// shadows reach past their own rectangles. It follows casters and the widgets around them as they
// come, go, move and resize, so a shadow is never left behind; a caster whose shadows change
// otherwise calls refresh().
class CardShadows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardShadows)

public:
    // Belongs to host, which it paints behind its children.
    explicit CardShadows(QWidget& host);

    // Repaints the shadows of caster where they are now, on the host behind it, if any.
    static void refresh(QWidget& caster);
    // The host's area that caster's shadows cover, with caster at rect in its parent.
    QRect area(QWidget& caster, const QRect& rect) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint(const QPaintEvent& event);
    // The shown casters under widget, not looking inside a caster; watches every widget passed.
    void collect(QWidget& widget, std::vector<QWidget*>& casters);
    void watch(QWidget& widget);

    QWidget& m_host;
    QSet<const QObject*> m_watched;
};
