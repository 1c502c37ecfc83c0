#include "ui/shell/shell_window_host.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"
#include "ui/shell/status_tooltip.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QWidget* hostWindow(QWidget* content, const QString& title, QSize size)
{
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setWindowTitle(title);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(window);
    layout->addWidget(content);
    window->resize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    return window;
}

void raise(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

namespace {

const QString kMainFrameKey = QStringLiteral("QuendaMainWindow");

} // namespace

ShellWindowHost::ShellWindowHost(AppState& state, AppCommands& commands, QSettings& settings,
                                 AccessibilityRepair* repair, QObject* parent, AppIcons* icons,
                                 OpenAIKeyStore* keys)
    : ShellWindows(parent)
    , m_state(state)
    , m_commands(commands)
    , m_settings(settings)
    , m_repair(repair)
    , m_icons(icons)
    , m_keys(keys)
{
}

ShellWindowHost::~ShellWindowHost()
{
    delete m_menu;
    delete m_onboarding;
    delete m_main;
}

bool ShellWindowHost::installStatusItem()
{
    if (m_tray)
        return true;
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_tray = new QSystemTrayIcon(this);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
            toggleMenu();
    });
    refreshStatusIcon();
    m_tray->show();
    return true;
}

void ShellWindowHost::refreshStatusIcon()
{
    if (!m_tray)
        return;
    const StatusIconLook look = StatusIconLook::of(m_state.phase(), m_state.availableRelease().has_value(),
                                                   m_state.dismissedUpdate());
    QIcon icon;
    for (const qreal scale : {1.0, 2.0})
        icon.addPixmap(QPixmap::fromImage(StatusIconArt::draw(look, scale)));
    m_tray->setIcon(icon);
    m_tray->setToolTip(
        StatusTooltip::text({.phase = m_state.phase(),
                             .handsFree = m_state.handsFree(),
                             .engine = m_state.engineState(),
                             .updateShown = m_state.availableRelease() && !m_state.dismissedUpdate(),
                             .hotkey = m_state.config().hotkey}));
}

void ShellWindowHost::showMain()
{
    if (!m_main) {
        m_main = hostWindow(new MainView(m_state, m_commands, m_repair, nullptr, m_icons, m_keys),
                            QStringLiteral("Morvane Quenda"), QSize(1000, 700));
        m_main->setMinimumSize(920, 620);
        m_main->restoreGeometry(m_settings.value(kMainFrameKey).toByteArray());
        m_main->installEventFilter(this);
        // Closed, the window gives back its page and its pixels; its frame comes back from the settings.
        m_main->setAttribute(Qt::WA_DeleteOnClose);
    }
    raise(m_main);
}

std::optional<quint64> ShellWindowHost::mainWindowHandle() const
{
    if (!m_main || !m_main->isVisible())
        return std::nullopt;
    return quint64(m_main->winId());
}

void ShellWindowHost::showOnboarding()
{
    if (!m_onboarding) {
        auto* view = new OnboardingView(m_state, m_commands, m_repair);
        const QSize size = view->windowSize();
        m_onboarding = hostWindow(view, L10n::s(QStringLiteral("onboarding.welcome")), size);
        m_onboarding->setFixedSize(size);
        // A hotkey route that fails once the window shows changes the notice's lines.
        connect(&m_state, &AppState::hotkeyRouteChanged, m_onboarding,
                [window = m_onboarding.data(), view] { window->setFixedSize(view->windowSize()); });
        m_onboarding->setAttribute(Qt::WA_DeleteOnClose);
        m_onboarding->installEventFilter(this);
    }
    raise(m_onboarding);
}

void ShellWindowHost::closeOnboarding()
{
    if (m_onboarding)
        m_onboarding->close();
}

bool ShellWindowHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_onboarding && event->type() == QEvent::Close)
        emit onboardingClosed();
    if (watched == m_main && event->type() == QEvent::Close)
        m_settings.setValue(kMainFrameKey, m_main->saveGeometry());
    // A picker's list opened inside the popover takes the keyboard too, and is no reason to close it.
    const bool away = event->type() == QEvent::WindowDeactivate && !QApplication::activePopupWidget();
    if (watched == m_menu && (away || (event->type() == QEvent::KeyPress &&
                                       static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)))
        m_menu->hide();
    return ShellWindows::eventFilter(watched, event);
}

void ShellWindowHost::closeMenu()
{
    if (m_menu)
        m_menu->hide();
}

bool ShellWindowHost::menuOpen() const
{
    return m_menu && m_menu->isVisible();
}

void ShellWindowHost::toggleMenu()
{
    if (m_menu && m_menu->isVisible()) {
        m_menu->hide();
        return;
    }
    if (!m_menu) {
        auto* view = new MenuBarView(m_state, m_commands);
        connect(view, &MenuBarView::quitRequested, this, &ShellWindowHost::quitRequested);
        m_menu = hostWindow(view, QStringLiteral("Quenda"), view->sizeHint());
        // Not a Qt::Popup: assistive tools never see one that no widget of ours opened. It closes as
        // a popup would, when another window takes the focus or on Escape.
        m_menu->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        m_menu->installEventFilter(this);
    }
    m_menu->adjustSize();
    const QRect trayArea = m_tray ? m_tray->geometry() : QRect();
    // Some trays report no geometry; the pointer is where the user just clicked.
    const QPoint anchor = trayArea.isValid() ? trayArea.bottomLeft() : QCursor::pos();
    QRect frame(anchor, m_menu->size());
    if (const QScreen* screen = QGuiApplication::screenAt(anchor)) {
        const QRect area = screen->availableGeometry();
        if (frame.bottom() > area.bottom())
            frame.moveBottom((trayArea.isValid() ? trayArea.top() : anchor.y()) - 1);
        if (frame.right() > area.right())
            frame.moveRight(area.right());
    }
    m_menu->move(frame.topLeft());
    emit menuOpening();
    m_menu->show();
    m_menu->raise();
    m_menu->activateWindow();
}
