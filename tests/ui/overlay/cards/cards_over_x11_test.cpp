// The choice card in a floating tool window on the test X server, clicked with XTest while another
// window of the test holds the keyboard focus.
#include "ui/overlay/overlay_fixture.h"

#include "ui/overlay/cards/choice_action_button.h"
#include "ui/overlay/cards/choice_row.h"
#include "ui/overlay/cards/overlay_choice_card.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CardsOverX11Test : public OverlayFixture {};

// Counts pointer moves over a window.
class MoveCounter final : public QObject {
public:
    int moves = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        moves += event->type() == QEvent::MouseMove;
        return QObject::eventFilter(watched, event);
    }
};

// Moves the pointer to global and clicks the left button, as a person would.
void clickAt(Display* display, QPoint global)
{
    XTestFakeMotionEvent(display, -1, global.x(), global.y(), CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

TEST_F(CardsOverX11Test, ClickingInsertKeepsTheFocusInTheTargetWhichGetsTheText)
{
    ASSERT_EQ(QGuiApplication::platformName(), s("xcb"));
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    ASSERT_NE(display, nullptr);

    QWidget target;
    auto* field = new QLineEdit(&target);
    (new QVBoxLayout(&target))->addWidget(field);
    target.setGeometry(40, 40, 320, 80);
    target.show();
    target.activateWindow();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&target));
    ASSERT_TRUE(field->hasFocus());

    const OverlayResultChoice answer{OverlayResultChoice::Kind::Command, s("Answer"), s("inserted text")};
    m_commands.onChoice = [&](const OverlayResultChoice& choice) { field->insert(choice.text); };
    state().setOverlayResult(OverlayResult{s("shorten"), s("x"), QList{answer}});

    OverlayView panel(state(), m_commands, m_clock);
    panel.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus);
    panel.setAttribute(Qt::WA_ShowWithoutActivating);
    panel.setGeometry(420, 60, 560, 420);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    auto* card = qobject_cast<OverlayChoiceCard*>(panel.card());
    ASSERT_NE(card, nullptr);
    ChoiceActionButton* insert = card->rows().at(0)->insertButton();

    clickAt(display.get(), insert->mapToGlobal(insert->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !state().overlayResult().has_value(); }, 5000))
        << "the click never reached the insert button";
    // A focus change the click caused reaches the program before a later pointer move does.
    MoveCounter counter;
    target.setMouseTracking(true);
    field->setMouseTracking(true);
    field->installEventFilter(&counter);
    const QPoint over = field->mapToGlobal(field->rect().center());
    XTestFakeMotionEvent(display.get(), -1, over.x(), over.y(), CurrentTime);
    XSync(display.get(), False);
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.moves > 0; }, 5000));

    EXPECT_EQ(field->text(), s("inserted text"));
    EXPECT_TRUE(target.isActiveWindow()) << "the floating card took the activation";
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_FALSE(panel.isActiveWindow());
}

} // namespace
