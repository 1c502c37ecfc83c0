#pragma once

#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "ui/overlay/overlay_view.h"
#include "ui/overlay/pill/pill_view.h"

#include <QAbstractButton>
#include <QAccessible>

#include <memory>

// The shared state on fakes, English texts, and the root view shown offscreen in a panel-sized
// window with room for the shadow and the bottom padding.
class OverlayFixture : public StateFixture {
protected:
    static constexpr QSize panelSize{280, 110};

    void SetUp() override
    {
        StateFixture::SetUp();
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {s("en")}});
        makeState();
    }
    void TearDown() override
    {
        m_view.reset();
        StateFixture::TearDown();
    }

    OverlayView& view()
    {
        if (!m_view) {
            m_view = std::make_unique<OverlayView>(state(), m_commands, m_clock);
            m_view->resize(panelSize);
            m_view->show();
        }
        settle();
        return *m_view;
    }
    PillView& pill() { return *view().pill(); }
    // The pill's rectangle in the view.
    QRect pillRect()
    {
        PillView& p = pill();
        return QRect(p.mapTo(&view(), QPoint(0, 0)), p.size());
    }
    // Without the settings-saved notice, whose timer would count among the widget's.
    void change(const std::function<void(QuendaConfig&)>& edit)
    {
        const AppState::ToastSuppression quiet(state());
        QuendaConfig config = state().config();
        edit(config);
        state().setConfig(config);
    }

    // The buttons under root that assistive tools could not name.
    static QStringList unnamedButtons(const QWidget& root)
    {
        QStringList unnamed;
        for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
            const QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
            if (!face || face->text(QAccessible::Name).isEmpty())
                unnamed << QString::fromLatin1(button->metaObject()->className());
        }
        return unnamed;
    }

    std::unique_ptr<OverlayView> m_view;
};
